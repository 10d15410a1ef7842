// The thumbnail grids: full repaint, thumbnail passes, selection by mouse and scrolling.
#include "Form1.h"

#include "GridGeometry.h"
#include "ThumbnailCache.h"
#include "cBitmap.h"
#include "cGraphics.h"
#include "xmlRequests.h"
#include "mivo/ScopedHandle.h"

using namespace xmlRequests;
using mivo::ItemKind;

int Form1::getTextWidth(HDC hdc, const std::wstring& text) {
    SIZE size{};
    if (!::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

int Form1::getTextHeight(HDC hdc, const std::wstring& text) {
    SIZE size{};
    if (!::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cy;
}

void Form1::drawDispItem() { DrawGrid(ItemKind::Display); }
void Form1::drawEmoItem() { DrawGrid(ItemKind::Emoticon); }
void Form1::lstDispViewOnPaint(const std::wstring& key) { ThumbnailPass(ItemKind::Display, key); }
void Form1::lstEmoViewOnPaint(const std::wstring& key) { ThumbnailPass(ItemKind::Emoticon, key); }
void Form1::DisplayList_Paint() { drawDispItem(); }
void Form1::EmoticonList_Paint() { drawEmoItem(); }

void Form1::DrawGrid(ItemKind kind) {
    const mivo::GridGeometry& g = mivo::GeometryOf(kind);
    if (listItems.Count() > 0) {
        HDC dc = GridOf(kind).picture.hDC();
        const long count = listItems.Count();
        for (long i = 1; i <= count; ++i) {
            const std::shared_ptr<cListItem> item = listItems.Item(i);
            if (item->selected) {
                const int tw = getTextWidth(dc, item->Value);
                const int th = getTextHeight(dc, item->Value);
                const RECT highlight = mivo::HighlightRect(g, item->left, item->top, item->itemwidth, tw, th);
                mivo::UniqueGdi<HBRUSH> brush(::CreateSolidBrush(RGB(228, 239, 254)));
                ::FillRect(dc, &highlight, brush.get());
            }
            // Captions are never clipped: a long one reaches beyond both sides of its cell.
            const int tw = getTextWidth(dc, item->Value);
            ::TextOutW(dc, mivo::CentredX(item->left, item->itemwidth, tw), item->top + g.captionTop,
                       item->Value.c_str(), static_cast<int>(item->Value.size()));
        }
    }
    ThumbnailPass(kind, std::wstring());
}

void Form1::ThumbnailPass(ItemKind kind, const std::wstring& key) {
    if (listItems.Count() == 0) return;
    const mivo::GridGeometry& g = mivo::GeometryOf(kind);
    auto paint = [&] {
        cBitmap bitmap;
        bitmap.gdip = gdip;
        cGraphics graphics;
        graphics.CreateFromHWND(GridOf(kind).picture.hWnd());
        auto drawItem = [&](const cListItem& item) {
            if (!item.foto) return;
            const auto path = CacheFilePath(kind, item.id, item.filetype);
            if (!path || !CacheFileExists(*path)) return;
            bitmap.LoadFromFile(*path);
            graphics.DrawImageRectI(bitmap.Handle(), mivo::CentredX(item.left, item.itemwidth, g.thumbnailSize),
                                    item.top + g.thumbnailTop, g.thumbnailSize, g.thumbnailSize);
            bitmap.Dispose();
        };
        if (key.empty()) {
            const long count = listItems.Count();
            for (long i = 1; i <= count; ++i) drawItem(*listItems.Item(i));
        } else {
            drawItem(*listItems.Item(key));
        }
        graphics.ReleaseDC();
        graphics.Dispose();
    };
    if (!key.empty()) {
        // One cell, called from the thumbnail pass: a key no longer listed, or any other
        // failure, ends it quietly.
        try {
            paint();
        } catch (const std::exception&) {
        }
        return;
    }
    paint();
}

void Form1::DisplayList_MouseDown(int, int, float, float) { dispDblClicked = false; }
void Form1::EmoticonList_MouseDown(int, int, float, float) { emoDblClicked = false; }
void Form1::DisplayList_MouseUp(int, int, float x, float y) { GridMouseUp(ItemKind::Display, x, y); }
void Form1::EmoticonList_MouseUp(int, int, float x, float y) { GridMouseUp(ItemKind::Emoticon, x, y); }

void Form1::GridMouseUp(ItemKind kind, float x, float y) {
    if (listItems.Count() == 0) return;
    const mivo::GridGeometry& g = mivo::GeometryOf(kind);
    // The position is on the picture box itself, so scrolling does not enter the test.
    const int px = static_cast<int>(mivo::NearestEven(x / mivo::TwipsPerPixelX()));
    const int py = static_cast<int>(mivo::NearestEven(y / mivo::TwipsPerPixelY()));
    std::shared_ptr<cListItem> hit;
    const long count = listItems.Count();
    for (long i = 1; i <= count && !hit; ++i) {
        const std::shared_ptr<cListItem> item = listItems.Item(i);
        if (mivo::HitsCell(g, item->left, item->top, item->itemwidth, px, py)) hit = item;
    }
    if (!hit) return;
    deselectAll();
    hit->selected = true;
    GridOf(kind).picture.Cls();
    if (kind == ItemKind::Display) {
        drawDispItem();
        installDispOnDblClick(hit->id);
    } else {
        drawEmoItem();
        installEmoOnDblClick(hit->id);
    }
}

void Form1::scrollDisplay_Change() { DisplayList.SetTopPixels(-scrollDisplay.Value()); }
void Form1::scrollEmoticon_Change() { EmoticonList.SetTopPixels(-scrollEmoticon.Value()); }
