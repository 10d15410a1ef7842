#pragma once
// One GDI+ image: created or loaded, measured, read for its properties and given back.
// Construction also indexes the image encoders GDI+ offers by file extension.
#include "GdiplusOwners.h"
#include "cGDIP.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class cBitmap {
public:
    // Where failures are reported; empty = recorded in CurErr only.
    std::shared_ptr<cGDIP> gdip;

    // Reads the encoder list; throws mivo::GdiplusError when GDI+ cannot give it.
    cBitmap();

    cBitmap(cBitmap&&) noexcept = default;
    cBitmap& operator=(cBitmap&&) noexcept = default;

    // Every creation gives back the image held before (once the new one is made, so a
    // held image may be its own source) and takes whatever GDI+ returned, 0 on failure.
    // lDataPtr: pixel data the image uses in place, or nullptr to let GDI+ allocate.
    long CreateFromScan0(long lWidth, long lHeight, long lStride, long ePixelFormats,
                         BYTE* lDataPtr);
    long CreateFromHBitmap(HBITMAP hBitmap);
    long CreateFromGraphics(long lWidth, long lHeight, Gdiplus::GpGraphics* lGraphicHandle);
    // Width, Height and PixelFormat keep their earlier values.
    long CreateFromClone(long lWidth, long lHeight, Gdiplus::GpImage* lBitmapHandle,
                         long ePixelFormat);
    long CreateThumbFromImage(long lWidth, long lHeight, Gdiplus::GpImage* lBitmapHandle);
    long CurErr() const { return curErr_; }
    void Dispose();
    // Encoder index for an extension entry such as "*.PNG" (any letter case), or -1.
    long ExtensionExists(const std::wstring& sKey) const;
    long FrameCount() const { return frameCount_; }
    long LoadFromFile(const std::wstring& sFilename);
    Gdiplus::GpImage* Handle() const { return handle_.get(); }
    // Takes the handle over without a GDI+ call; the image held before is not given back.
    void Handle(Gdiplus::GpImage* lHandle) {
        handle_.release();
        handle_.reset(lHandle);
    }
    long Height() const { return height_; }
    // Frame delay in hundredths of a second; 0 when absent.
    long GetDelay(long lFrame);
    long GetLoopCount();
    // Element lPropertyIndex of property eTag into vValue, for byte, short and long
    // properties; vValue is left alone for any other type.
    long GetPropertyItem(PROPID eTag, long& vValue, long lPropertyIndex);
    Gdiplus::ARGB GetPixelLong(long X, long Y);
    // Pixels of exactly lColor become fully transparent; the image is replaced by a
    // 32-bit ARGB copy. Reports nothing: the result is the only sign of failure.
    long MakeTransparent(Gdiplus::ARGB lColor);
    long PixelFormat() const { return pixelFormat_; }
    long RotateFlip(Gdiplus::RotateFlipType eFlipType);
    // Makes palette entry lIndex fully transparent.
    void SetTransColor(BYTE lIndex);
    long SetPalette(const Gdiplus::ColorPalette* lPalPointer);
    long Width() const { return width_; }

    // For other modules of the program.
    CLSID GetEncoderClsid(long lIndex) const;  // std::out_of_range outside 0..count-1
    long SaveToFile(const std::wstring& sFilename, const CLSID* pClsid,
                    const Gdiplus::EncoderParameters* pParams);
    // Reads the palette into a buffer of lEntries entries (status recorded only).
    void GetPalette(Gdiplus::ColorPalette* pBuffer, long lEntries);
    Gdiplus::ARGB GetPixel(long X, long Y) { return GetPixelLong(X, Y); }
    Gdiplus::Rect ImageRect() const { return imageRect_; }
    long UnlockBits(Gdiplus::BitmapData* pData);

private:
    friend class cBitmapTestAccess;

    // Extension keys compare without regard to letter case.
    struct KeyLess {
        bool operator()(const std::wstring& a, const std::wstring& b) const;
    };
    using ExtensionIndex = std::map<std::wstring, long, KeyLess>;

    struct PropertyHeader {
        PROPID id = 0;
        ULONG length = 0;
        WORD type = 0;
        const void* value = nullptr;
    };

    void InitEncoders();
    void AddExtensions(const std::wstring& sList, const std::wstring& sSeparator, long lEncoder);
    void AddExtension(const std::wstring& sKey, long lEncoder);
    static std::wstring StringFromPointer(const WCHAR* p);
    void ReadDimensions();
    void ReadPixelFormat();
    long PropertyValueAt(WORD type, long lIndex) const;
    long LoadFromStream(IStream* pStream);
    long CheckStatus(long status) { return mivo::gdip::CheckStatus(status, curErr_, gdip, L"cBitmap"); }
    // Gives back the held image unless it is `replacement`, then holds `replacement`
    // (nothing when `status` tells the creation failed).
    void TakeImage(long status, Gdiplus::GpImage* replacement);
    void ReadFormatAndSize();

    mivo::gdip::UniqueImage handle_;
    long curErr_ = 0;
    long pixelFormat_ = 0;
    long frameCount_ = 0;
    long width_ = 0;
    long height_ = 0;
    Gdiplus::Rect imageRect_{0, 0, 0, 0};
    std::vector<CLSID> encoders_;
    std::unique_ptr<ExtensionIndex> extensions_;
    std::vector<std::uint64_t> propertyBuffer_;
    PropertyHeader lastProperty_;
    std::vector<BYTE> propertyValue_;
};
