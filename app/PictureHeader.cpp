#include "PictureHeader.h"

#include <cstring>

namespace mivo {
namespace {

// Bounds-checked reads: every read past the end makes the reader fail, and a failed reader
// refuses the file.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    std::size_t size() const { return size_; }
    std::size_t at() const { return at_; }
    bool atEnd() const { return at_ >= size_; }

    void seek(std::size_t offset) {
        if (offset > size_) ok_ = false;
        else at_ = offset;
    }
    void skip(std::size_t count) { seek(count > size_ - at_ ? size_ + 1 : at_ + count); }
    bool starts(const char* magic, std::size_t length) const {
        return size_ >= length && std::memcmp(data_, magic, length) == 0;
    }

    std::uint32_t u8() { return ok_ && at_ < size_ ? data_[at_++] : fail(); }
    std::uint32_t le16() { const std::uint32_t lo = u8(); return lo | u8() << 8; }
    std::uint32_t be16() { const std::uint32_t hi = u8(); return hi << 8 | u8(); }
    std::uint32_t le32() { const std::uint32_t lo = le16(); return lo | le16() << 16; }
    std::uint32_t be32() { const std::uint32_t hi = be16(); return hi << 16 | be16(); }

private:
    std::uint32_t fail() {
        ok_ = false;
        return 0;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

bool Fits(std::uint64_t width, std::uint64_t height, const PictureLimits& limits) {
    return width > 0 && height > 0 && width <= limits.maxSide && height <= limits.maxSide &&
           width * height <= limits.maxPixels;
}

const char kPngSignature[] = "\x89PNG\r\n\x1A\n";

// A PNG's first chunk, IHDR, at <start> + 8 (after the signature); adds the area to <area>.
bool CheckPngAt(Bytes& in, std::size_t start, const PictureLimits& limits, std::uint64_t& area) {
    in.seek(start + 8);
    const std::uint32_t length = in.be32();
    const bool ihdr = in.be32() == 0x49484452;  // "IHDR"
    const std::uint32_t width = in.be32();
    const std::uint32_t height = in.be32();
    if (!in.ok() || length != 13 || !ihdr || !Fits(width, height, limits)) return false;
    area += std::uint64_t{width} * height;
    return true;
}

bool CheckPng(Bytes& in, const PictureLimits& limits) {
    std::uint64_t area = 0;
    return CheckPngAt(in, 0, limits, area);
}

// Skips a GIF's data sub-blocks up to and including their zero terminator.
void SkipSubBlocks(Bytes& in) {
    for (std::uint32_t length = in.u8(); in.ok() && length != 0; length = in.u8()) in.skip(length);
}

bool CheckGif(Bytes& in, const PictureLimits& limits) {
    in.seek(6);
    const std::uint32_t screenWidth = in.le16();
    const std::uint32_t screenHeight = in.le16();
    const std::uint32_t flags = in.u8();
    in.skip(2);
    if (flags & 0x80) in.skip(3u << ((flags & 7) + 1));
    if (!in.ok() || !Fits(screenWidth, screenHeight, limits) ||
        std::uint64_t{screenWidth} * screenHeight > limits.maxGifPixels)
        return false;

    std::uint32_t frames = 0;
    std::uint64_t area = 0;
    while (in.ok() && !in.atEnd()) {
        const std::uint32_t block = in.u8();
        if (block == 0x3B) break;  // trailer
        if (block == 0x21) {       // extension: label, then sub-blocks
            in.u8();
            SkipSubBlocks(in);
        } else if (block == 0x2C) {  // image descriptor
            const std::uint32_t left = in.le16();
            const std::uint32_t top = in.le16();
            const std::uint32_t width = in.le16();
            const std::uint32_t height = in.le16();
            const std::uint32_t imageFlags = in.u8();
            if (!in.ok() || ++frames > limits.maxFrames || !Fits(width, height, limits) ||
                left + width > limits.maxSide || top + height > limits.maxSide)
                return false;
            area += std::uint64_t{width} * height;
            if (area > limits.maxGifPixels) return false;
            if (imageFlags & 0x80) in.skip(3u << ((imageFlags & 7) + 1));
            in.u8();  // LZW minimum code size
            SkipSubBlocks(in);
        } else {
            return false;
        }
    }
    // A file that ends without its trailer is still drawn as far as its frames go.
    return frames > 0;
}

bool IsStartOfFrame(std::uint32_t marker) {
    // SOF0-SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool CheckJpeg(Bytes& in, const PictureLimits& limits) {
    in.seek(2);
    bool frame = false;
    while (in.ok()) {
        if (in.u8() != 0xFF) return false;
        std::uint32_t marker = in.u8();
        while (in.ok() && marker == 0xFF) marker = in.u8();  // fill bytes
        if (!in.ok()) return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD8 || marker == 0xD9) return false;  // a second start, or the end before a scan
        const std::size_t start = in.at();
        const std::uint32_t length = in.be16();
        if (length < 2) return false;
        if (marker == 0xDA) return frame;  // start of scan: every frame header came before it
        if (IsStartOfFrame(marker)) {
            in.u8();  // sample precision
            const std::uint32_t height = in.be16();
            const std::uint32_t width = in.be16();
            const std::uint32_t components = in.u8();
            // A zero height is defined later in the scan (DNL): not known beforehand, so refused.
            if (!in.ok() || !Fits(width, height, limits) || components == 0 || components > 4) return false;
            frame = true;
        }
        in.seek(start + length);
    }
    return false;
}

// A device-independent bitmap's header at the reader's position, in a BMP file or inside an
// icon, where the height counts the colour and the mask halves (heightFactor 2). Adds the
// area to <area>.
bool CheckDibHeader(Bytes& in, const PictureLimits& limits, std::uint32_t heightFactor, std::uint64_t& area) {
    const std::uint32_t headerSize = in.le32();
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    if (headerSize == 12) {  // BITMAPCOREHEADER
        width = in.le16();
        height = in.le16();
        planes = in.le16();
        bits = in.le16();
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = static_cast<std::int32_t>(in.le32());
        height = static_cast<std::int32_t>(in.le32());  // negative: rows top-down
        planes = in.le16();
        bits = in.le16();
    } else {
        return false;
    }
    if (height < 0) height = -height;
    height /= heightFactor;
    const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!in.ok() || planes != 1 || !knownDepth || width <= 0 ||
        !Fits(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), limits))
        return false;
    area += static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return true;
}

