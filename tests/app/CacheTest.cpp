// The thumbnail cache: which files are fetched, what the pass marks, and how it behaves when
// window events change the list under it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <thread>

#include "AppFixture.h"
#include "ForgedPictures.h"
#include "ControlIds.h"
#include "ThumbnailCache.h"
#include "mivo/ScopedHandle.h"

namespace mivo::test {
namespace {

using mivo::ItemKind;

std::vector<Item> Landscapes(int count) {
    const char* types[] = {"jpg", "png", "gif", "jpg", "gif", "png", "png", "jpg", "gif", "jpg"};
    std::vector<Item> items;
    for (int i = 0; i < count; ++i) items.push_back({std::to_string(101 + i), types[i], "Landscape"});
    return items;
}

// A black 24-bit BMP of that size.
std::string Bmp(int width, int height) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(height);
    std::string b(54 + pixels, '\0');
    auto put = [&b](size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, 54 + pixels, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, pixels, 4);
    return b;
}

class CacheTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder_ = xmlRequests::CacheFolder();
        EmptyCache();
    }
    void TearDown() override {
        AppTest::TearDown();
        EmptyCache();
    }
    void EmptyCache() {
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((folder_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring path = folder_ + data.cFileName;
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW(path.c_str());
            else if (data.cFileName[0] != L'.') ::RemoveDirectoryW(path.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    std::vector<std::wstring> CacheFiles() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((folder_ + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Downloads() {
        std::vector<std::string> paths;
        for (const auto& r : server.Log())
            if (r.path.rfind("/getdisplay.php", 0) == 0 || r.path.rfind("/getemoticon.php", 0) == 0)
                paths.push_back(r.path);
        return paths;
    }
    std::vector<bool> Fotos() {
        std::vector<bool> marks;
        for (long i = 1; i <= form->catalogue.listItems.Count(); ++i) marks.push_back(form->catalogue.listItems.Item(i)->foto);
        return marks;
    }
    std::wstring folder_;
};

TEST_F(CacheTest, MissingThumbnailsAreFetchedOnceAndCachedFilesCostNoTraffic) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(3)));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=101", "/getdisplay.php?emoid=102",
                                                     "/getdisplay.php?emoid=103"}));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg", L"display102.png", L"display103.gif"}));
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, true, true}));
    // The files are the server's bytes, stored as received.
    EXPECT_EQ(ReadFileBytes(folder_ + L"display102.png"),
              ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\thumbs\\dp102.png"));

    server.Reset();
    LoadCategory(ItemKind::Display, 2, DisplayList(Landscapes(3)));
    EXPECT_TRUE(Downloads().empty());
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, true, true}));

    // Emptied cache: everything is fetched again.
    EmptyCache();
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(3)));
    EXPECT_EQ(Downloads().size(), 3u);
}

TEST_F(CacheTest, EmoticonsUseTheirOwnEndpointAndFileNames) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Emoticon, 1, EmoticonList({{"501", "png", "Smile"}, {"502", "gif", "Wink"}}));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getemoticon.php?emoid=501", "/getemoticon.php?emoid=502"}));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"emoticon501.png", L"emoticon502.gif"}));
}

TEST_F(CacheTest, AnEmptyListFetchesNothing) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({}));
    EXPECT_TRUE(Downloads().empty());
}

TEST_F(CacheTest, AFailedDownloadMarksTheItemLeavesNoFileAndThePassGoesOn) {
    ASSERT_TRUE(StartForm());
    TestServer::Control("POST", "/override", "{\"path\":\"/getdisplay.php?emoid=102\",\"drop\":true}");
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(3)));
    EXPECT_EQ(Downloads().size(), 3u);
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, true, true}));
    // No partial file under the cache name, and no temporary file left behind.
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg", L"display103.gif"}));
    // The next load tries the missing one again.
    server.Reset();
    LoadCategory(ItemKind::Display, 2, DisplayList(Landscapes(3)));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=102"}));
}

TEST_F(CacheTest, ErrorPagesCutOffBodiesAndPagesThatAreNoPictureAreNeverCached) {
    ASSERT_TRUE(StartForm());
    server.ThumbnailAnswer("display", 102, "404");
    server.ThumbnailAnswer("display", 103, "500");
    server.ThumbnailAnswer("display", 104, "cut");
    server.ThumbnailAnswer("display", 105, "html");
    // Each of these two is a picture that decodes: only the status, or only the length, tells.
    server.ThumbnailAnswer("display", 107, "404-picture");
    server.ThumbnailAnswer("display", 108, "announced-longer");
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(8)));
    EXPECT_EQ(Downloads().size(), 8u);
    EXPECT_EQ(Fotos(), (std::vector<bool>(8, true)));
    // Nothing under the cache names, and no temporary file left behind.
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg", L"display106.png"}));
    // The next load fetches exactly the ones that failed, and this time they are kept.
    server.Reset();
    LoadCategory(ItemKind::Display, 2, DisplayList(Landscapes(8)));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=102", "/getdisplay.php?emoid=103",
                                                     "/getdisplay.php?emoid=104", "/getdisplay.php?emoid=105",
                                                     "/getdisplay.php?emoid=107", "/getdisplay.php?emoid=108"}));
    EXPECT_EQ(CacheFiles().size(), 8u);
}

