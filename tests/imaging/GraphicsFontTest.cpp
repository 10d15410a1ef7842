// cGraphics and cFont over the real GDI+: drawing on a window and on images, the device
// context a context lends, fonts from standard font objects, and a paint loop that must
// not grow the process.
#include <gtest/gtest.h>

#include <olectl.h>
#include <psapi.h>
#include <wrl/client.h>

#include "GdiPlus.h"
#include "ImagingTestSupport.h"
#include "cBitmap.h"
#include "cFont.h"
#include "cGraphics.h"
#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"
#include "mivo/WindowBinding.h"

using namespace mivo::gdip;
using Microsoft::WRL::ComPtr;

namespace mivo::test {
namespace {

// The sans-serif face Wine falls back to is missing from a fresh prefix: lend Wine's own
// copy to this process before GDI+ first lists the fonts.
class FontEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::AddFontResourceExW(L"Z:\\usr\\share\\wine\\fonts\\tahoma.ttf", FR_PRIVATE, nullptr);
    }
};
const auto* const fontEnvironment = ::testing::AddGlobalTestEnvironment(new FontEnvironment);

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A visible white popup, painted before the test draws on it.
UniqueWindow MakeWindow(int width, int height) {
    WNDCLASSEXW wc{};
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"MivoImagingTest";
    RegisterWindowClass(wc);
    UniqueWindow window(::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                          40, 40, width, height, nullptr, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr));
    ::UpdateWindow(window.get());
    PumpMessages(200);
    return window;
}

COLORREF PixelOf(HWND window, int x, int y) {
    ScopedGetDC dc(window);
    return ::GetPixel(dc.get(), x, y);
}

ComPtr<IDispatch> MakeStdFont(const wchar_t* face, double points, bool boldItalic = false) {
    std::wstring name(face);
    FONTDESC desc = {sizeof(FONTDESC), name.data(), {}, static_cast<SHORT>(boldItalic ? FW_BOLD : FW_NORMAL),
                     DEFAULT_CHARSET, boldItalic, FALSE, FALSE};
    desc.cySize.int64 = static_cast<LONGLONG>(points * 10000);
    ComPtr<IDispatch> font;
    ThrowIfFailed(::OleCreateFontIndirect(&desc, IID_IDispatch, &font), "OleCreateFontIndirect");
    return font;
}

// What the standard font says of itself through IFont (Wine names the face it realised).
std::pair<std::wstring, float> NameAndSize(IDispatch* font) {
    ComPtr<IFont> ifont;
    ThrowIfFailed(font->QueryInterface(IID_PPV_ARGS(&ifont)), "IFont");
    Bstr name;
    CY size = {};
    ThrowIfFailed(ifont->get_Name(name.out()), "IFont::get_Name");
    ThrowIfFailed(ifont->get_Size(&size), "IFont::get_Size");
    return {name.str(), static_cast<float>(static_cast<double>(size.int64) / 10000.0)};
}

std::wstring FamilyNameOf(GpFont* font) {
    GpFontFamily* family = nullptr;
    WCHAR name[LF_FACESIZE] = {};
    if (GdipGetFamily(font, &family) != Ok) return L"";
    GdipGetFamilyName(family, name, LANG_NEUTRAL);
    GdipDeleteFontFamily(family);
    return name;
}

class GraphicsFontTest : public ::testing::Test {
protected:
    RecordingSession rec;
};

TEST_F(GraphicsFontTest, DrawImageRectIScalesTheWholeImageIntoTheRectangle) {
    UniqueWindow window = MakeWindow(160, 140);
    cBitmap b;
    b.gdip = rec.session;
    cGraphics g;
    ASSERT_EQ(g.CreateFromHWND(window.get()), 0);
    ASSERT_EQ(b.LoadFromFile(ImagingData(L"red32.png")), 0);
    ASSERT_EQ(g.DrawImageRectI(b.Handle(), 20, 30, 64, 64), 0);
    b.Dispose();
    g.ReleaseDC();
    g.Dispose();

    // Scaling may blend the outermost pixels with the background: covered = not white.
    int row = 0;
    int column = 0;
    for (int x = 0; x < 160; ++x) row += PixelOf(window.get(), x, 62) != kWhite ? 1 : 0;
    for (int y = 0; y < 140; ++y) column += PixelOf(window.get(), 52, y) != kWhite ? 1 : 0;
    EXPECT_EQ(row, 64);
    EXPECT_EQ(column, 64);
    EXPECT_EQ(PixelOf(window.get(), 20, 30), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(window.get(), 84, 62), kWhite);
    EXPECT_EQ(PixelOf(window.get(), 52, 94), kWhite);
}

