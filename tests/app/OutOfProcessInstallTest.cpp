// Installing with Messenger's class served by a process of its own, as Messenger serves it:
// the installer's process ends between installs and during one, and the window runs while
// a call waits. Only where the class is registered as a local server.
#include "AppFixture.h"
#include "InstallerTestbed.h"
#include "mivo/BuildConfig.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace mivo::test {
namespace {

using mivo::ItemKind;

std::wstring Package(const wchar_t* path) { return std::wstring(ContentBaseUrl) + path; }

const wchar_t kFailureTitle[] = L"Mivo";

class OutOfProcessInstallTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        if (!InstallerOutOfProcess()) GTEST_SKIP() << "the content installer is registered in-process here";
    }

    // The completion event crosses processes: it is waited for, a little.
    void PressAdd(ItemKind kind) {
        const size_t before = InstalledMessages();
        ::SendMessageW(kind == ItemKind::Display ? form->cmdAddDisp : form->cmdAddEmoticon, BM_CLICK, 0, 0);
        for (int wait = 0; wait < 40 && InstalledMessages() == before; ++wait) PumpMessages(50);
    }
    size_t Boxes(const wchar_t* title) const {
        size_t n = 0;
        for (const auto& b : boxes.shown()) n += b.title == title ? 1 : 0;
        return n;
    }
    size_t InstalledMessages() const { return Boxes(L"Installation succeeded"); }
    size_t Installed() const {
        size_t n = 0;
        for (const InstallerLogLine& line : ReadInstallerLog()) n += line.result == L"0" ? 1 : 0;
        return n;
    }
};

TEST_F(OutOfProcessInstallTest, AnInstallerWhoseProcessEndedIsMadeAnew) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}, {"102", "png", "B"}}));
    ClickGrid(ItemKind::Display, 30, 30);
    PressAdd(ItemKind::Display);
    std::vector<InstallerLogLine> log = ReadInstallerLog();
    ASSERT_EQ(log.size(), 1u);
    const DWORD first = log[0].process;
    EXPECT_NE(first, ::GetCurrentProcessId());

    ASSERT_TRUE(QuitInstallerProcess(first));  // Messenger quits; the window still holds its object
    PressAdd(ItemKind::Display);
    log = ReadInstallerLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], (InstallerLogLine{L"0", Package(L"/cabs/cabdp101.cab")}));
    EXPECT_NE(log[1].process, first);  // COM started a new server for it
    EXPECT_EQ(InstalledMessages(), 2u);
    EXPECT_EQ(Boxes(kFailureTitle), 0u);

    // Gone again, and Messenger no longer registered: the failure is told, nothing installed.
    ASSERT_TRUE(QuitInstallerProcess(log[1].process));
    {
        const UnregisteredInstallerServer unregistered;
        PressAdd(ItemKind::Display);
    }
    EXPECT_EQ(ReadInstallerLog().size(), 2u);
    EXPECT_EQ(Boxes(kFailureTitle), 1u);
    // Registered again: the window makes its installer at the next install.
    DoubleClickGrid(ItemKind::Display, 130, 30);
    for (int wait = 0; wait < 40 && InstalledMessages() < 3; ++wait) PumpMessages(50);
    log = ReadInstallerLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], (InstallerLogLine{L"0", Package(L"/cabs/cabdp102.cab")}));
    EXPECT_EQ(InstalledMessages(), 3u);
    EXPECT_EQ(boxes.shown().size(), 4u);
}

TEST_F(OutOfProcessInstallTest, AnInstallDuringWhichTheServerEndsIsReportedAndTheNextWorks) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    ClickGrid(ItemKind::Display, 30, 30);
    SetInstallerKnob(L"EndInInstall", 1);
    PressAdd(ItemKind::Display);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, kFailureTitle);
    const std::vector<InstallerLogLine> ended = ReadInstallerLog();
    ASSERT_FALSE(ended.empty());
    for (const InstallerLogLine& line : ended) EXPECT_EQ(line.result, L"ENDED");

    ClearInstallerKnobs();
    PressAdd(ItemKind::Display);
    EXPECT_EQ(ReadInstallerLog().back(), (InstallerLogLine{L"0", Package(L"/cabs/cabdp101.cab")}));
    EXPECT_EQ(InstalledMessages(), 1u);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

// While a slow install call waits, COM runs the messages sent to the window (and its
// paints): what they do runs inside the window's own call. Another thread acts meanwhile,
// through messages only. Posted input waits in the queue until the call has returned.
class SlowInstallTest : public OutOfProcessInstallTest {
protected:
    static constexpr DWORD kSlowMs = 2500;

