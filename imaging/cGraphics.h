#pragma once
// One GDI+ graphics context on a window, a device context or an image: draws images and
// text and sets the transform and rendering modes.
#include "GdiplusOwners.h"
#include "cGDIP.h"

#include <memory>
#include <string>

class cFont;

class cGraphics {
public:
    // Where failures are reported; empty = recorded in CurErr only.
    std::shared_ptr<cGDIP> gdip;

    // Destruction gives back a held device context, then the context.
    cGraphics() = default;
    cGraphics(cGraphics&&) noexcept = default;
    cGraphics& operator=(cGraphics&&) noexcept = default;

    // Fills with white at alpha 0 (fully transparent).
    long Clear();
    // Each create gives back the context held before and takes what GDI+ returned.
    long CreateFromHdc(HDC lHdc);
    long CreateFromHWND(HWND lHwnd);
    long GetGraphicsContext(Gdiplus::GpImage* lBitmap);
    long CurErr() const { return curErr_; }
    void Dispose();
    long DrawImageI(Gdiplus::GpImage* lBmpHandle, long X, long Y);
    // The whole image scaled into the rectangle.
    long DrawImageRectI(Gdiplus::GpImage* lBmpHandle, long X, long Y, long lWidth, long lHeight);
    // Source rectangle in pixels.
    long DrawImageRectRectI(Gdiplus::GpImage* lBmpHandle, long dstx, long dsty, long lDstWidth,
                            long lDstHeight, long srcx, long srcy, long lSrcWidth,
                            long lSrcHeight);
    long DrawImageRectRectIAttr(Gdiplus::GpImage* lBmpHandle, long dstx, long dsty,
                                long lDstWidth, long lDstHeight, long srcx, long srcy,
                                long lSrcWidth, long lSrcHeight,
                                Gdiplus::GpImageAttributes* lAttribute);
    // lColor is ARGB; the text starts at (lLeft, lTop) and is not wrapped.
    long DrawString(const std::wstring& sText, Gdiplus::ARGB lColor, const cFont& oFont,
                    long lLeft = 0, long lTop = 0);
    // Holds the context's device context until ReleaseDC and returns it (nullptr when
    // GDI+ refuses, with the status recorded). A DC already held is returned again.
    HDC GetDC();
    Gdiplus::GpGraphics* Handle() const { return handle_.get().graphics; }
    // Gives the held device context back; GDI+ is asked even when none is held, and its
    // answer is recorded.
    void ReleaseDC();
    long ResetTransform();
    long RotateTransform(float sngAngle, Gdiplus::MatrixOrder eOrder = Gdiplus::MatrixOrderPrepend);
    long SetInterpolationMode(Gdiplus::InterpolationMode eMode);
    long SetTextRenderingHint(Gdiplus::TextRenderingHint eHint);
    long TranslateTransform(float dx, float dy,
                            Gdiplus::MatrixOrder eOrder = Gdiplus::MatrixOrderPrepend);

private:
    long CheckStatus(long status) { return mivo::gdip::CheckStatus(status, curErr_, gdip, L"cGraphics"); }
    long TakeContext(Gdiplus::GpStatus status, Gdiplus::GpGraphics* graphics);
    HDC HeldDC() const { return handle_.get().dc; }
    void HoldDC(HDC hdc);

    mivo::gdip::UniqueGraphics handle_;
    long curErr_ = 0;
};
