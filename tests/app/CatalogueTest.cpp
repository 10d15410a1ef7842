// Start-up, the category lists and the item lists with their grid layout, against the
// testbed server.
#include "AppFixture.h"

#include <memory>
#include <type_traits>

namespace mivo::test {
namespace {

using mivo::ItemKind;

class CatalogueTest : public AppTest {
protected:
    std::vector<std::wstring> Keys() {
        std::vector<std::wstring> keys;
        for (long i = 1; i <= form->catalogue.itemIds.Count(); ++i) keys.push_back(form->catalogue.itemIds.Item(i));
        return keys;
    }
};

TEST_F(CatalogueTest, StartUpAsksForBothCategoryListsInOrderWithEmptyPosts) {
    ASSERT_TRUE(StartForm());
    const auto log = server.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "POST");
    EXPECT_EQ(log[0].path, "/appgetdispcats.php");
    EXPECT_EQ(log[0].bodyLength, 0);
    EXPECT_EQ(log[1].method, "POST");
    EXPECT_EQ(log[1].path, "/appgetemocats.php");
    EXPECT_EQ(log[1].bodyLength, 0);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(::SendMessageW(form->lstDispCats, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(CatalogueTest, CategoryEntriesKeepServerOrderAndCarryTheirOwnIds) {
    server.Override("/appgetdispcats.php", 200, Categories({{"12", "Zebra"}, {"3", "Apple"}, {"7", "Mango"}}));
    ASSERT_TRUE(StartForm());
    const wchar_t* names[] = {L"Zebra", L"Apple", L"Mango"};
    const int ids[] = {12, 3, 7};
    ASSERT_EQ(::SendMessageW(form->lstDispCats, LB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64];
        ::SendMessageW(form->lstDispCats, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, names[i]);
        EXPECT_EQ(::SendMessageW(form->lstDispCats, LB_GETITEMDATA, i, 0), ids[i]);
    }
    // A sorted list places entries elsewhere: each still carries its own id.
    HWND sorted = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_HASSTRINGS, 0, 0, 100, 100,
                                    form->hWnd(), nullptr, nullptr, nullptr);
    xmlRequests::loadCategories(form->catalogue, mivo::DisplayCategoriesUrl(), sorted);
    const int sortedIds[] = {3, 7, 12};  // Apple, Mango, Zebra
    for (int i = 0; i < 3; ++i) EXPECT_EQ(::SendMessageW(sorted, LB_GETITEMDATA, i, 0), sortedIds[i]);
    ::DestroyWindow(sorted);

    // The id, not the position, names the category asked for.
    ClickCategory(ItemKind::Display, 3);
    EXPECT_EQ(server.Log().at(3).path, "/appgetdisps.php?id=3");
}

TEST_F(CatalogueTest, ItemsAreLaidOutTwoPerRowAndTheGridSizedToThem) {
    struct Case {
        ItemKind kind;
        int count;
        int pictureHeight;
        int scrollMax;
    };
    const Case cases[] = {
        {ItemKind::Display, 1, 305, 0},   {ItemKind::Display, 3, 305, 0},    {ItemKind::Display, 6, 305, 0},
        {ItemKind::Display, 7, 350, 45},  {ItemKind::Display, 9, 450, 145},  {ItemKind::Display, 10, 500, 195},
        {ItemKind::Emoticon, 1, 305, 0},  {ItemKind::Emoticon, 3, 305, 0},   {ItemKind::Emoticon, 6, 305, 0},
        {ItemKind::Emoticon, 7, 305, 0},  {ItemKind::Emoticon, 9, 305, 0},   {ItemKind::Emoticon, 10, 325, 20},
    };
    ASSERT_TRUE(StartForm());
    int category = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + (c.kind == ItemKind::Display ? " display pictures" : " emoticons"));
        const bool display = c.kind == ItemKind::Display;
        const auto items = NumberedItems(c.count, 100);
        LoadCategory(c.kind, category, display ? DisplayList(items) : EmoticonList(items));
        category = category % 5 + 1;
        ASSERT_EQ(form->catalogue.listItems.Count(), c.count);
        ASSERT_EQ(form->catalogue.itemIds.Count(), c.count);
        const int pitch = display ? 90 : 55;
        for (int i = 0; i < c.count; ++i) {
            const auto& item = *form->catalogue.listItems.Item(i + 1);
            EXPECT_EQ(item.left, i % 2 == 0 ? 20 : 116) << i;
            EXPECT_EQ(item.top, (i / 2) * pitch) << i;
            EXPECT_EQ(item.itemwidth, 76);
            EXPECT_EQ(item.id, std::to_wstring(100 + i));
            EXPECT_EQ(item.filetype, L"png");
            EXPECT_EQ(item.Value, L"Item " + std::to_wstring(100 + i));
            EXPECT_FALSE(item.selected);
            EXPECT_EQ(form->catalogue.itemIds.Item(i + 1), item.id);
        }
        EXPECT_TRUE(form->catalogue.listItems.Contains((display ? L"DISP" : L"EMO") + std::to_wstring(100)));
        const auto& grid = form->GridOf(c.kind);
        EXPECT_EQ(grid.picture.HeightPixels(), c.pictureHeight);
        EXPECT_EQ(grid.scroll.Min(), 0);
        EXPECT_EQ(grid.scroll.Max(), c.scrollMax);
        EXPECT_EQ(grid.scroll.Enabled(), c.scrollMax > 0);
        if (c.scrollMax > 0) {
            EXPECT_EQ(grid.scroll.SmallChange(), 20);
            EXPECT_EQ(grid.scroll.LargeChange(), 40);
        }
    }
}

TEST_F(CatalogueTest, AnswersWithoutItemsEmptyTheListAndDisableScrolling) {
    struct Answer {
        const char* what;
        int status;
        std::string body;
    };
    std::vector<Answer> answers = {
        {"empty", 200, ""},
        {"HTML error page", 500, "<html><body><h1>Internal error</h1></body></html>"},
        {"not well-formed", 200, "<displaypictures><display id=\"1\" type=\"png\">x</displaypictures"},
        {"the other kind", 200, EmoticonList(NumberedItems(3))},
        {"far larger than any real list", 200,
         DisplayList(NumberedItems(3)) + "<!--" + std::string(4u << 20, ' ') + "-->"},
        {"a DTD", 200,
         "<?xml version=\"1.0\"?><!DOCTYPE displaypictures [<!ENTITY x SYSTEM \"http://127.0.0.1:" +
             std::to_string(MIVO_TEST_CONTROL_PORT - 1) +
             "/secret\">]><displaypictures><display id=\"1\" type=\"png\">&x;</display></displaypictures>"},
    };
    for (auto& [what, body] : HostileLists("displaypictures", "display")) answers.push_back({what, 200, std::move(body)});
    ASSERT_TRUE(StartForm());
    for (const auto& a : answers) {
        SCOPED_TRACE(a.what);
        LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(8)));
        ASSERT_EQ(form->catalogue.listItems.Count(), 8);
        ASSERT_TRUE(form->scrollDisplay.Enabled());
        server.Override("/appgetdisps.php?id=2", a.status, a.body,
                        a.status == 200 ? "text/xml" : "text/html");
        // The window answers nothing while the load runs: it must not take long.
        const DWORD start = ::GetTickCount();
        ClickCategory(ItemKind::Display, 2);
        EXPECT_LT(::GetTickCount() - start, 1000u);
        EXPECT_EQ(form->catalogue.listItems.Count(), 0);
        EXPECT_EQ(form->catalogue.itemIds.Count(), 0);
        EXPECT_FALSE(form->scrollDisplay.Enabled());
        EXPECT_EQ(form->scrollDisplay.Max(), 0);
        EXPECT_EQ(form->DisplayList.HeightPixels(), 305);
        EXPECT_TRUE(boxes.shown().empty());
    }
    for (const auto& r : server.Log()) EXPECT_NE(r.path, "/secret") << "an external entity was fetched";
}

