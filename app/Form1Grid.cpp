// The thumbnail grids: full repaint, thumbnail passes, selection by mouse and scrolling.
#include "Form1.h"

#include <algorithm>

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
void Form1::lstDispViewOnPaint(const std::wstring& key, bool fileFound) {
    ThumbnailPass(ItemKind::Display, key, nullptr, fileFound);
}
void Form1::lstEmoViewOnPaint(const std::wstring& key, bool fileFound) {
    ThumbnailPass(ItemKind::Emoticon, key, nullptr, fileFound);
}
void Form1::DisplayList_Paint() { drawDispItem(); }
void Form1::EmoticonList_Paint() { drawEmoItem(); }

RECT Form1::VisibleArea(ItemKind kind) {
    Grid& grid = GridOf(kind);
    HWND box = grid.picture.hWnd();
    RECT area;
    ::GetClientRect(box, &area);
    RECT frame;
    ::GetClientRect(grid.frame, &frame);
    ::MapWindowPoints(grid.frame, box, reinterpret_cast<POINT*>(&frame), 2);
    RECT seen{};
    ::IntersectRect(&seen, &area, &frame);
    if (const RECT* update = grid.picture.PaintArea()) {
        area = seen;
        ::IntersectRect(&seen, &area, update);
    }
    return seen;
}

namespace {
// Rows of the picture box that a cell's drawing can reach, from the cell's top: thumbnail,
// highlight and caption, with a caption's full line height twice over for glyphs that reach
// beyond it. Columns are not tested: a caption may reach across the whole grid.
bool CellMeets(const mivo::GridGeometry& g, int top, int lineHeight, const RECT& area) {
    const int bottom = top + std::max(g.thumbnailTop + g.thumbnailSize, g.captionTop + 2 * lineHeight + 3);
    return bottom > area.top && top < area.bottom;
}

int LineHeight(HDC dc) {
    TEXTMETRICW tm{};
    return ::GetTextMetricsW(dc, &tm) ? tm.tmHeight + tm.tmExternalLeading : 64;
}
}  // namespace

void Form1::DrawGrid(ItemKind kind) { DrawGrid(kind, VisibleArea(kind)); }

void Form1::DrawGrid(ItemKind kind, const RECT& area) {
    const mivo::GridGeometry& g = mivo::GeometryOf(kind);
    if (listItems.Count() > 0) {
        HDC dc = GridOf(kind).picture.hDC();
        const int lineHeight = LineHeight(dc);
        const long count = listItems.Count();
        for (long i = 1; i <= count; ++i) {
            const std::shared_ptr<cListItem> item = listItems.Item(i);
            if (!CellMeets(g, item->top, lineHeight, area)) continue;
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
    ThumbnailPass(kind, std::wstring(), &area);
}

void Form1::ThumbnailPass(ItemKind kind, const std::wstring& key, const RECT* area, bool fileFound) {
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
            if (!path || (!fileFound && !CacheFileExists(*path))) return;
            bitmap.LoadFromFile(*path);
            graphics.DrawImageRectI(bitmap.Handle(), mivo::CentredX(item.left, item.itemwidth, g.thumbnailSize),
                                    item.top + g.thumbnailTop, g.thumbnailSize, g.thumbnailSize);
            bitmap.Dispose();
        };
        if (key.empty()) {
            // Thumbnails out of sight are not even loaded: they are drawn when they scroll in.
            const RECT seen = area ? *area : VisibleArea(kind);
            const int lineHeight = LineHeight(GridOf(kind).picture.hDC());
            const long count = listItems.Count();
            for (long i = 1; i <= count; ++i) {
                const std::shared_ptr<cListItem> item = listItems.Item(i);
                if (CellMeets(g, item->top, lineHeight, seen)) drawItem(*item);
            }
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
