// What a picture file claims, read before any decoder: real headers pass, forged ones (sizes a
// decoder would try to honour, headers cut short, other formats) are refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ForgedPictures.h"
#include "PictureHeader.h"

namespace mivo::test {
namespace {

constexpr PictureLimits kLimits{8192, 8u * 1024 * 1024, 200, 1024u * 1024};

struct Case {
    const char* what;
    std::string bytes;
    PictureFormat expected;
};

TEST(PictureHeader, RealHeadersPassAndForgedOnesAreRefused) {
    using namespace forged;
    const PictureFormat none = PictureFormat::None;
    const Case cases[] = {
        {"PNG", Png(64, 64), PictureFormat::Png},
        {"PNG at the side limit", Png(8192, 1024), PictureFormat::Png},
        {"PNG of a real tall picture", Png(794, 3352), PictureFormat::Png},
        {"PNG over the side limit", Png(8193, 1), none},
        {"PNG over the pixel limit", Png(4096, 4096), none},
        {"PNG of zero width", Png(0, 64), none},
        {"PNG claiming 65535 x 65535", Png(65535, 65535), none},
        {"PNG cut inside IHDR", Png(64, 64).substr(0, 20), none},
        {"PNG without IHDR first", std::string("\x89PNG\r\n\x1A\n", 8) + Be32(13) + "tEXt" + Be32(64) + Be32(64), none},
        {"GIF emoticon of 40 frames", Gif(19, 19, 40, 19, 19), PictureFormat::Gif},
        {"GIF of 200 frames", Gif(64, 64, 200, 64, 64), PictureFormat::Gif},
        {"GIF of 201 frames", Gif(8, 8, 201, 8, 8), none},
        {"GIF of several thousand tiny frames", Gif(1, 1, 5000, 1, 1), none},
        {"GIF screen of 65535 x 65535", Gif(65535, 65535, 1, 1, 1), none},
        {"GIF frame of 65535 x 65535", Gif(16, 16, 1, 65535, 65535), none},
        {"GIF frames adding up over the limit", Gif(1024, 1024, 2, 1024, 1024), none},
        {"GIF of zero size", Gif(0, 0, 1, 1, 1), none},
        {"GIF without a frame", Gif(16, 16, 0, 0, 0), none},
        {"GIF cut in its screen descriptor", Gif(16, 16, 1, 16, 16).substr(0, 9), none},
        {"JPEG", Jpeg(640, 480), PictureFormat::Jpeg},
        {"progressive JPEG", Jpeg(640, 480, '\xC2'), PictureFormat::Jpeg},
        {"JPEG claiming 65535 x 65535", Jpeg(65535, 65535), none},
        {"JPEG whose height comes later (DNL)", Jpeg(640, 0), none},
        {"JPEG cut before its frame header", Jpeg(640, 480).substr(0, 22), none},
        {"JPEG whose segment runs past the end", std::string("\xFF\xD8\xFF\xE0\xFF\xFF", 6), none},
        {"BMP", BmpHeader(64, 64), PictureFormat::Bmp},
        {"BMP stored top-down", BmpHeader(64, -64), PictureFormat::Bmp},
        {"BMP claiming 100000 x 100000", BmpHeader(100000, 100000), none},
        {"BMP of the most negative height", BmpHeader(64, INT32_MIN), none},
        {"BMP of zero height", BmpHeader(64, 0), none},
        {"ICO", Ico(Dib(16, 32, 32) + std::string(64, '\0')), PictureFormat::Ico},
        {"ICO holding a PNG", Ico(Png(256, 256)), PictureFormat::Ico},
        {"ICO holding a PNG of 65535 x 65535", Ico(Png(65535, 65535)), none},
        {"ICO whose entry lies past the end", Ico(Png(16, 16)).substr(0, 30), none},
        {"TIFF whose directory points at itself", Tiff(), none},
        {"EMF of absurd bounds", Emf(), none},
        {"WMF of absurd bounds", Wmf(), none},
        {"HTML page", "<!DOCTYPE html><html><body>404</body></html>", none},
        {"empty file", "", none},
    };
    for (const Case& c : cases) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
        EXPECT_EQ(CheckPictureHeader(data, c.bytes.size(), kLimits), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace mivo::test
