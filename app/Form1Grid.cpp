// The thumbnail grids: full repaint, thumbnail passes, selection by mouse and scrolling.
// The keyboard's side is Form1Keyboard.cpp.
#include "Form1.h"

#include "GridLayout.h"
#include "GridPainter.h"
#include "xmlRequests.h"

using namespace xmlRequests;
using mivo::ItemKind;

void Form1::drawDispItem() { DrawGrid(ItemKind::Display); }
void Form1::drawEmoItem() { DrawGrid(ItemKind::Emoticon); }
void Form1::lstDispViewOnPaint(const std::wstring& key, mivo::gdip::UniqueImage fresh) {
    ThumbnailPass(ItemKind::Display, key, std::move(fresh));
}
void Form1::lstEmoViewOnPaint(const std::wstring& key, mivo::gdip::UniqueImage fresh) {
    ThumbnailPass(ItemKind::Emoticon, key, std::move(fresh));
}
void Form1::DisplayList_Paint() { drawDispItem(); }
void Form1::EmoticonList_Paint() { drawEmoItem(); }

RECT Form1::ShownArea(ItemKind kind) {
    Grid& grid = GridOf(kind);
    HWND box = grid.picture.hWnd();
    RECT area;
    ::GetClientRect(box, &area);
    RECT frame;
    ::GetClientRect(grid.frame, &frame);
    ::MapWindowPoints(grid.frame, box, reinterpret_cast<POINT*>(&frame), 2);
    RECT seen{};
    ::IntersectRect(&seen, &area, &frame);
    return seen;
}

RECT Form1::VisibleArea(ItemKind kind) {
    RECT seen = ShownArea(kind);
    if (const RECT* update = GridOf(kind).picture.PaintArea()) {
        const RECT area = seen;
        ::IntersectRect(&seen, &area, update);
    }
    return seen;
}

// The full repaint of the cells that can be seen.
void Form1::DrawGrid(ItemKind kind) {
    mivo::PaintGrid(GridOf(kind).picture.hDC(), catalogue.listItems, kind, VisibleArea(kind), gdip, FocusShown(kind));
}

void Form1::ThumbnailPass(ItemKind kind, const std::wstring& key, mivo::gdip::UniqueImage fresh) {
    HDC dc = GridOf(kind).picture.hDC();
    if (key.empty()) {
        mivo::PaintThumbnails(dc, catalogue.listItems, kind, VisibleArea(kind), gdip);
        return;
    }
    // One cell, called from the thumbnail pass: a key no longer listed paints nothing, and a
    // cell out of sight is not decoded for pixels nobody sees.
    try {
        if (catalogue.listItems.Count() == 0) return;
        mivo::PaintThumbnail(dc, *catalogue.listItems.Item(key), kind, VisibleArea(kind), gdip, std::move(fresh));
    } catch (const mivo::KeyError&) {
    }
}

// A press gives the grid the focus, as lists and buttons take it.
void Form1::DisplayList_MouseDown(int, int, float, float) {
    dispDblClicked = false;
    ::SetFocus(DisplayList.hWnd());
}
void Form1::EmoticonList_MouseDown(int, int, float, float) {
    emoDblClicked = false;
    ::SetFocus(EmoticonList.hWnd());
}
void Form1::DisplayList_MouseUp(int, int, float x, float y) { GridMouseUp(ItemKind::Display, x, y); }
void Form1::EmoticonList_MouseUp(int, int, float x, float y) { GridMouseUp(ItemKind::Emoticon, x, y); }

void Form1::GridMouseUp(ItemKind kind, float x, float y) {
    if (catalogue.listItems.Count() == 0) return;
    // The position is on the picture box itself, so scrolling does not enter the test.
    const long position = CellAt(kind, mivo::TwipsToPixelsX(x), mivo::TwipsToPixelsY(y));
    if (position == 0) return;
    const std::shared_ptr<cListItem> hit = catalogue.listItems.Item(position);
    // The clicked cell is the keyboard's place from now on.
    GridOf(kind).place = position;
    SelectCell(kind, position);
    if (GridOf(kind).picture.HasFocus()) NotifyFocus(kind);
    if (kind == ItemKind::Display) {
        installDispOnDblClick(hit->id);
    } else {
        installEmoOnDblClick(hit->id);
    }
}

long Form1::CellAt(ItemKind kind, int px, int py) {
    const mivo::GridGeometry& g = mivo::GeometryOf(kind);
    const long count = catalogue.listItems.Count();
    for (long i = 1; i <= count; ++i) {
        const std::shared_ptr<cListItem> item = catalogue.listItems.Item(i);
        if (mivo::HitsCell(g, item->left, item->top, item->itemwidth, px, py)) return i;
    }
    return 0;
}

void Form1::SelectCell(ItemKind kind, long position) {
    deselectAll(catalogue);
    catalogue.listItems.Item(position)->selected = true;
    GridOf(kind).picture.Cls();
    if (kind == ItemKind::Display) {
        drawDispItem();
    } else {
        drawEmoItem();
    }
    NotifySelection(kind, position);
}

// Scrolls as little as brings the cell's hit box wholly into its frame.
void Form1::ScrollIntoView(ItemKind kind, long position) {
    Grid& grid = GridOf(kind);
    const std::shared_ptr<cListItem> item = catalogue.listItems.Item(position);
    const int top = item->top, bottom = top + mivo::GeometryOf(kind).hitHeight;
    const int shown = grid.FrameHeightPixels();
    const int value = grid.scroll.Value();
    if (top < value) {
        grid.scroll.SetValue(top);
    } else if (bottom > value + shown) {
        grid.scroll.SetValue(bottom - shown);
    }
}

void Form1::scrollDisplay_Change() { DisplayList.SetTopPixels(-scrollDisplay.Value()); }
void Form1::scrollEmoticon_Change() { EmoticonList.SetTopPixels(-scrollEmoticon.Value()); }
