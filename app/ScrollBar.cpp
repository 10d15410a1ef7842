#include "ScrollBar.h"

#include <algorithm>

namespace mivo {

void ScrollBar::Create(HWND parent, const PixelRect& rect, int id) {
    hwnd_ = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, rect.left, rect.top,
                              rect.width, rect.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                              nullptr);
    Sync();
}

bool ScrollBar::Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }

void ScrollBar::Sync(bool redraw) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
    si.nMin = min_;
    si.nMax = max_;
    si.nPage = 0;
    si.nPos = value_;
    ::SetScrollInfo(hwnd_, SB_CTL, &si, redraw ? TRUE : FALSE);
}

void ScrollBar::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    const int old = value_;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    Sync();
    if (value_ != old && Change) Change();
}

void ScrollBar::Configure(int min, int max, int smallStep, int largeStep, bool enabled) {
    small_ = smallStep;
    large_ = largeStep;
    min_ = min;
    max_ = max;
    const int old = value_;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    Sync(false);
    SetEnabled(enabled);
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    if (value_ != old && Change) Change();
}

void ScrollBar::SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled ? TRUE : FALSE); }

void ScrollBar::SetValue(int value) {
    value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (value == value_) return;
    value_ = value;
    Sync();
    if (Change) Change();
}

void ScrollBar::OnScroll(int code, int thumbPos) {
    switch (code) {
        case SB_LINEUP: SetValue(value_ - small_); break;
        case SB_LINEDOWN: SetValue(value_ + small_); break;
        case SB_PAGEUP: SetValue(value_ - large_); break;
        case SB_PAGEDOWN: SetValue(value_ + large_); break;
        case SB_TOP: SetValue(min_); break;
        case SB_BOTTOM: SetValue(max_); break;
        case SB_THUMBPOSITION: SetValue(thumbPos); break;
        default: break;  // SB_THUMBTRACK: the grid moves when the thumb is released
    }
}

}  // namespace mivo
