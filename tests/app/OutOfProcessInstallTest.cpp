// Installing with Messenger's class served by a process of its own, as Messenger serves it:
// the installer's process ends between installs and during one. Only where the class is
// registered as a local server.
#include "AppFixture.h"
#include "InstallerTestbed.h"
#include "mivo/BuildConfig.h"

#include <string>
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

}  // namespace
}  // namespace mivo::test
