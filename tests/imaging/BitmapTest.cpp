// cBitmap over the real GDI+: loading, ownership, the encoder index, properties, palettes
// and the colour key.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "GdiPlus.h"
#include "ImagingTestSupport.h"
#include "cBitmap.h"
#include "mivo/Numbers.h"

using namespace mivo::gdip;

// Reaches the extension index builder, which is not part of the class's interface.
class cBitmapTestAccess {
public:
    static void AddExtensions(cBitmap& b, const std::wstring& list, long encoder) {
        b.AddExtensions(list, L";", encoder);
    }
};

namespace mivo::test {
namespace {

UINT RealWidth(GpImage* image) {
    UINT width = 0;
    GdipGetImageWidth(image, &width);
    return width;
}

class BitmapTest : public ::testing::Test {
protected:
    RecordingSession rec;
};

TEST_F(BitmapTest, LoadReadsSizeAndFormatAndAFailedLoadReportsItsReadsToo) {
    cBitmap b;
    b.gdip = rec.session;
    ASSERT_EQ(b.LoadFromFile(ImagingData(L"red32.png")), 0);
    EXPECT_NE(b.Handle(), nullptr);
    EXPECT_EQ(b.Width(), 32);
    EXPECT_EQ(b.Height(), 32);
    EXPECT_EQ(b.PixelFormat(), PixelFormat24bppRGB);

    // Loaded over a held image: that image is given back, not lost.
    const long status = b.LoadFromFile(ImagingData(L"no-such-file.png"));
    EXPECT_NE(status, 0);
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    ASSERT_GE(rec.errors.size(), 1u);
    EXPECT_LE(rec.errors.size(), 3u);
    EXPECT_EQ(rec.errors[0].status, status);
    for (const auto& e : rec.errors) EXPECT_EQ(e.className, L"cBitmap");
    EXPECT_EQ(b.CurErr(), rec.errors.back().status);

    EXPECT_EQ(b.LoadFromFile(ImagingData(L"photo.jpg")), 0);
    EXPECT_EQ(b.CurErr(), 0);
    EXPECT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Height(), 8);

    rec.errors.clear();
    cBitmap unlinked;
    EXPECT_NE(unlinked.LoadFromFile(ImagingData(L"no-such-file.png")), 0);
    EXPECT_NE(unlinked.CurErr(), 0);
    EXPECT_TRUE(rec.errors.empty());
}

// A second give-back would crash GDI+ or corrupt its heap; what can be seen from here is
// that the handle is dropped at once, so nothing is given back again later.
TEST_F(BitmapTest, DisposeAndMovesLeaveOneOwner) {
    cBitmap a;
    ASSERT_EQ(a.LoadFromFile(ImagingData(L"red32.png")), 0);
    a.Dispose();
    EXPECT_EQ(a.Handle(), nullptr);
    a.Dispose();

    ASSERT_EQ(a.LoadFromFile(ImagingData(L"red32.png")), 0);
    GpImage* image = a.Handle();
    cBitmap b(std::move(a));
    EXPECT_EQ(a.Handle(), nullptr);
    cBitmap c;
    ASSERT_EQ(c.LoadFromFile(ImagingData(L"photo.jpg")), 0);
    c = std::move(b);
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(c.Handle(), image);
    EXPECT_EQ(RealWidth(c.Handle()), 32u);
}

TEST_F(BitmapTest, ExtensionIndex) {
    cBitmap b;
    UINT count = 0;
    UINT size = 0;
    ASSERT_EQ(GdipGetImageEncodersSize(&count, &size), Ok);
    std::vector<std::uint64_t> buffer(size / 8 + 1);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    ASSERT_EQ(GdipGetImageEncoders(count, size, codecs), Ok);
    long png = -1;
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(codecs[i].MimeType) == L"image/png") png = static_cast<long>(i);
    ASSERT_GE(png, 0);
    EXPECT_EQ(b.ExtensionExists(L"*.PNG"), png);
    EXPECT_EQ(b.ExtensionExists(L"*.pNg"), png);
    EXPECT_TRUE(IsEqualCLSID(b.GetEncoderClsid(png), codecs[png].Clsid));
    EXPECT_EQ(b.ExtensionExists(L"*.xyz"), -1);
    EXPECT_THROW(b.GetEncoderClsid(static_cast<long>(count)), std::out_of_range);

    // Only the last entry of a list loses its blanks.
    cBitmapTestAccess::AddExtensions(b, L"*.AA; *.AB ", 7);
    EXPECT_EQ(b.ExtensionExists(L"*.ab"), 7);
    cBitmapTestAccess::AddExtensions(b, L" *.BA;*.BB ;*.BC", 8);
    EXPECT_EQ(b.ExtensionExists(L" *.BA"), 8);
    EXPECT_EQ(b.ExtensionExists(L"*.BA"), -1);
    EXPECT_EQ(b.ExtensionExists(L"*.BB "), 8);
    EXPECT_EQ(b.ExtensionExists(L"*.BC"), 8);

