#pragma once
// A vertical scroll bar with a value range, small and large steps and a Change event that
// fires when the value changes: by an arrow, the trough, the released thumb, or a new
// range that forces the value into it. Dragging the thumb changes nothing until release.
#include <windows.h>

#include <functional>

#include "Twips.h"

namespace mivo {

class ScrollBar {
public:
    void Create(HWND parent, const PixelRect& rect, int id);
    HWND hWnd() const { return hwnd_; }

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    int SmallChange() const { return small_; }
    int LargeChange() const { return large_; }
    bool Enabled() const;

    void SetRange(int min, int max);
    void SetSmallChange(int step) { small_ = step; }
    void SetLargeChange(int step) { large_ = step; }
    void SetEnabled(bool enabled);
    void SetValue(int value);
    // Range, steps and enabled state at once, with one redraw of the bar instead of one per
    // change; Change fires as SetRange fires it.
    void Configure(int min, int max, int smallStep, int largeStep, bool enabled);

    // WM_VSCROLL from the control.
    void OnScroll(int code, int thumbPos);

    std::function<void()> Change;

private:
    void Sync(bool redraw = true);

    HWND hwnd_ = nullptr;
    int min_ = 0, max_ = 32767, value_ = 0, small_ = 1, large_ = 1;
};

}  // namespace mivo
