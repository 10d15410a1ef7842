#pragma once
// Owners of GDI+ flat-API objects, on the project's one owner template.
#include "GdiPlus.h"
#include "mivo/ScopedHandle.h"

namespace mivo::gdip {

template <typename T, GpStatus (WINGDIPAPI* Delete)(T*)>
struct GdipTraits {
    static T* invalid() noexcept { return nullptr; }
    static void close(T* p) noexcept { Delete(p); }
};

using UniqueImage = UniqueResource<GpImage*, GdipTraits<GpImage, GdipDisposeImage>>;
using UniqueFont = UniqueResource<GpFont*, GdipTraits<GpFont, GdipDeleteFont>>;
using UniqueFontFamily = UniqueResource<GpFontFamily*, GdipTraits<GpFontFamily, GdipDeleteFontFamily>>;
using UniqueBrush = UniqueResource<GpBrush*, GdipTraits<GpBrush, GdipDeleteBrush>>;
using UniqueStringFormat = UniqueResource<GpStringFormat*, GdipTraits<GpStringFormat, GdipDeleteStringFormat>>;
using UniqueImageAttributes =
    UniqueResource<GpImageAttributes*, GdipTraits<GpImageAttributes, GdipDisposeImageAttributes>>;

// A graphics context and the device context it may have lent out: the lent DC goes back
// before the context is deleted, which GDI+ requires (a busy context is not deleted).
struct GraphicsContext {
    GpGraphics* graphics = nullptr;
    HDC dc = nullptr;
    bool operator==(const GraphicsContext& o) const noexcept { return graphics == o.graphics && dc == o.dc; }
    bool operator!=(const GraphicsContext& o) const noexcept { return !(*this == o); }
};
struct GraphicsContextTraits {
    static GraphicsContext invalid() noexcept { return {}; }
    static void close(GraphicsContext c) noexcept {
        if (c.dc) GdipReleaseDC(c.graphics, c.dc);
        if (c.graphics) GdipDeleteGraphics(c.graphics);
    }
};
using UniqueGraphics = UniqueResource<GraphicsContext, GraphicsContextTraits>;

}  // namespace mivo::gdip