    // Claimed twice (added from the last encoder down, as at construction): the
    // encoder listed first keeps it.
    cBitmapTestAccess::AddExtensions(b, L"*.DUP", 3);
    cBitmapTestAccess::AddExtensions(b, L"*.dup", 1);
    cBitmapTestAccess::AddExtensions(b, L"*.Dup", 2);
    EXPECT_EQ(b.ExtensionExists(L"*.DUP"), 1);
}

TEST_F(BitmapTest, PropertiesOfAnAnimatedGifAndOfImagesWithout) {
    cBitmap b;
    b.gdip = rec.session;
    ASSERT_EQ(b.LoadFromFile(ImagingData(L"anim.gif")), 0);
    EXPECT_EQ(b.GetDelay(0), 10);
    EXPECT_EQ(b.GetDelay(2), 35);
    EXPECT_EQ(b.GetDelay(3), 0);
    EXPECT_EQ(b.GetDelay(-1), 0);
    // Loop count 0xFFFF is a short element; the global palette's first byte is 0xFF.
    EXPECT_EQ(b.GetLoopCount(), 65535);
    long value = -7;
    EXPECT_EQ(b.GetPropertyItem(0x5102, value, 0), 0);
    EXPECT_EQ(value, 255);
    EXPECT_TRUE(rec.errors.empty());
    EXPECT_THROW(b.GetPropertyItem(0x5100, value, 0x40000000), mivo::OverflowError);

    ASSERT_EQ(b.LoadFromFile(ImagingData(L"photo.jpg")), 0);
    EXPECT_EQ(b.GetDelay(0), 0);
    ASSERT_EQ(rec.errors.size(), 1u);
    EXPECT_EQ(rec.errors[0].status, 19);
    EXPECT_EQ(b.GetLoopCount(), 0);

    cBitmap empty;
    value = 5;
    EXPECT_NE(empty.GetPropertyItem(0x5100, value, 0), 0);
    EXPECT_EQ(value, 5);
}

TEST_F(BitmapTest, SetTransColorClearsTheAlphaOfOnePaletteEntry) {
    cBitmap empty;
    empty.gdip = rec.session;
    empty.SetTransColor(3);
    EXPECT_TRUE(rec.errors.empty());

    cBitmap b;
    ASSERT_EQ(b.LoadFromFile(ImagingData(L"pal256.bmp")), 0);
    UINT before[2 + 256] = {};
    b.GetPalette(reinterpret_cast<ColorPalette*>(before), 256);
    ASSERT_EQ(before[1], 256u);
    b.SetTransColor(5);
    EXPECT_EQ(b.CurErr(), 0);
    UINT after[2 + 256] = {};
    b.GetPalette(reinterpret_cast<ColorPalette*>(after), 256);
    EXPECT_EQ(after[2 + 5], before[2 + 5] & 0x00FFFFFFu);
    EXPECT_EQ(after[2 + 6], before[2 + 6]);
    EXPECT_EQ(after[2 + 6] >> 24, 0xFFu);
}

TEST_F(BitmapTest, CloneAndRotateLeaveTheRecordedSizeAlone) {
    cBitmap source;
    ASSERT_EQ(source.LoadFromFile(ImagingData(L"photo.jpg")), 0);
    cBitmap b;
    ASSERT_EQ(b.LoadFromFile(ImagingData(L"red32.png")), 0);
    ASSERT_EQ(b.CreateFromClone(4, 2, source.Handle(), PixelFormat32bppARGB), 0);
    EXPECT_EQ(RealWidth(b.Handle()), 4u);
    EXPECT_EQ(b.Width(), 32);
    EXPECT_EQ(b.PixelFormat(), PixelFormat24bppRGB);

    ASSERT_EQ(source.RotateFlip(Rotate90FlipNone), 0);
    EXPECT_EQ(RealWidth(source.Handle()), 8u);
    EXPECT_EQ(source.Width(), 16);
    EXPECT_EQ(source.Height(), 8);
}

TEST_F(BitmapTest, MakeTransparentKeysOutOneColourWithoutReporting) {
    std::uint32_t pixels[2] = {0xFFFF0000u, 0xFF0000FFu};  // red, blue
    cBitmap b;
    b.gdip = rec.session;
    ASSERT_EQ(b.CreateFromScan0(2, 1, 8, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels)), 0);
    GpImage* before = b.Handle();
    EXPECT_EQ(b.MakeTransparent(0xFFFF0000u), 0);
    EXPECT_NE(b.Handle(), before);
    EXPECT_EQ(b.GetPixelLong(0, 0) >> 24, 0u);
    EXPECT_EQ(b.GetPixelLong(1, 0), 0xFF0000FFu);

    cBitmap empty;
    empty.gdip = rec.session;
    EXPECT_NE(empty.MakeTransparent(0xFFFF0000u), 0);
    EXPECT_EQ(empty.Handle(), nullptr);
    EXPECT_TRUE(rec.errors.empty());
}

}  // namespace
}  // namespace mivo::test
