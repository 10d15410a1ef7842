#include "cGraphics.h"

#include "cFont.h"

#include <utility>

using namespace mivo::gdip;

namespace {

class ScopedBrush {
public:
    explicit ScopedBrush(ARGB colour) { GdipCreateSolidFill(colour, &brush_); }
    ~ScopedBrush() {
        if (brush_) GdipDeleteBrush(brush_);
    }
    ScopedBrush(const ScopedBrush&) = delete;
    ScopedBrush& operator=(const ScopedBrush&) = delete;
    GpBrush* get() const { return brush_; }

private:
    GpSolidFill* brush_ = nullptr;
};

class ScopedStringFormat {
public:
    ScopedStringFormat() { GdipStringFormatGetGenericDefault(&format_); }
    ~ScopedStringFormat() {
        if (format_) GdipDeleteStringFormat(format_);
    }
    ScopedStringFormat(const ScopedStringFormat&) = delete;
    ScopedStringFormat& operator=(const ScopedStringFormat&) = delete;
    GpStringFormat* get() const { return format_; }

private:
    GpStringFormat* format_ = nullptr;
};

}  // namespace

cGraphics::~cGraphics() { Release(); }

cGraphics::cGraphics(cGraphics&& other) noexcept
    : gdip(std::move(other.gdip)),
      handle_(std::exchange(other.handle_, nullptr)),
      hdc_(std::exchange(other.hdc_, nullptr)),
      curErr_(std::exchange(other.curErr_, 0)) {}

cGraphics& cGraphics::operator=(cGraphics&& other) noexcept {
    if (this != &other) {
        Release();
        gdip = std::move(other.gdip);
        handle_ = std::exchange(other.handle_, nullptr);
        hdc_ = std::exchange(other.hdc_, nullptr);
        curErr_ = std::exchange(other.curErr_, 0);
    }
    return *this;
}

void cGraphics::Release() noexcept {
    // The device context goes back before the context that lent it is deleted.
    if (handle_ && hdc_) GdipReleaseDC(handle_, hdc_);
    hdc_ = nullptr;
    if (handle_) GdipDeleteGraphics(std::exchange(handle_, nullptr));
}

long cGraphics::CheckStatus(long status) {
    curErr_ = status;
    if (status != 0 && gdip) gdip->Error(status, L"cGraphics");
    return curErr_;
}

long cGraphics::TakeContext(GpStatus status, GpGraphics* graphics) {
    Release();
    // Whatever a failed call left in its out parameter is not a context of ours.
    handle_ = status == Ok ? graphics : nullptr;
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
    if (hdc_) ReleaseDC();
    if (handle_) GdipDeleteGraphics(std::exchange(handle_, nullptr));
}

long cGraphics::Clear() { return CheckStatus(GdipGraphicsClear(handle_, 0x00FFFFFF)); }

long cGraphics::DrawImageI(GpImage* lBmpHandle, long X, long Y) {
    return CheckStatus(GdipDrawImageI(handle_, lBmpHandle, X, Y));
}

long cGraphics::DrawImageRectI(GpImage* lBmpHandle, long X, long Y, long lWidth, long lHeight) {
    return CheckStatus(GdipDrawImageRectI(handle_, lBmpHandle, X, Y, lWidth, lHeight));
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
    return CheckStatus(GdipDrawImageRectRectI(handle_, lBmpHandle, dstx, dsty, lDstWidth,
                                              lDstHeight, srcx, srcy, lSrcWidth, lSrcHeight,
                                              UnitPixel, lAttribute, nullptr, nullptr));
}

long cGraphics::DrawString(const std::wstring& sText, ARGB lColor, const cFont& oFont,
                           long lLeft, long lTop) {
    // A zero-sized layout box: the text is neither wrapped nor clipped.
    const RectF layout(static_cast<REAL>(lLeft), static_cast<REAL>(lTop), 0.0f, 0.0f);
    // A failed brush or format shows up as the draw's own failure.
    ScopedBrush brush(lColor);
    ScopedStringFormat format;
    return CheckStatus(GdipDrawString(handle_, sText.c_str(), static_cast<INT>(sText.size()),
                                      oFont.Handle(), &layout, format.get(), brush.get()));
}

HDC cGraphics::GetDC() {
    if (hdc_) return hdc_;
    HDC hdc = nullptr;
    if (CheckStatus(GdipGetDC(handle_, &hdc)) == 0) hdc_ = hdc;
    return hdc_;
}

void cGraphics::ReleaseDC() {
    CheckStatus(GdipReleaseDC(handle_, hdc_));
    hdc_ = nullptr;
}

long cGraphics::ResetTransform() { return CheckStatus(GdipResetWorldTransform(handle_)); }

long cGraphics::RotateTransform(float sngAngle, MatrixOrder eOrder) {
    return CheckStatus(GdipRotateWorldTransform(handle_, sngAngle, eOrder));
}

long cGraphics::TranslateTransform(float dx, float dy, MatrixOrder eOrder) {
    return CheckStatus(GdipTranslateWorldTransform(handle_, dx, dy, eOrder));
}

long cGraphics::SetInterpolationMode(InterpolationMode eMode) {
    return CheckStatus(GdipSetInterpolationMode(handle_, eMode));
}

long cGraphics::SetTextRenderingHint(TextRenderingHint eHint) {
    return CheckStatus(GdipSetTextRenderingHint(handle_, eHint));
}