bool CheckBmp(Bytes& in, const PictureLimits& limits) {
    in.seek(10);
    const std::uint32_t pixelsAt = in.le32();
    std::uint64_t area = 0;
    return CheckDibHeader(in, limits, 1, area) && pixelsAt < in.size();
}

bool CheckIco(Bytes& in, const PictureLimits& limits) {
    in.seek(4);
    const std::uint32_t count = in.le16();
    if (!in.ok() || count == 0 || count > limits.maxFrames) return false;
    std::uint64_t area = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        // The entry's own sizes are a byte each: what a decoder trusts is the picture inside.
        in.seek(6 + 16 * std::size_t{i} + 8);
        const std::uint32_t length = in.le32();
        const std::uint32_t offset = in.le32();
        if (!in.ok() || offset >= in.size() || length > in.size() - offset || length < 16) return false;
        Bytes picture = in;
        picture.seek(offset);
        bool png = true;
        for (std::size_t k = 0; k < 8; ++k) png = png && picture.u8() == static_cast<std::uint8_t>(kPngSignature[k]);
        picture.seek(offset);
        const bool fits = png ? CheckPngAt(picture, offset, limits, area) : CheckDibHeader(picture, limits, 2, area);
        if (!fits || area > limits.maxPixels) return false;
    }
    return true;
}

}  // namespace

PictureFormat CheckPictureHeader(const std::uint8_t* data, std::size_t size, const PictureLimits& limits) {
    Bytes in(data, size);
    if (in.starts(kPngSignature, 8)) return CheckPng(in, limits) ? PictureFormat::Png : PictureFormat::None;
    if (in.starts("GIF87a", 6) || in.starts("GIF89a", 6))
        return CheckGif(in, limits) ? PictureFormat::Gif : PictureFormat::None;
    if (in.starts("\xFF\xD8", 2)) return CheckJpeg(in, limits) ? PictureFormat::Jpeg : PictureFormat::None;
    if (in.starts("BM", 2)) return CheckBmp(in, limits) ? PictureFormat::Bmp : PictureFormat::None;
    if (in.starts("\0\0\1\0", 4)) return CheckIco(in, limits) ? PictureFormat::Ico : PictureFormat::None;
    return PictureFormat::None;
}

}  // namespace mivo
