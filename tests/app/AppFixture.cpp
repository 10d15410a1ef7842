#include "AppFixture.h"

#include "InstallerTestbed.h"
#include "mivo/Registry.h"
#include "mivo/ScopedHandle.h"
#include "mivo/WindowBinding.h"

#include <windows.h>
#include <commctrl.h>

namespace mivo::test {
namespace {
std::string ItemElements(const char* element, const std::vector<Item>& items) {
    std::string out;
    for (const Item& i : items)
        out += std::string("<") + element + " id=\"" + i.id + "\" type=\"" + i.type + "\">" + i.title + "</" +
               element + ">";
    return out;
}
}  // namespace

std::string DisplayList(const std::vector<Item>& items) {
    return "<?xml version=\"1.0\"?><displaypictures>" + ItemElements("display", items) + "</displaypictures>";
}

std::string EmoticonList(const std::vector<Item>& items) {
    return "<?xml version=\"1.0\"?><emoticons>" + ItemElements("emoticon", items) + "</emoticons>";
}

std::vector<Item> NumberedItems(int count, int firstId, const std::string& type) {
    std::vector<Item> items;
    for (int i = 0; i < count; ++i)
        items.push_back({std::to_string(firstId + i), type, "Item " + std::to_string(firstId + i)});
    return items;
}

std::vector<Item> ZeroLedItems(int count, int firstId) {
    auto items = NumberedItems(count, firstId);
    for (auto& i : items) i.id = "0" + i.id;
    return items;
}

std::string Categories(const std::vector<std::pair<std::string, std::string>>& idAndName) {
    std::string out = "<?xml version=\"1.0\"?><cats>";
    for (const auto& c : idAndName) out += "<cat id=\"" + c.first + "\">" + c.second + "</cat>";
    return out + "</cats>";
}

bool At120Dpi() { return ::GetEnvironmentVariableW(L"MIVO_TEST_AT_120_DPI", nullptr, 0) != 0; }

bool RunAgainAt120Dpi() {
    static const wchar_t kDesktop[] = L"Control Panel\\Desktop";
    const DWORD dpi = 120;
    if (SetRegValue(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi) != ERROR_SUCCESS)
        return false;
    struct Restore {
        ~Restore() {
            HKEY opened = nullptr;
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, kDesktop, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
                const UniqueRegKey key(opened);
                ::RegDeleteValueW(key.get(), L"LogPixels");
            }
            ::SetEnvironmentVariableW(L"MIVO_TEST_AT_120_DPI", nullptr);
        }
    } restore;
    ::SetEnvironmentVariableW(L"MIVO_TEST_AT_120_DPI", L"1");
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    return RunProcess(L"\"" + std::wstring(self) + L"\" --gtest_filter=" + std::wstring(name.begin(), name.end()),
                      120000) == 0;
}

void AppTest::SetUp() {
    trappedAtStart_ = mivo::TrappedExceptionCount();
    server.Reset();
    ClearInstallerKnobs();
    ClearInstallerLog();
    const std::string cats = Categories({{"1", "One"}, {"2", "Two"}, {"3", "Three"}, {"4", "Four"}, {"5", "Five"}});
    server.Override("/appgetdispcats.php", 200, cats);
    server.Override("/appgetemocats.php", 200, cats);
}

void AppTest::TearDown() {
    form.reset();
    server.Reset();
    ClearInstallerKnobs();
    // A handler that failed was caught by the window procedure, which keeps the program
    // going: here it fails the test.
    EXPECT_EQ(mivo::TrappedExceptionCount(), trappedAtStart_) << "a window message handler threw";
}

bool AppTest::StartForm() {
    form = std::make_unique<Form1>();
    const bool shown = form->Show();
    if (shown) ::SetForegroundWindow(form->hWnd());
    PumpMessages(50);
    return shown;
}

void AppTest::PressKey(WORD key, bool shift) {
    std::vector<INPUT> input;
    const auto add = [&](WORD vk, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        input.push_back(in);
    };
    if (shift) add(VK_SHIFT, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    PumpMessages(60);
}

void AppTest::ClickListEntry(HWND list, int index) {
    RECT rc{};
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(list, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

void AppTest::ClickGrid(mivo::ItemKind kind, int x, int y, bool right) {
    HWND box = form->GridOf(kind).picture.hWnd();
    const LPARAM at = MAKELPARAM(x, y);
    ::SendMessageW(box, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    ::SendMessageW(box, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}

// Win32 reports a double click as down, up, double click, up.
void AppTest::DoubleClickGrid(mivo::ItemKind kind, int x, int y) {
    HWND box = form->GridOf(kind).picture.hWnd();
    const LPARAM at = MAKELPARAM(x, y);
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(box, WM_LBUTTONUP, 0, at);
    ::SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(box, WM_LBUTTONUP, 0, at);
}

void AppTest::ClickTab(int index) {
    RECT rc{};
    TabCtrl_GetItemRect(form->SSTab1, index, &rc);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::SendMessageW(form->SSTab1, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(form->SSTab1, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

void AppTest::ServeItems(mivo::ItemKind kind, int categoryId, const std::string& document) {
    const bool display = kind == mivo::ItemKind::Display;
    server.Override(std::string(display ? "/appgetdisps.php?id=" : "/appgetemos.php?id=") +
                        std::to_string(categoryId),
                    200, document);
}

HWND AppTest::CategoryList(mivo::ItemKind kind) const {
    return kind == mivo::ItemKind::Display ? form->lstDispCats : form->lstEmoCats;
}

void AppTest::ClickCategory(mivo::ItemKind kind, int categoryId) {
    if (!form) {
        ASSERT_TRUE(StartForm());
    }
    const int tab = kind == mivo::ItemKind::Display ? 0 : 1;
    if (TabCtrl_GetCurSel(form->SSTab1) != tab) ClickTab(tab);
    HWND list = CategoryList(kind);
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(::SendMessageW(list, LB_GETITEMDATA, i, 0)) == categoryId) {
            // Clicking the entry that is already selected may not notify: leave it first.
            if (::SendMessageW(list, LB_GETCURSEL, 0, 0) == i) ::SendMessageW(list, LB_SETCURSEL, -1, 0);
            ClickListEntry(list, i);
            return;
        }
    }
    FAIL() << "category " << categoryId << " is not listed";
}

void AppTest::LoadCategory(mivo::ItemKind kind, int categoryId, const std::string& document) {
    ServeItems(kind, categoryId, document);
    ClickCategory(kind, categoryId);
}

std::vector<long> AppTest::Selected() const {
    std::vector<long> out;
    for (long i = 1; i <= form->catalogue.listItems.Count(); ++i)
        if (form->catalogue.listItems.Item(i)->selected) out.push_back(i);
    return out;
}

COLORREF AppTest::Pixel(mivo::ItemKind kind, int x, int y) const {
    ScopedGetDC dc(form->GridOf(kind).picture.hWnd());
    return ::GetPixel(dc.get(), x, y);
}

}  // namespace mivo::test
