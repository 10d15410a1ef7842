#include "cBitmap.h"

#include "GdiplusError.h"
#include "cGraphics.h"
#include "mivo/Numbers.h"
#include "mivo/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

using namespace mivo::gdip;

namespace {

bool IsIntegerProperty(WORD type) {
    return type == PropertyTagTypeByte || type == PropertyTagTypeShort || type == PropertyTagTypeLong;
}

}  // namespace

bool cBitmap::KeyLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return mivo::CompareIgnoreCase(a, b) < 0;
}

cBitmap::cBitmap() { InitEncoders(); }

void cBitmap::TakeImage(long status, GpImage* replacement) {
    // Whatever a failed call left in its out parameter is not an image of ours.
    if (status != 0) replacement = nullptr;
    if (handle_.get() != replacement) handle_.reset(replacement);
}

void cBitmap::ReadFormatAndSize() {
    ReadPixelFormat();
    ReadDimensions();
}

// --- creation -------------------------------------------------------------------------

long cBitmap::LoadFromFile(const std::wstring& sFilename) {
    GpImage* image = nullptr;
    long result = CheckStatus(GdipLoadImageFromFile(sFilename.c_str(), &image));
    TakeImage(result, image);
    ReadFormatAndSize();
    return result;
}

long cBitmap::CreateFromScan0(long lWidth, long lHeight, long lStride, long ePixelFormats,
                              BYTE* lDataPtr) {
    GpBitmap* bitmap = nullptr;
    long result = CheckStatus(
        GdipCreateBitmapFromScan0(lWidth, lHeight, lStride, ePixelFormats, lDataPtr, &bitmap));
    TakeImage(result, bitmap);
    ReadFormatAndSize();
    return result;
}

long cBitmap::CreateFromHBitmap(HBITMAP hBitmap) {
    GpBitmap* bitmap = nullptr;
    long result = CheckStatus(GdipCreateBitmapFromHBITMAP(hBitmap, nullptr, &bitmap));
    TakeImage(result, bitmap);
    ReadFormatAndSize();
    return result;
}

long cBitmap::CreateFromGraphics(long lWidth, long lHeight, GpGraphics* lGraphicHandle) {
    GpBitmap* bitmap = nullptr;
    long result =
        CheckStatus(GdipCreateBitmapFromGraphics(lWidth, lHeight, lGraphicHandle, &bitmap));
    TakeImage(result, bitmap);
    ReadFormatAndSize();
    return result;
}

long cBitmap::CreateFromClone(long lWidth, long lHeight, GpImage* lBitmapHandle,
                              long ePixelFormat) {
    GpBitmap* bitmap = nullptr;
    long result = CheckStatus(GdipCloneBitmapAreaI(0, 0, lWidth, lHeight, ePixelFormat,
                                                   static_cast<GpBitmap*>(lBitmapHandle), &bitmap));
    TakeImage(result, bitmap);
    return result;
}

long cBitmap::CreateThumbFromImage(long lWidth, long lHeight, GpImage* lBitmapHandle) {
    GpImage* thumb = nullptr;
    long result = CheckStatus(GdipGetImageThumbnail(lBitmapHandle, static_cast<UINT>(lWidth),
                                                    static_cast<UINT>(lHeight), &thumb, nullptr,
                                                    nullptr));
    TakeImage(result, thumb);
    ReadFormatAndSize();
    return result;
}

long cBitmap::LoadFromStream(IStream* pStream) {
    if (!pStream) return 0;
    GpImage* image = nullptr;
    long result = CheckStatus(GdipLoadImageFromStream(pStream, &image));
    TakeImage(result, image);
    if (result == 0) ReadFormatAndSize();
    return result;
}

void cBitmap::Dispose() { handle_.reset(); }

// --- measuring ------------------------------------------------------------------------

void cBitmap::ReadPixelFormat() {
    Gdiplus::PixelFormat format = pixelFormat_;  // a failed read leaves the last one
    CheckStatus(GdipGetImagePixelFormat(handle_.get(), &format));
    pixelFormat_ = static_cast<long>(format);
}

void cBitmap::ReadDimensions() {
    REAL width = 0;
    REAL height = 0;
    CheckStatus(GdipGetImageDimension(handle_.get(), &width, &height));
    width_ = mivo::NearestEven(width);
    height_ = mivo::NearestEven(height);
    imageRect_ = Rect(0, 0, width_, height_);
}

