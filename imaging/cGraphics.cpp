#include "cGraphics.h"

#include "cFont.h"

using namespace mivo::gdip;

void cGraphics::HoldDC(HDC hdc) {
    // Swaps the DC in place: neither the context nor a DC is given back here.
    GraphicsContext context = handle_.release();
    context.dc = hdc;
    handle_.reset(context);
}

long cGraphics::TakeContext(GpStatus status, GpGraphics* graphics) {
    // Whatever a failed call left in its out parameter is not a context of ours.
    handle_.reset({status == Ok ? graphics : nullptr, nullptr});
    return CheckStatus(status);
}

long cGraphics::CreateFromHWND(HWND lHwnd) {
    GpGraphics* graphics = nullptr;
    GpStatus status = GdipCreateFromHWND(lHwnd, &graphics);
    return TakeContext(status, graphics);
}

long cGraphics::CreateFromHdc(HDC lHdc) {
    GpGraphics* graphics = nullptr;
    GpStatus status = GdipCreateFromHDC(lHdc, &graphics);
    return TakeContext(status, graphics);
}

long cGraphics::GetGraphicsContext(GpImage* lBitmap) {
    GpGraphics* graphics = nullptr;
    GpStatus status = GdipGetImageGraphicsContext(lBitmap, &graphics);
    return TakeContext(status, graphics);
}

void cGraphics::Dispose() {
    if (HeldDC()) ReleaseDC();
    handle_.reset();
}

long cGraphics::Clear() { return CheckStatus(GdipGraphicsClear(Handle(), 0x00FFFFFF)); }

long cGraphics::DrawImageI(GpImage* lBmpHandle, long X, long Y) {
    return CheckStatus(GdipDrawImageI(Handle(), lBmpHandle, X, Y));
}

long cGraphics::DrawImageRectI(GpImage* lBmpHandle, long X, long Y, long lWidth, long lHeight) {
    return CheckStatus(GdipDrawImageRectI(Handle(), lBmpHandle, X, Y, lWidth, lHeight));
}

long cGraphics::DrawImageRectRectI(GpImage* lBmpHandle, long dstx, long dsty, long lDstWidth,
                                   long lDstHeight, long srcx, long srcy, long lSrcWidth,
                                   long lSrcHeight) {
    return DrawImageRectRectIAttr(lBmpHandle, dstx, dsty, lDstWidth, lDstHeight, srcx, srcy,
                                  lSrcWidth, lSrcHeight, nullptr);
}

long cGraphics::DrawImageRectRectIAttr(GpImage* lBmpHandle, long dstx, long dsty,
                                       long lDstWidth, long lDstHeight, long srcx, long srcy,
                                       long lSrcWidth, long lSrcHeight,
                                       GpImageAttributes* lAttribute) {
    return CheckStatus(GdipDrawImageRectRectI(Handle(), lBmpHandle, dstx, dsty, lDstWidth,
                                              lDstHeight, srcx, srcy, lSrcWidth, lSrcHeight,
                                              UnitPixel, lAttribute, nullptr, nullptr));
}

long cGraphics::DrawString(const std::wstring& sText, ARGB lColor, const cFont& oFont,
                           long lLeft, long lTop) {
    // A zero-sized layout box: the text is neither wrapped nor clipped.
    const RectF layout(static_cast<REAL>(lLeft), static_cast<REAL>(lTop), 0.0f, 0.0f);
    // A failed brush or format shows up as the draw's own failure.
    GpSolidFill* fill = nullptr;
    GdipCreateSolidFill(lColor, &fill);
    const UniqueBrush brush(fill);
    GpStringFormat* generic = nullptr;
    GdipStringFormatGetGenericDefault(&generic);
    const UniqueStringFormat format(generic);
    return CheckStatus(GdipDrawString(Handle(), sText.c_str(), static_cast<INT>(sText.size()),
                                      oFont.Handle(), &layout, format.get(), brush.get()));
}

HDC cGraphics::GetDC() {
    if (HeldDC()) return HeldDC();
    HDC hdc = nullptr;
    if (CheckStatus(GdipGetDC(Handle(), &hdc)) == 0) HoldDC(hdc);
    return HeldDC();
}

void cGraphics::ReleaseDC() {
    CheckStatus(GdipReleaseDC(Handle(), HeldDC()));
    HoldDC(nullptr);
}

long cGraphics::ResetTransform() { return CheckStatus(GdipResetWorldTransform(Handle())); }

long cGraphics::RotateTransform(float sngAngle, MatrixOrder eOrder) {
    return CheckStatus(GdipRotateWorldTransform(Handle(), sngAngle, eOrder));
}

long cGraphics::TranslateTransform(float dx, float dy, MatrixOrder eOrder) {
    return CheckStatus(GdipTranslateWorldTransform(Handle(), dx, dy, eOrder));
}

long cGraphics::SetInterpolationMode(InterpolationMode eMode) {
    return CheckStatus(GdipSetInterpolationMode(Handle(), eMode));
}

long cGraphics::SetTextRenderingHint(TextRenderingHint eHint) {
    return CheckStatus(GdipSetTextRenderingHint(Handle(), eHint));
}