TEST_F(CatalogueTest, ANewLoadReplacesEveryKeyAndKind) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(3, 1)));
    LoadCategory(ItemKind::Display, 2, DisplayList(NumberedItems(2, 10)));
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"10", L"11"}));
    EXPECT_FALSE(form->catalogue.listItems.Contains(L"DISP1"));
    EXPECT_TRUE(form->catalogue.listItems.Contains(L"DISP10"));
    LoadCategory(ItemKind::Emoticon, 1, EmoticonList(NumberedItems(2, 10)));
    EXPECT_FALSE(form->catalogue.listItems.Contains(L"DISP10"));
    EXPECT_TRUE(form->catalogue.listItems.Contains(L"EMO10"));
    EXPECT_TRUE(form->catalogue.listItems.Contains(L"EMO11"));
}

TEST_F(CatalogueTest, AFailedLoadLeavesListAndGridAsTheyWereAndTheWindowUsable) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(7)));
    server.Stop();
    ClickCategory(ItemKind::Display, 2);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, L"Mivo");
    EXPECT_NE(boxes.shown()[0].text.find(L"internet connection"), std::wstring::npos);
    EXPECT_EQ(form->catalogue.listItems.Count(), 7);
    EXPECT_EQ(form->catalogue.itemIds.Count(), 7);
    EXPECT_EQ(form->DisplayList.HeightPixels(), 350);
    EXPECT_EQ(form->scrollDisplay.Max(), 45);
    server.Start();
    LoadCategory(ItemKind::Display, 2, DisplayList(NumberedItems(2, 50)));
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"50", L"51"}));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(CatalogueTest, ChangingTabEmptiesTheCollectionsAndNothingElse) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 3, DisplayList(NumberedItems(4)));
    ClickTab(1);
    EXPECT_EQ(form->catalogue.listItems.Count(), 0);
    EXPECT_EQ(form->catalogue.itemIds.Count(), 0);
    EXPECT_EQ(::SendMessageW(form->lstDispCats, LB_GETCURSEL, 0, 0), 2);  // still highlighted
    EXPECT_TRUE(::IsWindowVisible(form->FrameEmo1));
    EXPECT_FALSE(::IsWindowVisible(form->Frame1));
}