    void PressAddWhile(ItemKind kind, const std::function<void()>& meanwhile) {
        SetInstallerKnob(L"SlowInstall", kSlowMs);
        std::thread user([&] {
            ::Sleep(500);  // the call is under way
            meanwhile();
        });
        const DWORD start = ::GetTickCount();
        PressAdd(kind);
        user.join();
        ClearInstallerKnobs();
        EXPECT_GE(::GetTickCount() - start, kSlowMs);
        PumpMessages(200);
    }
    // Answered inside the call; false when the window did not answer within 1 s.
    static bool Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 1000, &result) != 0;
    }
    static bool SendClick(HWND window, POINT at, bool twice = false) {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        bool answered = Send(window, WM_LBUTTONDOWN, MK_LBUTTON, where) && Send(window, WM_LBUTTONUP, 0, where);
        if (twice) answered = answered && Send(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where) &&
                              Send(window, WM_LBUTTONUP, 0, where);
        return answered;
    }
};

TEST_F(SlowInstallTest, TheWindowAnswersAndFurtherPressesNeitherDoubleNorLoseTheSelection) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}, {"102", "png", "B"}}));
    ClickGrid(ItemKind::Display, 30, 30);
    const HWND window = form->hWnd(), button = form->cmdAddDisp, grid = form->DisplayList.hWnd();
    DWORD answeredIn = INFINITE;
    bool answered = false;
    PressAddWhile(ItemKind::Display, [&] {
        const DWORD start = ::GetTickCount();
        if (Send(window, WM_NULL)) answeredIn = ::GetTickCount() - start;
        // Inside the call: a press, and a double click on the other cell.
        answered = Send(button, BM_CLICK) && SendClick(grid, {130, 30}, true);
        ::PostMessageW(button, BM_CLICK, 0, 0);  // a press that waits for the call's end
    });
    EXPECT_LT(answeredIn, 1000u);
    EXPECT_TRUE(answered);
    // The call under way stood for the presses inside it; the one after it installs the
    // selection the double click made.
    EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp101.cab")},
                                                                {L"0", Package(L"/cabs/cabdp102.cab")}}));
    EXPECT_FALSE(form->catalogue.listItems.Item(1)->selected);
    EXPECT_TRUE(form->catalogue.listItems.Item(2)->selected);
    for (int wait = 0; wait < 40 && InstalledMessages() < 2; ++wait) PumpMessages(50);
    EXPECT_EQ(InstalledMessages(), 2u);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(SlowInstallTest, ATabChangeAndAnotherCategoryMeanwhileLeaveTheGridsConsistent) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    ClickGrid(ItemKind::Display, 30, 30);
    ServeItems(ItemKind::Emoticon, 2, EmoticonList({{"501", "png", "Smile"}, {"502", "png", "Wink"}}));
    RECT tab{}, entry{};
    TabCtrl_GetItemRect(form->SSTab1, 1, &tab);
    ::SendMessageW(form->lstEmoCats, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
    const HWND tabs = form->SSTab1, emoCats = form->lstEmoCats;
    bool answered = false;
    PressAddWhile(ItemKind::Display, [&] {
        answered = SendClick(tabs, {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}) &&
                   SendClick(emoCats, {(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2});
    });
    EXPECT_TRUE(answered);
    EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp101.cab")}}));
    EXPECT_EQ(InstalledMessages(), 1u);
    // The emoticon tab shows the category loaded meanwhile, and installs from it.
    EXPECT_EQ(TabCtrl_GetCurSel(form->SSTab1), 1);
    ASSERT_EQ(form->catalogue.listItems.Count(), 2);
    EXPECT_EQ(form->catalogue.listItems.Item(2)->id, L"502");
    ClickGrid(ItemKind::Emoticon, 30, 20);
    PressAdd(ItemKind::Emoticon);
    EXPECT_EQ(ReadInstallerLog().back(), (InstallerLogLine{L"0", Package(L"/cabs/cabemo501.cab")}));
    EXPECT_EQ(InstalledMessages(), 2u);
}

TEST_F(SlowInstallTest, ClosingTheWindowMeanwhileEndsItOnceTheCallHasReturned) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    ClickGrid(ItemKind::Display, 30, 30);
    bool unloaded = false;
    form->onUnloaded = [&] { unloaded = true; };
    const HWND window = form->hWnd();
    bool answered = false;
    PressAddWhile(ItemKind::Display, [&] { answered = Send(window, WM_CLOSE); });
    EXPECT_TRUE(answered);
    EXPECT_TRUE(unloaded);
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(form->installer);
    EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr);
    EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp101.cab")}}));
    EXPECT_EQ(Boxes(kFailureTitle), 0u);
}

}  // namespace
}  // namespace mivo::test
