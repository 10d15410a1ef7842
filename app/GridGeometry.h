#pragma once
// Cell geometry of the two thumbnail grids, in pixels of the grid's picture box.
#include <windows.h>

#include <algorithm>

#include "mivo/CatalogueUrls.h"
#include "mivo/Numbers.h"

namespace mivo {

struct GridGeometry {
    int thumbnailSize;    // square
    int thumbnailTop;     // offset of the thumbnail below the cell's top
    int captionTop;       // offset of the caption
    int highlightTop;     // offset of the highlight's top edge
    int hitHeight;        // height of a cell's hit box
};

inline const GridGeometry& GeometryOf(ItemKind kind) {
    static const GridGeometry display{64, 15, 80, 77, 93};
    static const GridGeometry emoticon{24, 15, 40, 37, 55};
    return kind == ItemKind::Display ? display : emoticon;
}

// x of something w pixels wide centred in a cell.
inline int CentredX(int left, int itemwidth, int w) {
    return static_cast<int>(NearestEven(left + (itemwidth - w) / 2.0));
}

// The highlight behind a caption tw x th pixels in the cell at (left, top); right and bottom
// edges exclusive.
inline RECT HighlightRect(const GridGeometry& g, int left, int top, int itemwidth, int tw, int th) {
    const double x0 = left + (itemwidth - tw) / 2.0;
    return RECT{static_cast<LONG>(NearestEven(x0 - 5)), top + g.highlightTop,
                static_cast<LONG>(NearestEven(x0 + tw + 5)), top + g.captionTop + th + 3};
}

// Whether a cell's drawing reaches into the rows of area: its thumbnail, or its highlight and
// a caption of lineHeight, taken twice over for glyphs that reach beyond their line. Columns
// are not tested: a caption may reach across the whole grid.
inline bool CellMeets(const GridGeometry& g, int top, int lineHeight, const RECT& area) {
    const int bottom = top + (std::max)(g.thumbnailTop + g.thumbnailSize, g.captionTop + 2 * lineHeight + 3);
    return bottom > area.top && top < area.bottom;
}

// Strictly inside the cell's hit box.
inline bool HitsCell(const GridGeometry& g, int left, int top, int itemwidth, int px, int py) {
    return px > left && px < left + itemwidth && py > top && py < top + g.hitHeight;
}

}  // namespace mivo