// The download asks for the newest version: the platform asks for the whole picture again
// instead of whether its cached copy changed, so a server that answers such questions with
// 304 Not Modified never has one, and the picture is stored again after the cache was emptied.
TEST_F(CacheTest, AThumbnailTheServerConfirmsUnchangedIsStoredAgainAfterTheCacheWasEmptied) {
    ASSERT_TRUE(StartForm());
    server.ThumbnailAnswer("display", 101, "validated");
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(1)));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg"}));
    EmptyCache();
    LoadCategory(ItemKind::Display, 2, DisplayList(Landscapes(1)));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg"}));
}

TEST_F(CacheTest, PicturesTooLargeForAThumbnailAreRefused) {
    ASSERT_TRUE(StartForm());
    server.OverrideBinary("/getdisplay.php?emoid=101", 200, Bmp(8192, 1), "image/bmp");
    server.OverrideBinary("/getdisplay.php?emoid=102", 200, Bmp(8193, 1), "image/bmp");
    server.OverrideBinary("/getdisplay.php?emoid=103", 200, Bmp(1, 8193), "image/bmp");
    server.OverrideBinary("/getdisplay.php?emoid=104", 200, Bmp(1200, 1200), "image/bmp");  // over 4 MiB
    server.OverrideBinary("/getdisplay.php?emoid=105", 200, Bmp(794, 1500), "image/bmp");   // 3.4 MiB, tall
    LoadCategory(ItemKind::Display, 1,
                 DisplayList({{"101", "bmp", "A"}, {"102", "bmp", "B"}, {"103", "bmp", "C"}, {"104", "bmp", "D"},
                              {"105", "bmp", "E"}}));
    EXPECT_EQ(Downloads().size(), 5u);
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.bmp", L"display105.bmp"}));
}

// Sends WM_NULL to the window from another thread for as long as it lives, and keeps the
// longest wait for an answer.
class AnswerTimes {
public:
    explicit AnswerTimes(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const DWORD start = ::GetTickCount();
                  DWORD_PTR result = 0;
                  ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
                  longest_ = std::max<DWORD>(longest_, ::GetTickCount() - start);
                  ::Sleep(10);
              }
              done_ = true;
          }) {}
    // Lets the window answer until the thread has ended.
    DWORD Stop() {
        stop_ = true;
        while (!done_) xmlRequests::DoEvents();
        thread_.join();
        return longest_;
    }
    ~AnswerTimes() {
        if (thread_.joinable()) Stop();
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::atomic<DWORD> longest_{0};
    std::thread thread_;
};

TEST_F(CacheTest, HostilePicturesAreRefusedUnopenedAndTheWindowKeepsAnswering) {
    using namespace forged;
    ASSERT_TRUE(StartForm());
    const std::string hostile[] = {Gif(65535, 65535, 1, 1, 1), Gif(16, 16, 1, 65535, 65535), Gif(1, 1, 5000, 1, 1),
                                   BmpHeader(100000, 100000), Jpeg(65535, 65535), Png(65535, 65535),
                                   Tiff(), Emf(), Wmf()};
    std::vector<Item> items;
    for (size_t i = 0; i < std::size(hostile); ++i) {
        const std::string id = std::to_string(901 + i);
        server.OverrideBinary("/getdisplay.php?emoid=" + id, 200, hostile[i], "image/gif");
        items.push_back({id, "gif", "Bomb"});
    }
    // A bomb already in the cache, as an older version or a hand may have left it, meets the
    // same check when it is painted.
    WriteFileBytes(folder_ + L"display950.gif", Gif(1, 1, 5000, 1, 1));
    items.push_back({"950", "gif", "Cached bomb"});

    AnswerTimes answers(form->hWnd());
    LoadCategory(ItemKind::Display, 1, DisplayList(items));
    EXPECT_LT(answers.Stop(), 1000u);
    EXPECT_EQ(Downloads().size(), std::size(hostile));
    EXPECT_EQ(Fotos(), std::vector<bool>(items.size(), true));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display950.gif"}));

    server.Reset();
    LoadCategory(ItemKind::Display, 2, DisplayList(Landscapes(2)));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg", L"display102.png", L"display950.gif"}));
}

