// Configure opens an About window each time; the windows live on their own.
#include <gtest/gtest.h>

#include <vector>

#include "PluginTestSupport.h"
#include "TestSupport.h"
#include "frmAbout.h"

namespace mivo::test {
namespace {

using mivo::plugin::frmAbout;

BOOL CALLBACK CollectAbout(HWND hwnd, LPARAM found) {
    wchar_t caption[64] = {};
    ::GetWindowTextW(hwnd, caption, 64);
    if (::IsWindowVisible(hwnd) && std::wstring(caption) == L"About Mivo Plugin")
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> AboutWindows() {
    std::vector<HWND> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectAbout, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring TextOf(HWND control) {
    wchar_t text[256] = {};
    ::GetWindowTextW(control, text, 256);
    return text;
}

RECT ClientRectOf(HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectRect(const RECT& r, LONG left, LONG top, LONG width, LONG height) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

TEST(About, EachConfigureOpensAnIndependentWindowThatCommand1Closes) {
    ASSERT_TRUE(AboutWindows().empty());
    auto plugin = CreateRegisteredPlugin();
    for (int i = 0; i < 2; ++i) {
        Args none;
        const Outcome got = Call(plugin.Get(), L"Configure", none);
        ASSERT_EQ(got.hr, S_OK);
        EXPECT_EQ(got.resultType, VT_EMPTY);
    }
    plugin.Reset();  // the windows do not depend on the object
    PumpMessages(100);
    std::vector<HWND> windows = AboutWindows();
    ASSERT_EQ(windows.size(), 2u);

    for (HWND window : windows) {
        EXPECT_FALSE(::IsIconic(window));
        RECT client;
        ::GetClientRect(window, &client);
        ExpectRect(client, 0, 0, 312, 213);  // 4680 x 3195 twips
        HWND label1 = ::GetDlgItem(window, frmAbout::IDC_Label1);
        HWND label2 = ::GetDlgItem(window, frmAbout::IDC_Label2);
        HWND command1 = ::GetDlgItem(window, frmAbout::IDC_Command1);
        ASSERT_TRUE(label1 && label2 && command1);
        EXPECT_EQ(TextOf(label1),
                  L"This plugin is a part of Mivo, a free program made for MSN Messenger users. The content is "
                  L"brought to you by the Holmfeld network. Part of Tarrow BVBA (Belgium).");
        // the version numbers of the DLL's resource (text "0.09.0002"), after the design text
        EXPECT_EQ(TextOf(label2), L"Mivo Plugin version:  0.9.2");
        EXPECT_EQ(TextOf(command1), L"Close");
        ExpectRect(ClientRectOf(label1), 8, 8, 297, 41);
        ExpectRect(ClientRectOf(label2), 8, 64, 217, 17);
        ExpectRect(ClientRectOf(command1), 96, 176, 105, 25);
    }

    ::SendMessageW(::GetDlgItem(windows[0], frmAbout::IDC_Command1), BM_CLICK, 0, 0);
    PumpMessages(50);
    EXPECT_FALSE(::IsWindow(windows[0]));
    ASSERT_TRUE(::IsWindow(windows[1]));
    ::SendMessageW(::GetDlgItem(windows[1], frmAbout::IDC_Command1), BM_CLICK, 0, 0);
    PumpMessages(50);
    EXPECT_TRUE(AboutWindows().empty());
}

}  // namespace
}  // namespace mivo::test
