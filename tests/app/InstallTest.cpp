// Installing through the content installer stand-in: what reaches it, the completion
// messages, double clicks, and the installer's failures.
#include "AppFixture.h"
#include "InstallerTestbed.h"
#include "mivo/BuildConfig.h"

#include <optional>
#include <string>
#include <vector>

namespace mivo::test {
namespace {

using mivo::ItemKind;

std::wstring Package(const wchar_t* path) { return std::wstring(ContentBaseUrl) + path; }

class InstallTest : public AppTest {
protected:
    void PressAdd(ItemKind kind) {
        ::SendMessageW(kind == ItemKind::Display ? form->cmdAddDisp : form->cmdAddEmoticon, BM_CLICK, 0, 0);
        PumpMessages(100);  // the completion event is posted: let it arrive
    }
    void Click(ItemKind kind, int x, int y) { ClickGrid(kind, x, y); }
    void DoubleClick(ItemKind kind, int x, int y) {
        DoubleClickGrid(kind, x, y);
        PumpMessages(100);  // the completion event is posted: let it arrive
    }
    size_t InstalledMessages() const {
        size_t n = 0;
        for (const auto& b : boxes.shown())
            if (b.text == L"The content has been installed" && b.title == L"Installation succeeded" &&
                b.flags == static_cast<UINT>(MB_OK | MB_ICONINFORMATION))
                ++n;
        return n;
    }
    std::vector<std::string> PackageRequests() {
        std::vector<std::string> paths;
        for (const auto& r : server.Log())
            if (r.path.rfind("/cabs/", 0) == 0) paths.push_back(r.method + " " + r.path);
        return paths;
    }
};

TEST_F(InstallTest, TheSelectedItemOfEachKindInstallsExactlyItsPackage) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}, {"102", "png", "B"}}));
    PressAdd(ItemKind::Display);  // nothing selected yet
    EXPECT_TRUE(ReadInstallerLog().empty());

    Click(ItemKind::Display, 130, 30);
    PressAdd(ItemKind::Display);
    LoadCategory(ItemKind::Emoticon, 1, EmoticonList({{"501", "png", "Smile"}}));
    Click(ItemKind::Emoticon, 30, 20);
    PressAdd(ItemKind::Emoticon);

    EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp102.cab")},
                                                                {L"0", Package(L"/cabs/cabemo501.cab")}}));
    // The installer fetched the packages itself; the program never did.
    EXPECT_EQ(PackageRequests(), (std::vector<std::string>{"GET /cabs/cabdp102.cab", "GET /cabs/cabemo501.cab"}));
    EXPECT_EQ(InstalledMessages(), 2u);
}

TEST_F(InstallTest, AfterATabChangeTheButtonDoesNothingUntilANewLoad) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    Click(ItemKind::Display, 30, 30);
    ClickTab(1);
    ClickTab(0);
    PressAdd(ItemKind::Display);
    EXPECT_TRUE(ReadInstallerLog().empty());
}

TEST_F(InstallTest, AnIdReachesTheInstallerExactlyAsReceived) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"7 a&amp;b%20?#", "png", "Odd"}}));
    Click(ItemKind::Display, 30, 30);
    PressAdd(ItemKind::Display);
    const auto log = ReadInstallerLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].url, Package(L"/cabs/cabdp7 a&b%20?#.cab"));
    EXPECT_NE(log[0].result, L"0");
    EXPECT_EQ(InstalledMessages(), 0u);  // a failed installation is not announced
}

TEST_F(InstallTest, ANonZeroCompletionShowsNothing) {
    SetInstallerKnob(L"EventResult", 5);
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    Click(ItemKind::Display, 30, 30);
    PressAdd(ItemKind::Display);
    EXPECT_EQ(ReadInstallerLog().size(), 1u);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(InstallTest, AFailingInstallCallIsReportedAndTheWindowStaysUsable) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    Click(ItemKind::Display, 30, 30);
    SetInstallerKnob(L"FailInstall", 1);
    PressAdd(ItemKind::Display);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, L"Mivo");
    EXPECT_EQ(InstalledMessages(), 0u);
    ClearInstallerKnobs();
    PressAdd(ItemKind::Display);
    EXPECT_EQ(ReadInstallerLog().back(), (InstallerLogLine{L"0", Package(L"/cabs/cabdp101.cab")}));
    EXPECT_EQ(InstalledMessages(), 1u);
}

// The longest lists reach below y 32,767, where mouse messages wrap their 16-bit coordinates.
TEST_F(InstallTest, TheLastCellsOfTheLongestListsSelectAndInstall) {
    ASSERT_TRUE(StartForm());
    struct Case {
        ItemKind kind;
        int count, lastTop, hitHeight;
        const wchar_t* package;
    };
    for (const Case& c : {Case{ItemKind::Display, 730, 32760, 93, L"/cabs/cabdp01729.cab"},
                          Case{ItemKind::Emoticon, 1192, 32725, 55, L"/cabs/cabemo02191.cab"}}) {
        const auto list = ZeroLedItems(c.count, 1000);
        LoadCategory(c.kind, 1, c.kind == ItemKind::Display ? DisplayList(list) : EmoticonList(list));
        form->GridOf(c.kind).scroll.SetValue(c.lastTop - 100);
        const int x = form->catalogue.listItems.Item(c.count)->left + 10, bottom = c.lastTop + c.hitHeight - 1;
        Click(c.kind, x, c.lastTop + c.hitHeight);  // just below the last cell: nothing
        EXPECT_FALSE(form->catalogue.listItems.Item(c.count)->selected);
        Click(c.kind, x, bottom);
        EXPECT_TRUE(form->catalogue.listItems.Item(c.count)->selected);
        DoubleClick(c.kind, x, bottom);
        EXPECT_EQ(ReadInstallerLog().back().url, Package(c.package));
    }
}

