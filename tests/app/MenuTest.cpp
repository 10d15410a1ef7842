// The menus and links: pages open through the real shell call (the test prefix's web
// browser is a recorder), and clearing the thumbnail cache.
#include "AppFixture.h"
#include "ThumbnailCache.h"
#include "mivo/BuildConfig.h"
#include "mivo/ScopedHandle.h"

namespace mivo::test {
namespace {

using mivo::ItemKind;

// Makes the URL recorder the prefix's handler of http URLs for the test's life (Wine's
// classes root is the machine's), and puts the browser back afterwards.
class BrowserStandIn {
public:
    BrowserStandIn() {
        log_ = ModuleFolder() + L"\\opened-urls.txt";
        ::DeleteFileW(log_.c_str());
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        key_.reset(key);
        wchar_t old[1024];
        DWORD size = sizeof old;
        if (::RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS)
            previous_ = old;
        Set(L"\"" + ModuleFolder() + L"\\url_recorder.exe\" \"%1\"");
    }
    ~BrowserStandIn() { Set(previous_); }

    // Waits for `count` URLs to have been opened.
    std::vector<std::wstring> Opened(size_t count) {
        std::vector<std::wstring> urls;
        for (int i = 0; i < 100; ++i) {
            urls.clear();
            const std::string bytes = ReadFileBytes(log_);
            const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
            for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
                urls.push_back(text.substr(start, end - start));
            if (urls.size() >= count) break;
            PumpMessages(50);
        }
        return urls;
    }

private:
    void Set(const std::wstring& command) {
        ::RegSetValueExW(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                         static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    static constexpr const wchar_t* kKey = L"Software\\Classes\\http\\shell\\open\\command";
    UniqueRegKey key_;
    std::wstring previous_;
    std::wstring log_;
};

class MenuTest : public AppTest {
protected:
    void Menu(int id) { ::SendMessageW(form->hWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void ClickWindow(HWND hwnd) {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
};

TEST_F(MenuTest, EachLinkOpensItsOwnPage) {
    BrowserStandIn browser;
    ASSERT_TRUE(StartForm());
    Menu(203);  // "Upload new DP"
    ASSERT_EQ(browser.Opened(1).size(), 1u);
    Menu(202);  // "Upload new emoticon"
    ASSERT_EQ(browser.Opened(2).size(), 2u);
    ClickWindow(form->Label1);
    ASSERT_EQ(browser.Opened(3).size(), 3u);
    ClickWindow(form->Picture1.hWnd());
    ASSERT_EQ(browser.Opened(4).size(), 4u);
    ClickTab(1);
    ClickWindow(form->PictureEmo1.hWnd());
    const auto opened = browser.Opened(5);
    const std::wstring base = ContentBaseUrl, home = HomePageUrl;
    // The shell may add a trailing slash to a bare host name.
    auto bare = [](std::wstring url) { return url.back() == L'/' ? url.substr(0, url.size() - 1) : url; };
    ASSERT_EQ(opened.size(), 5u);
    EXPECT_EQ(opened[0], base + L"/adddisplay.php");
    EXPECT_EQ(opened[1], base + L"/addemoticon.php");
    EXPECT_EQ(bare(opened[2]), base);
    EXPECT_EQ(bare(opened[3]), home);
    EXPECT_EQ(bare(opened[4]), home);
    EXPECT_TRUE(boxes.shown().empty());
}

class ClearCacheTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        folder_ = xmlRequests::CacheFolder();
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        ::CreateDirectoryW((folder_ + L"keep").c_str(), nullptr);
        WriteFileBytes(folder_ + L"keep\\inner.txt", "stays");
        WriteFileBytes(folder_ + L"display1.png", "x");
        WriteFileBytes(folder_ + L"notes", "y");
    }
    void TearDown() override {
        MenuTest::TearDown();
        ::DeleteFileW((folder_ + L"keep\\inner.txt").c_str());
        ::RemoveDirectoryW((folder_ + L"keep").c_str());
        ::DeleteFileW((folder_ + L"display1.png").c_str());
        ::DeleteFileW((folder_ + L"notes").c_str());
    }
    std::wstring folder_;
};

TEST_F(ClearCacheTest, NoLeavesEveryFile) {
    ASSERT_TRUE(StartForm());
    boxes.SetAnswer(IDNO);
    Menu(200);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              L"Are you sure you want to clear the temporary files folder of Mvio. Temporary files speed up the "
              L"program.");
    EXPECT_EQ(boxes.shown()[0].title, L"Mivo");
    EXPECT_EQ(boxes.shown()[0].flags, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(FileExists(folder_ + L"display1.png"));
    EXPECT_TRUE(FileExists(folder_ + L"notes"));
}

TEST_F(ClearCacheTest, YesDeletesTheFolderFilesAndNothingElse) {
    ASSERT_TRUE(StartForm());
    boxes.SetAnswer(IDYES);
    Menu(200);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_FALSE(FileExists(folder_ + L"display1.png"));
    EXPECT_FALSE(FileExists(folder_ + L"notes"));
    EXPECT_TRUE(FileExists(folder_ + L"keep\\inner.txt"));
    // An empty cache is cleared without a word.
    Menu(200);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(ClearCacheTest, TheGridKeepsItsPicturesUntilRepaintedAndANewLoadFetchesThemAgain) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"101", "jpg", "Sunset"}}));
    PumpMessages(50);
    auto thumbnailInk = [&] {
        ScopedGetDC dc(form->DisplayList.hWnd());
        int ink = 0;
        for (int y = 16; y < 78; y += 4)
            for (int x = 27; x < 89; x += 4) ink += ::GetPixel(dc.get(), x, y) != RGB(255, 255, 255);
        return ink;
    };
    ASSERT_GT(thumbnailInk(), 100);  // drawn scaled to the whole 64 x 64 cell
    {
        ScopedGetDC dc(form->DisplayList.hWnd());
        EXPECT_EQ(::GetPixel(dc.get(), 25, 40), RGB(255, 255, 255));
        EXPECT_EQ(::GetPixel(dc.get(), 90, 40), RGB(255, 255, 255));
    }
    boxes.SetAnswer(IDYES);
    Menu(200);
    EXPECT_GT(thumbnailInk(), 100);
    EXPECT_TRUE(form->catalogue.listItems.Item(1)->foto);
    form->DisplayList.Cls();
    form->drawDispItem();
    EXPECT_EQ(thumbnailInk(), 0);
    server.Reset();
    LoadCategory(ItemKind::Display, 2, DisplayList({{"101", "jpg", "Sunset"}}));
    ASSERT_EQ(server.Log().size(), 2u);
    EXPECT_EQ(server.Log()[1].path, "/getdisplay.php?emoid=101");
    EXPECT_GT(thumbnailInk(), 100);
}

}  // namespace
}  // namespace mivo::test