// A pass removes what downloads that never ended left: this process's own and those of a
// process that has ended, never a live process's download nor any other name.
TEST_F(CacheTest, FilesOfDownloadsThatNeverEndedAreRemovedAndNothingElse) {
    ASSERT_TRUE(StartForm());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + WindowsPath(MIVO_PROGRAM_EXE) + L"\"";
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                 &startup, &info));
    const mivo::UniqueHandle other(info.hProcess), otherThread(info.hThread);
    const std::wstring own = xmlRequests::DownloadFileName(::GetCurrentProcessId(), 3);
    const std::wstring live = xmlRequests::DownloadFileName(info.dwProcessId, 1);
    const std::wstring unlike[] = {L"dl1A2B.tmp", L"mivo-download-12x-1.tmp", L"mivo-download-7.tmp", L"notes.txt"};
    for (const std::wstring& name : {own, live}) WriteFileBytes(folder_ + name, "partial");
    for (const std::wstring& name : unlike) WriteFileBytes(folder_ + name, "kept");
    auto expected = [&](bool withLive) {
        std::vector<std::wstring> names(std::begin(unlike), std::end(unlike));
        names.push_back(L"display101.jpg");
        if (withLive) names.push_back(live);
        std::sort(names.begin(), names.end());
        return names;
    };
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(1)));
    EXPECT_EQ(CacheFiles(), expected(true));
    ::TerminateProcess(other.get(), 0);
    ::WaitForSingleObject(other.get(), 10000);
    LoadCategory(ItemKind::Display, 2, DisplayList(Landscapes(1)));
    EXPECT_EQ(CacheFiles(), expected(false));
}

// Mivo.exe in a process of its own, so that it can really be ended in the middle of its work.
class ProgramProcess {
public:
    ProgramProcess() : started_(StartProcess(L"\"" + WindowsPath(MIVO_PROGRAM_EXE) + L"\"")) {}
    ~ProgramProcess() { End(); }
    void End() { EndProcess(started_.process.get()); }
    // A mouse click on the first entry of the display categories, once the window is up.
    bool ClickFirstDisplayCategory() {
        HWND list = nullptr;
        if (!Within(20000, [&] { return (list = FindControl(IDC_lstDispCats)) != nullptr; })) return false;
        ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
        ::PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
        return true;
    }
    static std::wstring CacheFolder() {
        const std::wstring exe = WindowsPath(MIVO_PROGRAM_EXE);
        return exe.substr(0, exe.find_last_of(L'\\')) + L"\\temppics\\";
    }

    template <typename Condition>
    static bool Within(DWORD ms, Condition condition) {
        for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(50))
            if (condition()) return true;
        return condition();
    }

private:
    struct Search {
        DWORD process;
        int id;
        HWND found;
    };
    static BOOL CALLBACK SearchChild(HWND child, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        if (::GetDlgCtrlID(child) == search->id) search->found = child;
        return search->found == nullptr;
    }
    static BOOL CALLBACK SearchTop(HWND top, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(top, &owner);
        if (owner == search->process && ::IsWindowVisible(top)) ::EnumChildWindows(top, SearchChild, param);
        return search->found == nullptr;
    }
    HWND FindControl(int id) const {
        Search search{started_.id, id, nullptr};
        ::EnumWindows(SearchTop, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    StartedProcess started_;
};

TEST_F(CacheTest, AProgramEndedDuringADownloadLeavesNoTemporaryFileOnceStartedAgain) {
    const std::wstring folder = ProgramProcess::CacheFolder();
    const auto files = [&folder](const wchar_t* pattern) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        const mivo::UniqueFind find(::FindFirstFileW((folder + pattern).c_str(), &data));
        if (find) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
            } while (::FindNextFileW(find.get(), &data));
        }
        return names;
    };
    for (const auto& name : files(L"*.*")) ::DeleteFileW((folder + name).c_str());
    ServeItems(ItemKind::Display, 1, DisplayList(Landscapes(1)));
    TestServer::Control("POST", "/delay", R"({"path": "/getdisplay.php", "seconds": 30})");
    {
        ProgramProcess first;
        ASSERT_TRUE(first.ClickFirstDisplayCategory());
        ASSERT_TRUE(ProgramProcess::Within(20000, [&] { return !files(L"mivo-download-*.tmp").empty(); }));
        first.End();
    }
    ASSERT_EQ(files(L"mivo-download-*.tmp").size(), 1u) << "the download was not under way when the program ended";

    TestServer::Control("POST", "/delay", R"({"path": "/getdisplay.php", "seconds": 0})");
    ProgramProcess second;
    ASSERT_TRUE(second.ClickFirstDisplayCategory());
    EXPECT_TRUE(ProgramProcess::Within(20000, [&] { return !files(L"display101.jpg").empty(); }));
    second.End();
    EXPECT_EQ(files(L"*.*"), std::vector<std::wstring>{L"display101.jpg"});
}

