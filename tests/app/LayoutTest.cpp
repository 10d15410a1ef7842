// The main window as designed: captions, fonts, menus and every control's pixel geometry.
#include "AppFixture.h"

#include <commctrl.h>

#include "mivo/BuildConfig.h"
#include "mivo/ScopedHandle.h"
#include "Twips.h"

namespace mivo::test {
namespace {

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[512];
    const int n = ::GetWindowTextW(hwnd, buf, 512);
    return std::wstring(buf, static_cast<size_t>(n));
}

// left, top, width, height relative to the parent's client area.
std::vector<int> Geometry(HWND hwnd) {
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t buf[128];
    const int n = ::GetMenuStringW(menu, position, buf, 128, MF_BYPOSITION);
    return std::wstring(buf, static_cast<size_t>(n));
}

class LayoutTest : public AppTest {};

TEST_F(LayoutTest, WindowCaptionsMenusAndFonts) {
    ASSERT_TRUE(StartForm());
    HWND w = form->hWnd();
    EXPECT_EQ(TextOf(w), L"Mivo - Holmfeld MSN Installer (beta)");
    RECT client;
    ::GetClientRect(w, &client);
    EXPECT_EQ(client.right, 585);
    EXPECT_EQ(client.bottom, 432);
    EXPECT_NE(::GetClassLongPtrW(w, GCLP_HICON), 0u);
    EXPECT_TRUE(::IsWindowVisible(w));

    ASSERT_EQ(TabCtrl_GetItemCount(form->SSTab1), 2);
    wchar_t buf[64];
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 64;
    TabCtrl_GetItem(form->SSTab1, 0, &item);
    EXPECT_STREQ(buf, L"Display Pictures");
    TabCtrl_GetItem(form->SSTab1, 1, &item);
    EXPECT_STREQ(buf, L"Emoticons");
    EXPECT_EQ(TabCtrl_GetCurSel(form->SSTab1), 0);

    EXPECT_EQ(TextOf(form->Frame1), L"Choose your display picture");
    EXPECT_EQ(TextOf(form->FrameEmo1), L"Choose your emoticon");
    EXPECT_EQ(TextOf(form->Frame2), L"Add to Messenger");
    EXPECT_EQ(TextOf(form->FrameEmo2), L"Add to Messenger");
    EXPECT_EQ(TextOf(form->cmdAddDisp), L"Add to my MSN Messenger");
    EXPECT_EQ(TextOf(form->cmdAddEmoticon), L"Add to my MSN Messenger");
    EXPECT_EQ(TextOf(form->Command1), L"Close");
    EXPECT_EQ(TextOf(form->Label1), std::wstring(L"This content is brought to you by ") + ContentBaseUrl);

    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(form->Label1, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");

    HMENU bar = ::GetMenu(w);
    ASSERT_EQ(::GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), L"&File");
    EXPECT_EQ(MenuText(bar, 1), L"&Actions");
    HMENU file = ::GetSubMenu(bar, 0);
    ASSERT_EQ(::GetMenuItemCount(file), 3);
    EXPECT_EQ(MenuText(file, 0), L"Clear temporary files");
    EXPECT_EQ(::GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(MenuText(file, 2), L"&Exit");
    HMENU action = ::GetSubMenu(bar, 1);
    ASSERT_EQ(::GetMenuItemCount(action), 2);
    EXPECT_EQ(MenuText(action, 0), L"Upload new emoticon");
    EXPECT_EQ(MenuText(action, 1), L"Upload new DP");
}

TEST_F(LayoutTest, ControlsStandAtTheirDesignPositionsInPixels) {
    ASSERT_TRUE(StartForm());
    using V = std::vector<int>;
    EXPECT_EQ(Geometry(form->SSTab1), (V{8, 8, 569, 385}));
    EXPECT_EQ(Geometry(form->Label1), (V{8, 400, 409, 25}));
    EXPECT_EQ(Geometry(form->Command1), (V{424, 400, 153, 25}));
    // Both tabs hold the same arrangement, offset by the tab control's position.
    const struct {
        HWND frame, list, backframe, picture, scroll, addFrame, add, banner;
    } tabs[] = {
        {form->Frame1, form->lstDispCats, form->backframe, form->DisplayList.hWnd(), form->scrollDisplay.hWnd(),
         form->Frame2, form->cmdAddDisp, form->Picture1.hWnd()},
        {form->FrameEmo1, form->lstEmoCats, form->backframeEmo, form->EmoticonList.hWnd(),
         form->scrollEmoticon.hWnd(), form->FrameEmo2, form->cmdAddEmoticon, form->PictureEmo1.hWnd()},
    };
    for (const auto& t : tabs) {
        EXPECT_EQ(Geometry(t.frame), (V{16, 40, 377, 329}));
        EXPECT_EQ(Geometry(t.list), (V{8, 16, 105, 303}));
        EXPECT_EQ(Geometry(t.backframe), (V{120, 16, 249, 305}));
        EXPECT_EQ(Geometry(t.picture), (V{0, 0, 233, 305}));
        EXPECT_EQ(Geometry(t.scroll), (V{232, 0, 17, 305}));
        EXPECT_EQ(Geometry(t.addFrame), (V{400, 40, 169, 65}));
        EXPECT_EQ(Geometry(t.add), (V{8, 16, 153, 41}));
        EXPECT_EQ(Geometry(t.banner), (V{400, 112, 169, 257}));
        RECT bannerClient;
        ::GetClientRect(t.banner, &bannerClient);
        EXPECT_EQ(bannerClient.right, 165);
        EXPECT_EQ(bannerClient.bottom, 253);
    }
    // Only the first tab's controls are shown at start.
    EXPECT_TRUE(::IsWindowVisible(form->Frame1));
    EXPECT_FALSE(::IsWindowVisible(form->FrameEmo1));
}

TEST_F(LayoutTest, GridIsWhiteAndTheBannerIsDrawn) {
    ASSERT_TRUE(StartForm());
    ::RedrawWindow(form->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages(50);
    {
        ScopedGetDC dc(form->DisplayList.hWnd());
        EXPECT_EQ(::GetPixel(dc.get(), 200, 300), RGB(255, 255, 255));
    }
    ScopedGetDC banner(form->Picture1.hWnd());
    EXPECT_NE(::GetPixel(banner.get(), 5, 5), ::GetSysColor(COLOR_BTNFACE));
}

// At 120 dpi (12 twips a pixel) the window lays itself out from the same twips, and the grid
// takes its cells from the picture box's real width and its range from the frame's height.
TEST_F(LayoutTest, At120DpiControlsAndCellsFollowTheResolution) {
    if (!At120Dpi()) {
        EXPECT_TRUE(RunAgainAt120Dpi()) << "the checks at 120 dpi failed: see the output above";
        return;
    }
    ASSERT_EQ(WindowTwipsPerPixel().x, 12);
    ASSERT_TRUE(StartForm());
    using V = std::vector<int>;
    RECT client;
    ::GetClientRect(form->hWnd(), &client);
    EXPECT_EQ((V{client.right, client.bottom}), (V{731, 540}));
    EXPECT_EQ(Geometry(form->SSTab1), (V{10, 10, 711, 481}));
    EXPECT_EQ(Geometry(form->Command1), (V{530, 500, 191, 31}));
    EXPECT_EQ(Geometry(form->backframe), (V{150, 20, 311, 381}));
    EXPECT_EQ(Geometry(form->DisplayList.hWnd()), (V{0, 0, 291, 381}));
    EXPECT_EQ(Geometry(form->scrollDisplay.hWnd()), (V{290, 0, 21, 381}));

    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(8)));
    const auto& items = form->catalogue.listItems;
    ASSERT_EQ(items.Count(), 8);
    EXPECT_EQ(items.Item(2)->itemwidth, 106);
    EXPECT_EQ(items.Item(2)->left, 146);
    EXPECT_EQ(items.Item(3)->top, 90);
    EXPECT_EQ(form->DisplayList.HeightPixels(), 400);
    EXPECT_EQ(form->scrollDisplay.Max(), 19);
    // A click at pixel (150, 10) arrives as twips and hits the second cell.
    ClickGrid(ItemKind::Display, 150, 10);
    EXPECT_TRUE(items.Item(2)->selected);
}

}  // namespace
}  // namespace mivo::test