// --- encoders -------------------------------------------------------------------------

void cBitmap::InitEncoders() {
    UINT count = 0;
    UINT size = 0;
    if (GpStatus status = GdipGetImageEncodersSize(&count, &size); status != Ok)
        throw mivo::GdiplusError(status, "GdipGetImageEncodersSize");
    // The records' strings point into the same buffer, so it stays alive while they are read.
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (count > 0) {
        if (GpStatus status = GdipGetImageEncoders(count, size, codecs); status != Ok)
            throw mivo::GdiplusError(status, "GdipGetImageEncoders");
    }
    encoders_.assign(count, CLSID{});
    extensions_ = std::make_unique<ExtensionIndex>();
    for (long n = static_cast<long>(count) - 1; n >= 0; --n) {
        encoders_[static_cast<size_t>(n)] = codecs[n].Clsid;
        AddExtensions(StringFromPointer(codecs[n].FilenameExtension), L";", n);
    }
}

std::wstring cBitmap::StringFromPointer(const WCHAR* p) { return p ? std::wstring(p) : std::wstring(); }

void cBitmap::AddExtensions(const std::wstring& sList, const std::wstring& sSeparator,
                            long lEncoder) {
    size_t start = 0;
    if (!sSeparator.empty()) {
        // Inner entries are kept exactly as they stand; only the last one is trimmed.
        for (size_t pos = sList.find(sSeparator, start); pos != std::wstring::npos;
             pos = sList.find(sSeparator, start)) {
            AddExtension(sList.substr(start, pos - start), lEncoder);
            start = pos + sSeparator.size();
        }
    }
    const size_t first = sList.find_first_not_of(L' ', start);
    if (first == std::wstring::npos) return;
    const size_t last = sList.find_last_not_of(L' ');
    AddExtension(sList.substr(first, last - first + 1), lEncoder);
}

void cBitmap::AddExtension(const std::wstring& sKey, long lEncoder) {
    // Two encoders may claim the same extension: the one GDI+ lists first wins, whatever
    // order the entries arrive in.
    auto [it, added] = extensions_->try_emplace(sKey, lEncoder);
    if (!added && lEncoder < it->second) it->second = lEncoder;
}

long cBitmap::ExtensionExists(const std::wstring& sKey) const {
    if (!extensions_) return -1;
    auto it = extensions_->find(sKey);
    return it == extensions_->end() ? -1 : it->second;
}

CLSID cBitmap::GetEncoderClsid(long lIndex) const {
    if (lIndex < 0 || lIndex >= static_cast<long>(encoders_.size()))
        throw std::out_of_range("encoder index " + std::to_string(lIndex) + " out of range");
    return encoders_[static_cast<size_t>(lIndex)];
}

long cBitmap::SaveToFile(const std::wstring& sFilename, const CLSID* pClsid,
                         const EncoderParameters* pParams) {
    return CheckStatus(GdipSaveImageToFile(handle_.get(), sFilename.c_str(), pClsid, pParams));
}

// --- pixels and palettes --------------------------------------------------------------

ARGB cBitmap::GetPixelLong(long X, long Y) {
    ARGB colour = 0;
    CheckStatus(GdipBitmapGetPixel(static_cast<GpBitmap*>(handle_.get()), X, Y, &colour));
    return colour;
}

long cBitmap::RotateFlip(RotateFlipType eFlipType) {
    return CheckStatus(GdipImageRotateFlip(handle_.get(), eFlipType));
}

long cBitmap::SetPalette(const ColorPalette* lPalPointer) {
    return CheckStatus(GdipSetImagePalette(handle_.get(), lPalPointer));
}

void cBitmap::GetPalette(ColorPalette* pBuffer, long lEntries) {
    constexpr long long kHeader = offsetof(ColorPalette, Entries);  // flags and count
    const long long size = lEntries * static_cast<long long>(sizeof(ARGB)) + kHeader;
    if (size < INT32_MIN || size > INT32_MAX)
        throw mivo::OverflowError("palette size does not fit 32 bits");
    CheckStatus(GdipGetImagePalette(handle_.get(), pBuffer, static_cast<INT>(size)));
}