TEST_F(CacheTest, AFolderHiddenOrSystemFileUnderTheCacheNameIsNoCachedThumbnail) {
    ASSERT_TRUE(StartForm());
    const std::wstring folder = folder_ + L"display101.jpg";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    for (const auto& [name, attribute] : {std::pair{L"display102.png", FILE_ATTRIBUTE_HIDDEN},
                                          std::pair{L"display103.gif", FILE_ATTRIBUTE_SYSTEM}}) {
        const std::wstring path = folder_ + name;
        WriteFileBytes(path, "stale");
        ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attribute));
        ASSERT_EQ(::GetFileAttributesW(path.c_str()) & attribute, static_cast<DWORD>(attribute));
    }
    LoadCategory(ItemKind::Display, 1, DisplayList(Landscapes(3)));
    // All three are fetched; the files are replaced by normal ones, the folder cannot be and
    // its item stays without a thumbnail, with no temporary file left behind.
    EXPECT_EQ(Downloads().size(), 3u);
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display102.png", L"display103.gif"}));
    EXPECT_EQ(ReadFileBytes(folder_ + L"display102.png"),
              ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\thumbs\\dp102.png"));
    EXPECT_EQ(::GetFileAttributesW((folder_ + L"display103.gif").c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u);
}

TEST_F(CacheTest, IdsThatDoNotSurviveTheSixteenBitConversionEndThePass) {
    ASSERT_TRUE(StartForm());
    // "007" is keyed DISP007 but looked up as DISP7: the pass ends there.
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "A"}, {"007", "png", "B"}, {"102", "png", "C"}}));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=101"}));
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, false, false}));
    server.Reset();
    LoadCategory(ItemKind::Display, 2, DisplayList({{"103", "gif", "A"}, {"40000", "png", "B"}, {"104", "jpg", "C"}}));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=103"}));
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CacheTest, AFileTypeThatCouldLeaveTheFolderWritesNothingAndThePassGoesOn) {
    ASSERT_TRUE(StartForm());
    const std::wstring outside = folder_ + L"..\\escaped.png";
    ::DeleteFileW(outside.c_str());
    LoadCategory(ItemKind::Display, 1,
                 DisplayList({{"101", "..\\..\\escaped.png", "A"}, {"102", "png\\..\\..\\escaped", "B"},
                              {"103", "c:x", "C"}, {"104", "jpg", "D"}}));
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=104"}));
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display104.jpg"}));
    EXPECT_FALSE(FileExists(outside));
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(CacheTest, ATabChangeDuringThePassEndsItQuietly) {
    ASSERT_TRUE(StartForm());
    // The tab click waits in the queue and runs when the pass first lets events through.
    RECT tab{};
    TabCtrl_GetItemRect(form->SSTab1, 1, &tab);
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ::PostMessageW(form->SSTab1, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(form->SSTab1, WM_LBUTTONUP, 0, at);
    ServeItems(ItemKind::Display, 1, DisplayList(Landscapes(4)));
    ClickListEntry(form->lstDispCats, 0);
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=101"}));
    EXPECT_EQ(form->catalogue.listItems.Count(), 0);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(CacheFiles(), (std::vector<std::wstring>{L"display101.jpg"}));
}

TEST_F(CacheTest, ACategoryClickDuringThePassRunsItsOwnPassThenTheFirstGoesOverTheNewList) {
    ASSERT_TRUE(StartForm());
    ServeItems(ItemKind::Display, 1, DisplayList(Landscapes(4)));
    ServeItems(ItemKind::Display, 2, DisplayList({{"230", "png", "P"}, {"231", "gif", "Q"}}));
    RECT entry{};
    ::SendMessageW(form->lstDispCats, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
    const LPARAM at = MAKELPARAM((entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2);
    ::PostMessageW(form->lstDispCats, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(form->lstDispCats, WM_LBUTTONUP, 0, at);
    ClickListEntry(form->lstDispCats, 0);
    PumpMessages(50);
    // First 101, then the nested load of category 2 with its whole pass; the first pass then
    // resumes at its position 2 over the new list, whose files are already there.
    EXPECT_EQ(Downloads(), (std::vector<std::string>{"/getdisplay.php?emoid=101", "/getdisplay.php?emoid=230",
                                                     "/getdisplay.php?emoid=231"}));
    EXPECT_EQ(form->catalogue.listItems.Count(), 2);
    EXPECT_EQ(Fotos(), (std::vector<bool>{true, true}));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(CacheFiles(),
              (std::vector<std::wstring>{L"display101.jpg", L"display230.png", L"display231.gif"}));
}

}  // namespace
}  // namespace mivo::test