TEST_F(GraphicsFontTest, ReleaseDCWithoutADeviceContextRecordsWhatGdiplusSays) {
    ScopedMemoryDC dc(nullptr);
    cGraphics unlinked;
    ASSERT_EQ(unlinked.CreateFromHdc(dc.get()), 0);
    unlinked.ReleaseDC();
    EXPECT_NE(unlinked.CurErr(), 0);
    EXPECT_TRUE(rec.errors.empty());

    cGraphics linked;
    linked.gdip = rec.session;
    ASSERT_EQ(linked.CreateFromHdc(dc.get()), 0);
    linked.ReleaseDC();
    ASSERT_EQ(rec.errors.size(), 1u);
    EXPECT_EQ(rec.errors[0].status, unlinked.CurErr());
    EXPECT_EQ(rec.errors[0].className, L"cGraphics");
    EXPECT_EQ(linked.ResetTransform(), 0);
    EXPECT_EQ(linked.CurErr(), 0);
}

TEST_F(GraphicsFontTest, HeldDeviceContextDrawsOnTheImageAndGoesBackFirst) {
    cBitmap canvas;
    ASSERT_EQ(canvas.CreateFromScan0(8, 8, 0, PixelFormat32bppARGB, nullptr), 0);
    {
        cGraphics g;
        ASSERT_EQ(g.GetGraphicsContext(canvas.Handle()), 0);
        HDC dc = g.GetDC();
        ASSERT_NE(dc, nullptr);
        RECT all = {0, 0, 8, 8};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        g.ReleaseDC();
        EXPECT_EQ(g.CurErr(), 0);
        EXPECT_EQ(canvas.GetPixelLong(3, 3), 0xFF000000u);
        // Released with a DC out: GDI+ refuses to delete a context in that state, so the
        // DC must go back first. From here only a crash or a stuck image would show.
        ASSERT_NE(g.GetDC(), nullptr);
    }
    cGraphics again;
    ASSERT_EQ(again.GetGraphicsContext(canvas.Handle()), 0);
    EXPECT_EQ(again.Clear(), 0);
    EXPECT_EQ(canvas.GetPixelLong(3, 3) >> 24, 0u);
}

TEST_F(GraphicsFontTest, CreateFontUsesTheGenericSansSerifFamilyAndKeepsTheFace) {
    GpFontFamily* generic = nullptr;
    const GpStatus genericStatus = GdipGetGenericFontFamilySansSerif(&generic);
    WCHAR genericName[LF_FACESIZE] = {};
    if (generic) GdipGetFamilyName(generic, genericName, LANG_NEUTRAL);
    if (generic) GdipDeleteFontFamily(generic);

    // A serif face: Times New Roman where installed, else the one Wine depends on.
    auto standard = MakeStdFont(L"Times New Roman", 12, true);
    if (NameAndSize(standard.Get()).first != L"Times New Roman")
        standard = MakeStdFont(L"Liberation Serif", 12, true);
    const auto [face, points] = NameAndSize(standard.Get());
    ASSERT_NE(face, genericName);

    cFont f;
    f.gdip = rec.session;
    const long status = f.CreateFont(standard.Get());
    EXPECT_EQ(f.Name(), face);
    EXPECT_FLOAT_EQ(f.Size(), points);
    EXPECT_TRUE(f.Bold());
    EXPECT_TRUE(f.Italic());
    EXPECT_EQ(f.Style(), FontStyleRegular);
    EXPECT_EQ(f.Unit(), UnitPoint);
    if (genericStatus != Ok) {  // no sans-serif family here: reported, not hidden
        EXPECT_EQ(status, genericStatus);
        EXPECT_EQ(f.Handle(), nullptr);
        return;
    }
    ASSERT_EQ(status, 0);
    EXPECT_EQ(FamilyNameOf(f.Handle()), genericName);
    INT style = -1;
    REAL size = 0;
    Gdiplus::Unit unit = UnitWorld;
    GdipGetFontStyle(f.Handle(), &style);
    GdipGetFontSize(f.Handle(), &size);
    GdipGetFontUnit(f.Handle(), &unit);
    EXPECT_EQ(style, FontStyleRegular);  // the standard font's flags do not make the font
    EXPECT_FLOAT_EQ(size, points);
    EXPECT_EQ(unit, UnitPoint);
    EXPECT_TRUE(rec.errors.empty());
    f.Dispose();
    EXPECT_EQ(f.Handle(), nullptr);
    f.Dispose();
}

