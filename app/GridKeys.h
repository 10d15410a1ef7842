#pragma once
// Keyboard moves in a thumbnail grid: which cell a key takes the keyboard's place (the focused
// cell) to, from the grid's two columns and the rows its frame shows. Positions are 1-based,
// in list order.
#include <windows.h>

#include <algorithm>

namespace mivo {

inline constexpr int kGridColumns = 2;

// Whole rows the frame shows, at least one: the step of Page Up and Page Down.
constexpr int RowsInView(int frameHeightPixels, int pitch) { return (std::max)(frameHeightPixels / pitch, 1); }

// The cell the key moves the place to; 0 for a key the grid does not move by, or a move that
// would leave the list (Left, Right, Up, Down). Page keys stop at the first and last cells.
inline long KeyTarget(UINT key, long place, long count, int rowsInView) {
    if (count <= 0) return 0;
    const long page = static_cast<long>(kGridColumns) * (std::max)(rowsInView, 1);
    long to = 0;
    switch (key) {
        case VK_LEFT: to = place - 1; break;
        case VK_RIGHT: to = place + 1; break;
        case VK_UP: to = place - kGridColumns; break;
        case VK_DOWN: to = place + kGridColumns; break;
        case VK_HOME: return 1;
        case VK_END: return count;
        case VK_PRIOR: return (std::max)(place - page, 1L);
        case VK_NEXT: return (std::min)(place + page, count);
        default: return 0;
    }
    return to >= 1 && to <= count ? to : 0;
}

}  // namespace mivo