void cBitmap::SetTransColor(BYTE lIndex) {
    if (!handle_) return;
    // ColorPalette with room for 256 entries: flags, count, entries.
    UINT palette[2 + 256] = {};
    auto* colours = reinterpret_cast<ColorPalette*>(palette);
    GetPalette(colours, 256);
    palette[2 + lIndex] &= 0x00FFFFFFu;
    SetPalette(colours);
}

long cBitmap::UnlockBits(BitmapData* pData) {
    return CheckStatus(GdipBitmapUnlockBits(static_cast<GpBitmap*>(handle_.get()), pData));
}

// --- properties -----------------------------------------------------------------------

long cBitmap::GetPropertyItem(PROPID eTag, long& vValue, long lPropertyIndex) {
    UINT size = 0;
    long result = CheckStatus(GdipGetPropertyItemSize(handle_.get(), eTag, &size));
    if (result != 0) return result;

    // 8-byte units keep the PropertyItem header aligned; the header's value address
    // points into this buffer, so it lives as long as the header.
    lastProperty_ = PropertyHeader{};
    propertyBuffer_.assign((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    auto* item = reinterpret_cast<PropertyItem*>(propertyBuffer_.data());
    result = CheckStatus(GdipGetPropertyItem(handle_.get(), eTag, size, item));
    if (result != 0) return result;

    lastProperty_.id = item->id;
    lastProperty_.length = item->length;
    lastProperty_.type = item->type;
    lastProperty_.value = item->value;
    if (item->length > 0 && item->value) {
        const auto* bytes = static_cast<const BYTE*>(item->value);
        propertyValue_.assign(bytes, bytes + item->length);
        if (IsIntegerProperty(item->type)) vValue = PropertyValueAt(item->type, lPropertyIndex);
    }
    return result;
}

long cBitmap::PropertyValueAt(WORD type, long lIndex) const {
    long long elementSize = 0;
    if (type == PropertyTagTypeByte) elementSize = 1;
    else if (type == PropertyTagTypeShort) elementSize = 2;
    else if (type == PropertyTagTypeLong) elementSize = 4;
    const long long offset = static_cast<long long>(lIndex) * elementSize;
    if (offset < INT32_MIN || offset > INT32_MAX)
        throw mivo::OverflowError("property element offset does not fit 32 bits");
    // Elements are little-endian; shorter ones are zero-extended.
    std::uint32_t value = 0;
    if (offset >= 0 && offset + elementSize <= static_cast<long long>(propertyValue_.size()))
        std::memcpy(&value, propertyValue_.data() + offset, static_cast<size_t>(elementSize));
    return static_cast<long>(value);
}

long cBitmap::GetDelay(long lFrame) {
    long value = 0;
    GetPropertyItem(PropertyTagFrameDelay, value, lFrame);
    return value;
}

long cBitmap::GetLoopCount() {
    long value = 0;
    return GetPropertyItem(PropertyTagLoopCount, value, 0) == 0 ? value : 0;
}

// --- colour key -----------------------------------------------------------------------

long cBitmap::MakeTransparent(ARGB lColor) {
    // The temporaries stay unlinked from the session, so nothing here raises an event.
    // The graphics is declared last so it is deleted before the image it draws on.
    cBitmap copy;
    long status = copy.CreateFromScan0(width_, height_, 0, PixelFormat32bppARGB, nullptr);
    if (status != 0) return status;

    cGraphics graphics;
    status = graphics.GetGraphicsContext(copy.Handle());
    if (status != 0) return status;
    status = graphics.Clear();
    if (status != 0) return status;

    long drawn = 0;
    {
        GpImageAttributes* created = nullptr;
        status = GdipCreateImageAttributes(&created);
        if (status != 0) return status;
        const UniqueImageAttributes attributes(created);
        status = GdipSetImageAttributesColorKeys(attributes.get(), ColorAdjustTypeDefault, TRUE,
                                                 lColor, lColor);
        if (status != 0) return status;
        drawn = graphics.DrawImageRectRectIAttr(handle_.get(), 0, 0, width_, height_, 0, 0, width_,
                                                height_, attributes.get());
    }
    if (drawn != 0) return drawn;

    graphics.Dispose();
    handle_ = std::move(copy.handle_);
    return 0;
}
