// The thumbnail grids from the keyboard: each grid is a tab stop with a place, its focused
// cell. The keys move the place and select its cell through the click's own selection code;
// Enter installs as the tab's Add button does. The place is framed while the grid has the
// focus and Windows' keyboard cues allow it, and screen readers are told of it.
#include "Form1.h"

#include "GridKeys.h"
#include "GridLayout.h"
#include "xmlRequests.h"

using mivo::ItemKind;

void Form1::DisplayList_KeyDown(int keyCode) { GridKeyDown(ItemKind::Display, keyCode); }
void Form1::EmoticonList_KeyDown(int keyCode) { GridKeyDown(ItemKind::Emoticon, keyCode); }
void Form1::DisplayList_GotFocus() { GridGotFocus(ItemKind::Display); }
void Form1::DisplayList_LostFocus() { GridLostFocus(ItemKind::Display); }
void Form1::EmoticonList_GotFocus() { GridGotFocus(ItemKind::Emoticon); }
void Form1::EmoticonList_LostFocus() { GridLostFocus(ItemKind::Emoticon); }

long Form1::Place(ItemKind kind) const {
    const long count = ShowsList(kind) ? catalogue.listItems.Count() : 0;
    if (count == 0) return 0;
    const long place = (kind == ItemKind::Display ? display_ : emoticon_).place;
    return place >= 1 && place <= count ? place : 1;
}

long Form1::FocusShown(ItemKind kind) const {
    const mivo::PictureBox& box = (kind == ItemKind::Display ? display_ : emoticon_).picture;
    return box.HasFocus() && !box.FocusCuesHidden() ? Place(kind) : 0;
}

void Form1::GridKeyDown(ItemKind kind, int keyCode) {
    if (keyCode == VK_RETURN) {
        if (kind == ItemKind::Display) {
            cmdAddDisp_Click();
        } else {
            cmdAddEmoticon_Click();
        }
        return;
    }
    const long place = Place(kind);
    if (place == 0) return;
    const Grid& grid = GridOf(kind);
    const int rows = mivo::RowsInView(grid.FrameHeightPixels(), mivo::LayoutOf(kind).pitch);
    const long target = mivo::KeyTarget(static_cast<UINT>(keyCode), place, catalogue.listItems.Count(), rows);
    if (target == 0 || target == place) return;
    // The keyboard is in use: controls that hide their focus after mouse-only use show it now.
    ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    MovePlace(kind, target);
}

// A key's move and a click on a cell: the place goes first, so the repaint of the selection
// frames the new cell.
void Form1::MovePlace(ItemKind kind, long position) {
    GridOf(kind).place = position;
    SelectCell(kind, position);
    ScrollIntoView(kind, position);
    if (GridOf(kind).picture.HasFocus()) NotifyFocus(kind);
}

void Form1::GridGotFocus(ItemKind kind) {
    // Taking the focus leaves the selection alone: the place is the selected cell, else the first.
    Grid& grid = GridOf(kind);
    grid.place = 1;
    const long count = ShowsList(kind) ? catalogue.listItems.Count() : 0;
    for (long i = 1; i <= count; ++i) {
        if (catalogue.listItems.Item(i)->selected) {
            grid.place = i;
            break;
        }
    }
    InvalidateCell(kind, Place(kind));
    NotifyFocus(kind);
}

void Form1::GridLostFocus(ItemKind kind) { InvalidateCell(kind, Place(kind)); }

void Form1::FocusCuesChanged(ItemKind kind) {
    if (GridOf(kind).picture.HasFocus()) InvalidateCell(kind, Place(kind));
}

void Form1::FocusCell(ItemKind kind, long position) {
    Grid& grid = GridOf(kind);
    if (!grid.picture.HasFocus()) ::SetFocus(grid.picture.hWnd());
    const long old = Place(kind);
    if (old == position) return;
    grid.place = position;
    ScrollIntoView(kind, position);
    InvalidateCell(kind, old);
    InvalidateCell(kind, position);
    NotifyFocus(kind);
}

// The cell's frame is redrawn by the next paint, from a cleared background.
void Form1::InvalidateCell(ItemKind kind, long position) {
    if (position < 1 || position > catalogue.listItems.Count()) return;
    const std::shared_ptr<cListItem> item = catalogue.listItems.Item(position);
    const RECT box = mivo::HitBox(mivo::GeometryOf(kind), item->left, item->top, item->itemwidth);
    ::InvalidateRect(GridOf(kind).picture.hWnd(), &box, TRUE);
}
