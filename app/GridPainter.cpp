#include "GridPainter.h"

#include "PictureFile.h"
#include "CacheFiles.h"
#include "mivo/ScopedHandle.h"

namespace mivo {
namespace {
int LineHeight(HDC dc) {
    TEXTMETRICW tm{};
    return ::GetTextMetricsW(dc, &tm) ? tm.tmHeight + tm.tmExternalLeading : 64;
}
}  // namespace

int getTextWidth(HDC hdc, const std::wstring& text) {
    SIZE size{};
    if (!::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

int getTextHeight(HDC hdc, const std::wstring& text) {
    SIZE size{};
    if (!::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cy;
}

ThumbnailPainter::ThumbnailPainter(HDC dc, ItemKind kind, std::shared_ptr<cGDIP> gdip)
    : kind_(kind), geometry_(GeometryOf(kind)) {
    bitmap_.gdip = std::move(gdip);
    graphics_.CreateFromHdc(dc);
}

// The graphics object was made on the DC, not given one to hold: disposing it is all.
ThumbnailPainter::~ThumbnailPainter() { graphics_.Dispose(); }

void ThumbnailPainter::Draw(const cListItem& item, gdip::UniqueImage fresh) {
    if (!item.foto) return;
    gdip::UniqueImage image = std::move(fresh);
    if (!image) {
        const auto path = xmlRequests::CacheFilePath(kind_, item.id, item.filetype);
        if (!path) return;
        // Whatever stands in the cache, put there by an older version or by hand, gets the
        // same header check as a download before a decoder sees it; the decoder gets the
        // bytes that were checked, so the file is read once.
        image = LoadThumbnailImage(*path);
    }
    if (!image) return;
    bitmap_.Handle(image.release());
    graphics_.DrawImageRectI(bitmap_.Handle(), CentredX(item.left, item.itemwidth, geometry_.thumbnailSize),
                             item.top + geometry_.thumbnailTop, geometry_.thumbnailSize, geometry_.thumbnailSize);
    bitmap_.Dispose();
}

void PaintThumbnail(HDC dc, const cListItem& item, ItemKind kind, const RECT& area,
                    const std::shared_ptr<cGDIP>& gdip, gdip::UniqueImage fresh) {
    if (!CellMeets(GeometryOf(kind), item.top, LineHeight(dc), area)) return;
    ThumbnailPainter painter(dc, kind, gdip);
    painter.Draw(item, std::move(fresh));
}

void PaintThumbnails(HDC dc, const GridItems& items, ItemKind kind, const RECT& area,
                     const std::shared_ptr<cGDIP>& gdip) {
    if (items.Count() == 0) return;
    const GridGeometry& g = GeometryOf(kind);
    const int lineHeight = LineHeight(dc);
    ThumbnailPainter painter(dc, kind, gdip);
    // Thumbnails out of sight are not even loaded: they are drawn when they scroll in.
    const long count = items.Count();
    for (long i = 1; i <= count; ++i) {
        const std::shared_ptr<cListItem> item = items.Item(i);
        if (CellMeets(g, item->top, lineHeight, area)) painter.Draw(*item);
    }
}

void PaintGrid(HDC dc, const GridItems& items, ItemKind kind, const RECT& area, const std::shared_ptr<cGDIP>& gdip,
               long focused) {
    const GridGeometry& g = GeometryOf(kind);
    const int lineHeight = LineHeight(dc);
    const long count = items.Count();
    for (long i = 1; i <= count; ++i) {
        const std::shared_ptr<cListItem> item = items.Item(i);
        if (!CellMeets(g, item->top, lineHeight, area)) continue;
        if (item->selected) {
            const int tw = getTextWidth(dc, item->Value);
            const int th = getTextHeight(dc, item->Value);
            const RECT highlight = HighlightRect(g, item->left, item->top, item->itemwidth, tw, th);
            UniqueGdi<HBRUSH> brush(::CreateSolidBrush(RGB(228, 239, 254)));
            ::FillRect(dc, &highlight, brush.get());
        }
        // Captions are never clipped: a long one reaches beyond both sides of its cell.
        const int tw = getTextWidth(dc, item->Value);
        ::TextOutW(dc, CentredX(item->left, item->itemwidth, tw), item->top + g.captionTop, item->Value.c_str(),
                   static_cast<int>(item->Value.size()));
    }
    PaintThumbnails(dc, items, kind, area, gdip);
    if (focused >= 1 && focused <= count) {
        const std::shared_ptr<cListItem> item = items.Item(focused);
        if (CellMeets(g, item->top, lineHeight, area)) {
            const RECT box = HitBox(g, item->left, item->top, item->itemwidth);
            ::DrawFocusRect(dc, &box);
        }
    }
}

}  // namespace mivo