TEST_F(GraphicsFontTest, FontFromADeviceContextDrawsText) {
    ScopedMemoryDC dc(nullptr);
    UniqueGdi<HFONT> gdiFont(::CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                           DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ScopedSelectObject selected(dc.get(), gdiFont.get());
    WCHAR selectedFace[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.get(), LF_FACESIZE, selectedFace);
    auto standard = MakeStdFont(L"Liberation Mono", 9);
    cFont font;
    ASSERT_EQ(font.CreateFromHdc(dc.get(), standard.Get()), 0);
    EXPECT_EQ(FamilyNameOf(font.Handle()), selectedFace);
    EXPECT_EQ(font.Name(), NameAndSize(standard.Get()).first);
    EXPECT_EQ(font.Style(), FontStyleBold);

    cBitmap canvas;
    ASSERT_EQ(canvas.CreateFromScan0(48, 24, 0, PixelFormat32bppARGB, nullptr), 0);
    {
        cGraphics g;
        g.gdip = rec.session;
        ASSERT_EQ(g.GetGraphicsContext(canvas.Handle()), 0);
        ASSERT_EQ(g.Clear(), 0);
        ASSERT_EQ(g.DrawString(L"Wm", 0xFF000000u, font, 2, 2), 0);
        cFont none;
        EXPECT_NE(g.DrawString(L"Wm", 0xFF000000u, none), 0);
        EXPECT_EQ(rec.errors.size(), 1u);
    }
    int inked = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x) inked += (canvas.GetPixelLong(x, y) >> 24) != 0 ? 1 : 0;
    EXPECT_GT(inked, 20);
}

// Paints as the grid does them must give every object back. Wine keeps no GDI object
// counts, so committed memory is watched too: a 256 x 256 image left behind per paint
// would add about 50 MB.
TEST_F(GraphicsFontTest, RepeatedPaintsKeepTheProcessFlat) {
    const std::wstring file = ModuleFolder() + L"\\imaging-leak-test.png";
    {
        cBitmap big;
        ASSERT_EQ(big.CreateFromScan0(256, 256, 0, PixelFormat32bppARGB, nullptr), 0);
        const CLSID encoder = big.GetEncoderClsid(big.ExtensionExists(L"*.png"));
        ASSERT_EQ(big.SaveToFile(file, &encoder, nullptr), 0);
    }
    UniqueWindow window = MakeWindow(120, 100);
    auto standard = MakeStdFont(L"Arial", 10);
    auto paint = [&] {
        cBitmap b;
        b.gdip = rec.session;
        cGraphics g;
        g.CreateFromHWND(window.get());
        b.LoadFromFile(file);
        g.DrawImageRectI(b.Handle(), 4, 4, 64, 64);
        b.Dispose();
        b.LoadFromFile(file);
        b.LoadFromFile(file);  // over a held image, and one still held at the end
        cFont f;
        f.CreateFont(standard.Get());
        g.DrawString(L"x", 0xFF000000u, f, 70, 4);
        g.GetDC();
        g.ReleaseDC();
        g.Dispose();
    };
    auto committed = [] {
        PROCESS_MEMORY_COUNTERS counters = {};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
        return counters.PagefileUsage;
    };
    for (int i = 0; i < 20; ++i) paint();
    const DWORD gdiBefore = CurrentGuiCounts().gdi;
    const SIZE_T memoryBefore = committed();
    for (int i = 0; i < 200; ++i) paint();
    EXPECT_EQ(CurrentGuiCounts().gdi, gdiBefore);
    EXPECT_LT(committed(), memoryBefore + 8 * 1024 * 1024);
    EXPECT_TRUE(rec.errors.empty());
    ::DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace mivo::test