TEST_F(InstallTest, ADoubleClickOnACellInstallsItOnceAndOnlyThen) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}, {"102", "png", "B"}}));
    Click(ItemKind::Display, 30, 30);  // a single click selects, installs nothing
    EXPECT_TRUE(ReadInstallerLog().empty());
    DoubleClick(ItemKind::Display, 130, 30);  // the other cell: it becomes the selection and installs
    EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp102.cab")}}));
    EXPECT_TRUE(form->catalogue.listItems.Item(2)->selected);
    EXPECT_FALSE(form->catalogue.listItems.Item(1)->selected);
    Click(ItemKind::Display, 30, 30);
    DoubleClick(ItemKind::Display, 200, 250);  // empty space
    Click(ItemKind::Display, 30, 30);          // the following single click
    EXPECT_EQ(ReadInstallerLog().size(), 1u);
    EXPECT_EQ(InstalledMessages(), 1u);

    LoadCategory(ItemKind::Emoticon, 1, EmoticonList({{"501", "png", "Smile"}}));
    DoubleClick(ItemKind::Emoticon, 30, 20);
    EXPECT_EQ(ReadInstallerLog().back(), (InstallerLogLine{L"0", Package(L"/cabs/cabemo501.cab")}));
}

TEST_F(InstallTest, StartUpWithoutTheInstallerEndsBeforeAnyRequest) {
    SetInstallerKnob(L"FailCreate", 1);
    EXPECT_FALSE(StartForm());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, L"Critical error");
    EXPECT_TRUE(server.Log().empty());
    EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr);
}

TEST_F(InstallTest, ClosingTheWindowInsideTheInstallCallEndsCleanly) {
    for (int way = 0; way < 2; ++way) {  // the button, a double click
        ClearInstallerLog();
        ASSERT_TRUE(StartForm());
        LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
        bool unloaded = false;
        form->onUnloaded = [&] { unloaded = true; };
        SetInstallerKnob(L"CloseWindowsInInstall", 1);
        if (way == 0) {
            Click(ItemKind::Display, 30, 30);
            PressAdd(ItemKind::Display);
        } else {
            DoubleClick(ItemKind::Display, 30, 30);
        }
        ClearInstallerKnobs();
        EXPECT_TRUE(unloaded) << way;
        EXPECT_FALSE(form->Loaded());
        EXPECT_FALSE(form->installer);
        // The installer lived to the end of its call; its completion went with the window.
        EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp101.cab")}})) << way;
        EXPECT_TRUE(boxes.shown().empty()) << way;
        form.reset();
    }
}

TEST_F(InstallTest, ShutdownReleasesTheInstallerAndLeavesNoWindow) {
    for (int way = 0; way < 3; ++way) {
        ASSERT_TRUE(StartForm());
        LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
        bool unloaded = false;
        form->onUnloaded = [&] { unloaded = true; };
        if (way == 0) ::SendMessageW(form->Command1, BM_CLICK, 0, 0);
        if (way == 1) ::SendMessageW(form->hWnd(), WM_CLOSE, 0, 0);
        if (way == 2) ::SendMessageW(form->hWnd(), WM_COMMAND, MAKEWPARAM(201, 0), 0);  // "&Exit"
        EXPECT_TRUE(unloaded) << way;
        EXPECT_FALSE(form->Loaded());
        EXPECT_FALSE(form->installer);
        EXPECT_FALSE(form->gdip);
        EXPECT_FALSE(form->catalogue.xmlHttp);
        EXPECT_EQ(form->catalogue.listItems.Count(), 0);
        EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr);
        form.reset();
    }
}

// Installers that describe less of themselves than the stand-in does by default.
struct Description {
    const char* name;
    std::vector<const wchar_t*> knobs;
    bool hideTypeLib;
};

void PrintTo(const Description& d, std::ostream* out) { *out << d.name; }

class InstallerDescriptionTest : public InstallTest, public ::testing::WithParamInterface<Description> {};

TEST_P(InstallerDescriptionTest, TheCompletionArrives) {
    for (const wchar_t* knob : GetParam().knobs) SetInstallerKnob(knob, 1);
    std::optional<HiddenInstallerTypeLib> hidden;
    if (GetParam().hideTypeLib) hidden.emplace();
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}}));
    Click(ItemKind::Display, 30, 30);
    PressAdd(ItemKind::Display);
    EXPECT_EQ(ReadInstallerLog(), (std::vector<InstallerLogLine>{{L"0", Package(L"/cabs/cabdp101.cab")}}));
    // Where the events are named, an event of another name is not taken for the completion.
    EXPECT_EQ(InstalledMessages(), 1u);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Installers, InstallerDescriptionTest,
    ::testing::Values(
        Description{"ClassInfoFromTheRegisteredTypeLibrary",
                    {L"HideClassInfo", L"HideConnectionPointList", L"OtherEvent"},
                    false},
        Description{"TheListedConnectionPointNamedByTheObjectsTypeInfo", {L"HideClassInfo", L"OtherEvent"}, true},
        Description{"TheListedConnectionPointWithNoTypeInfo", {L"HideClassInfo", L"HideTypeInfo"}, true}),
    [](const ::testing::TestParamInfo<Description>& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace mivo::test