TEST_F(CatalogueTest, ElementsThatCannotMakeARecordAreLeftOut) {
    ASSERT_TRUE(StartForm());
    // Missing file type, missing id, a repeated id: each skipped, the rest laid out without gaps.
    LoadCategory(ItemKind::Display, 1,
                 "<displaypictures><display id=\"1\" type=\"png\">A</display><display id=\"2\">B</display>"
                 "<display>C</display><display id=\"1\" type=\"gif\">D</display>"
                 "<display id=\"3\" type=\"jpg\" extra=\"x\">E</display></displaypictures>");
    ASSERT_EQ(form->catalogue.listItems.Count(), 2);
    EXPECT_EQ(form->catalogue.listItems.Item(1)->Value, L"A");
    EXPECT_EQ(form->catalogue.listItems.Item(1)->filetype, L"png");
    EXPECT_EQ(form->catalogue.listItems.Item(2)->id, L"3");
    EXPECT_EQ(form->catalogue.listItems.Item(2)->left, 116);
    // Attributes are read by position: swapping them swaps id and type.
    LoadCategory(ItemKind::Display, 2, "<displaypictures><display type=\"gif\" id=\"9\">S</display></displaypictures>");
    ASSERT_EQ(form->catalogue.listItems.Count(), 1);
    EXPECT_EQ(form->catalogue.listItems.Item(1)->id, L"gif");
    EXPECT_EQ(form->catalogue.listItems.Item(1)->filetype, L"9");
}

TEST_F(CatalogueTest, ListsBeyondTheSixteenBitCellLimitsStopAtTheLimit) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(ZeroLedItems(735, 1000)));
    ASSERT_EQ(form->catalogue.listItems.Count(), xmlRequests::kMaxDisplayItems);
    EXPECT_EQ(form->catalogue.listItems.Item(xmlRequests::kMaxDisplayItems)->top, 32760);
    LoadCategory(ItemKind::Emoticon, 1, EmoticonList(ZeroLedItems(1200, 1000)));
    ASSERT_EQ(form->catalogue.listItems.Count(), xmlRequests::kMaxEmoticonItems);
    EXPECT_EQ(form->catalogue.listItems.Item(xmlRequests::kMaxEmoticonItems)->top, 32725);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CatalogueTest, ACategoryIdBeyondSixteenBitsIsRefusedWithoutARequest) {
    server.Override("/appgetdispcats.php", 200, Categories({{"40000", "Too far"}, {"1", "One"}}));
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(2)));
    const size_t before = server.Log().size();
    ClickCategory(ItemKind::Display, 40000);
    EXPECT_EQ(server.Log().size(), before);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text.find(L"This category cannot be shown"), 0u);
    EXPECT_EQ(form->catalogue.listItems.Count(), 2);
}

TEST_F(CatalogueTest, StartUpWithTheServerDownShowsOneCriticalErrorAndEnds) {
    server.Stop();
    EXPECT_FALSE(StartForm());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              L"The program could not be loaded, make sure you have msxml 4 (download it from microsoft) and MSN "
              L"messenger 7 installed!");
    EXPECT_EQ(boxes.shown()[0].title, L"Critical error");
    EXPECT_EQ(boxes.shown()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr);
}

const wchar_t* refused = nullptr;  // the class whose windows RefuseCreation refuses

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t name[64] = L"";
    if (code == HCBT_CREATEWND) ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
    if (refused && std::wstring(name) == refused) return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A window that cannot be created, the main one or any of its own controls, fails the
// start-up like a failed load, instead of running on without it.
TEST_F(CatalogueTest, AWindowThatCannotBeCreatedEndsStartUpWithTheCriticalError) {
    struct Unhook {
        void operator()(HHOOK h) const { ::UnhookWindowsHookEx(h); }
    };
    const std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook> hook(
        ::SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    for (const wchar_t* cls : {L"MivoForm1", L"MivoPictureBox"}) {
        refused = cls;
        const size_t boxesBefore = boxes.shown().size();
        EXPECT_FALSE(StartForm()) << cls;
        ASSERT_EQ(boxes.shown().size(), boxesBefore + 1) << cls;
        EXPECT_EQ(boxes.shown().back().title, L"Critical error");
        EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr) << cls;
        form.reset();
    }
    refused = nullptr;
    EXPECT_TRUE(server.Log().empty());
}

TEST_F(CatalogueTest, CategoryWithAnIdThatIsNotANumberEndsStartUp) {
    server.Override("/appgetemocats.php", 200, Categories({{"1", "One"}, {"x1", "Bad"}}));
    EXPECT_FALSE(StartForm());
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr);
}

}  // namespace
}  // namespace mivo::test
