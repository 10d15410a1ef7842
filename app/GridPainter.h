#pragma once
// Painting of a thumbnail grid on a device context: highlights and captions through GDI,
// thumbnails from the cache through the imaging layer. It draws only what it is given, so
// the window paints its picture box with it and a test can paint a memory DC.
#include <windows.h>

#include <memory>
#include <string>

#include "Collection.h"
#include "GdiplusOwners.h"
#include "GridLayout.h"
#include "cBitmap.h"
#include "cGraphics.h"
#include "cListItem.h"

namespace mivo {

using GridItems = Collection<std::shared_ptr<cListItem>>;

// Width and height in pixels of text drawn on the device context; 0 when it cannot be measured.
int getTextWidth(HDC hdc, const std::wstring& text);
int getTextHeight(HDC hdc, const std::wstring& text);

// One thumbnail pass: one bitmap and one graphics context on the device context, given back
// when the pass ends.
class ThumbnailPainter {
public:
    // gdip: the session the bitmap reports its failures to.
    ThumbnailPainter(HDC dc, ItemKind kind, std::shared_ptr<cGDIP> gdip);
    ~ThumbnailPainter();
    ThumbnailPainter(const ThumbnailPainter&) = delete;
    ThumbnailPainter& operator=(const ThumbnailPainter&) = delete;

    // Draws nothing for an item not yet looked for in the cache, or whose file is missing or
    // no picture within the thumbnail limits. fresh: the item's picture, already decoded from
    // its file; without it the file is read.
    void Draw(const cListItem& item, gdip::UniqueImage fresh = {});

private:
    ItemKind kind_;
    const GridGeometry& geometry_;
    cBitmap bitmap_;
    cGraphics graphics_;
};

// The thumbnail of one cell when its drawing reaches into area; a cell out of sight is drawn
// by the repaint that scrolls it in, and fresh, its picture if already decoded, is let go.
void PaintThumbnail(HDC dc, const cListItem& item, ItemKind kind, const RECT& area,
                    const std::shared_ptr<cGDIP>& gdip, gdip::UniqueImage fresh = {});

// The thumbnails of the cells whose drawing reaches into area (pixels of the device context).
void PaintThumbnails(HDC dc, const GridItems& items, ItemKind kind, const RECT& area,
                     const std::shared_ptr<cGDIP>& gdip);

// The full repaint of the cells that reach into area: each selected caption's highlight and
// every caption, in list order, then their thumbnails over them, and last the focus rectangle
// around the cell at position focused (1-based; 0 for none). The rectangle is drawn inverted,
// so the area must have been cleared first, as every repaint does.
void PaintGrid(HDC dc, const GridItems& items, ItemKind kind, const RECT& area, const std::shared_ptr<cGDIP>& gdip,
               long focused = 0);

}  // namespace mivo
