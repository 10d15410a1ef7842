// The thumbnail grids for screen readers: each picture box answers for its accessible
// object, which reads the cells of the current list through the window, and the window
// tells of loads, tab changes and selections as they happen.
#include "Form1.h"

#include <exception>

#include "GridLayout.h"
#include "xmlRequests.h"

using mivo::ItemKind;

LRESULT Form1::GridGetObject(ItemKind kind, WPARAM wParam, LPARAM lParam) {
    // The object id is 32 bits; 64-bit Windows sign-extends it into lParam.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    Grid& grid = GridOf(kind);
    try {
        AccessibleCells& cells = kind == ItemKind::Display ? displayCells_ : emoticonCells_;
        if (!grid.accessible) grid.accessible = mivo::Make<mivo::AccessibleGrid>(cells);
    } catch (const std::exception&) {
        return 0;  // the system's plain object then stands for the grid
    }
    return ::LresultFromObject(IID_IAccessible, wParam, grid.accessible.Get());
}

// One list exists at a time, the visible tab's; the other grid shows none.
bool Form1::ShowsList(ItemKind kind) const { return currentTab_ == (kind == ItemKind::Display ? 0 : 1); }

void Form1::NotifyListChanged(ItemKind kind) {
    ::NotifyWinEvent(EVENT_OBJECT_REORDER, GridOf(kind).picture.hWnd(), OBJID_CLIENT, CHILDID_SELF);
}

void Form1::NotifySelection(ItemKind kind, long position) {
    ::NotifyWinEvent(EVENT_OBJECT_SELECTION, GridOf(kind).picture.hWnd(), OBJID_CLIENT, position);
}

// The focused cell, or the list itself when it has none.
void Form1::NotifyFocus(ItemKind kind) {
    const long place = Place(kind);
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, GridOf(kind).picture.hWnd(), OBJID_CLIENT, place > 0 ? place : CHILDID_SELF);
}

void Form1::DisconnectAccessibleGrids() noexcept {
    for (Grid* grid : {&display_, &emoticon_}) {
        if (!grid->accessible) continue;
        grid->accessible->Disconnect();
        grid->accessible.Reset();
    }
}

HWND Form1::AccessibleCells::Window() const { return form_.GridOf(kind_).picture.hWnd(); }

std::wstring Form1::AccessibleCells::Name() const {
    HWND frame = kind_ == ItemKind::Display ? form_.Frame1 : form_.FrameEmo1;
    wchar_t caption[256];
    const int n = ::GetWindowTextW(frame, caption, 256);
    return std::wstring(caption, static_cast<size_t>(n > 0 ? n : 0));
}

long Form1::AccessibleCells::Count() const {
    return form_.ShowsList(kind_) ? form_.catalogue.listItems.Count() : 0;
}

std::wstring Form1::AccessibleCells::CellName(long position) const {
    return form_.catalogue.listItems.Item(position)->Value;
}

bool Form1::AccessibleCells::CellSelected(long position) const {
    return form_.catalogue.listItems.Item(position)->selected;
}

RECT Form1::AccessibleCells::CellBox(long position) const {
    const std::shared_ptr<cListItem> item = form_.catalogue.listItems.Item(position);
    return mivo::HitBox(mivo::GeometryOf(kind_), item->left, item->top, item->itemwidth);
}

RECT Form1::AccessibleCells::Shown() const { return form_.ShownArea(kind_); }

long Form1::AccessibleCells::CellAt(POINT pixel) const {
    return Count() == 0 ? 0 : form_.CellAt(kind_, pixel.x, pixel.y);
}

void Form1::AccessibleCells::Select(long position) {
    form_.ScrollIntoView(kind_, position);
    form_.SelectCell(kind_, position);
}

void Form1::AccessibleCells::Install(long position) {
    form_.SelectCell(kind_, position);
    // The installer may show a window of its own and run messages: not inside a client's call.
    ::PostMessageW(form_.hwnd_, kInstallSelectedMessage, static_cast<WPARAM>(kind_), 0);
}

bool Form1::AccessibleCells::HasFocus() const { return form_.GridOf(kind_).picture.HasFocus(); }

long Form1::AccessibleCells::Focused() const { return form_.Place(kind_); }

void Form1::AccessibleCells::Focus(long position) { form_.FocusCell(kind_, position); }
