#pragma once
// Layout of the two thumbnail grids: the cell of each item when a list arrives, the grid
// picture's height and its scroll range, and the geometry of what a cell draws. Cells are in
// pixels of the grid picture; heights go through twips, the picture box's scale unit, as the
// window's design sizes them.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "mivo/CatalogueUrls.h"
#include "mivo/Numbers.h"

namespace mivo {

struct GridLayout {
    int pitch;         // row pitch: top = row * pitch
    int heightFactor;  // picture height per two items
};

inline constexpr GridLayout kDisplayLayout{90, 100};
inline constexpr GridLayout kEmoticonLayout{55, 65};

constexpr const GridLayout& LayoutOf(ItemKind kind) {
    return kind == ItemKind::Display ? kDisplayLayout : kEmoticonLayout;
}

inline constexpr int kLeftColumn = 20;
inline constexpr int kScrollSmallChange = 20;
inline constexpr int kScrollLargeChange = 40;

// Items a list may hold: two a row, as many rows as leave the last top within 16 bits.
constexpr long MaxItems(const GridLayout& g) { return (INT16_MAX / g.pitch + 1) * 2L; }
static_assert(MaxItems(kDisplayLayout) == 730 && (MaxItems(kDisplayLayout) / 2 - 1) * 90 == 32760);
static_assert(MaxItems(kEmoticonLayout) == 1192 && (MaxItems(kEmoticonLayout) / 2 - 1) * 55 == 32725);

// Two cells and their margins share the picture's width.
inline std::int16_t CellWidth(int pictureWidthPixels) {
    return CheckedInt16(NearestEven((pictureWidthPixels - 80) / 2.0));
}

struct Cell {
    std::int16_t left, top;
};

// The cell of item i (0-based): left to right, two a row, in list order.
inline Cell CellOf(long i, std::int16_t itemwidth, const GridLayout& g) {
    return {CheckedInt16(i % 2 == 0 ? kLeftColumn : itemwidth + 40), CheckedInt16((i / 2) * g.pitch)};
}

struct GridSize {
    float pictureHeightTwips;
    bool scrolls;
    int scrollMax;  // pixels; 0 when the grid fits its frame
};

// The picture is as tall as count / 2 rows of heightFactor (an odd count takes half a row),
// in single precision twips, when that exceeds the frame; else one twip short of the frame.
inline GridSize SizeOf(long count, const GridLayout& g, int frameHeightPixels, double twipsPerPixel) {
    const float tpp = static_cast<float>(twipsPerPixel);
    const float needed = static_cast<float>(count) / 2.0f * static_cast<float>(g.heightFactor) * tpp;
    const float frame = static_cast<float>(frameHeightPixels) * tpp;
    if (needed > frame) return {needed, true, static_cast<int>(NearestEven((needed - frame) / tpp))};
    return {frame - 1, false, 0};
}

// Cell geometry: what a cell draws, in pixels of the grid's picture box.
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

// The pixels of a cell's hit box as a rectangle (right and bottom edges exclusive): what a
// click selects it at, where screen readers place it and what its focus rectangle frames.
inline RECT HitBox(const GridGeometry& g, int left, int top, int itemwidth) {
    return RECT{left + 1, top + 1, left + itemwidth, top + g.hitHeight};
}

// Within the cell's hit box.
inline bool HitsCell(const GridGeometry& g, int left, int top, int itemwidth, int px, int py) {
    const RECT box = HitBox(g, left, top, itemwidth);
    return px >= box.left && px < box.right && py >= box.top && py < box.bottom;
}

}  // namespace mivo
