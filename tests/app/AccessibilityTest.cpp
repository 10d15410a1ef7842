// The thumbnail grids as screen readers see them: MSAA lists of the cells, asked for as a
// screen reader asks (AccessibleObjectFromWindow), in this process and from another one.
#include "AppFixture.h"
#include "InstallerTestbed.h"
#include "GridLayout.h"
#include "mivo/BuildConfig.h"
#include "mivo/ComSupport.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <string>
#include <utility>
#include <vector>

namespace mivo::test {
namespace {

using Microsoft::WRL::ComPtr;
using mivo::Bstr;
using mivo::Variant;
using mivo::ItemKind;

VARIANT Child(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

struct Event {
    DWORD event;
    HWND window;
    long child;
    bool operator==(const Event& o) const { return event == o.event && window == o.window && child == o.child; }
};
std::vector<Event>* g_events = nullptr;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (g_events && object == OBJID_CLIENT) g_events->push_back({event, window, child});
}

class AccessibilityTest : public AppTest {
protected:
    HWND Box(ItemKind kind) { return form->GridOf(kind).picture.hWnd(); }
    ComPtr<IAccessible> Grid(ItemKind kind) {
        ComPtr<IAccessible> object;
        EXPECT_EQ(::AccessibleObjectFromWindow(Box(kind), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                               reinterpret_cast<void**>(object.GetAddressOf())),
                  S_OK);
        return object;
    }
    static long Count(IAccessible* grid) {
        long n = -1;
        EXPECT_EQ(grid->get_accChildCount(&n), S_OK);
        return n;
    }
    static std::wstring Name(IAccessible* grid, long child) {
        Bstr name;
        EXPECT_EQ(grid->get_accName(Child(child), name.out()), S_OK);
        return name.str();
    }
    static std::vector<std::wstring> Names(IAccessible* grid) {
        std::vector<std::wstring> names;
        for (long k = 1; k <= Count(grid); ++k) names.push_back(Name(grid, k));
        return names;
    }
    static long State(IAccessible* grid, long child) {
        Variant state;
        EXPECT_EQ(grid->get_accState(Child(child), state.out()), S_OK);
        return state.get()->lVal;
    }
    // left, top, width, height on the picture box.
    std::vector<long> Location(ItemKind kind, IAccessible* grid, long child) {
        long x = 0, y = 0, w = 0, h = 0;
        EXPECT_EQ(grid->accLocation(&x, &y, &w, &h, Child(child)), S_OK);
        POINT origin{0, 0};
        ::ClientToScreen(Box(kind), &origin);
        return {x - origin.x, y - origin.y, w, h};
    }
    // The child at a pixel of the picture box: a cell, 0 for the list, -1 for nothing.
    long HitAt(ItemKind kind, IAccessible* grid, int x, int y) {
        POINT at{x, y};
        ::ClientToScreen(Box(kind), &at);
        Variant hit;
        const HRESULT hr = grid->accHitTest(at.x, at.y, hit.out());
        if (hr == S_FALSE && hit.get()->vt == VT_EMPTY) return -1;
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(hit.get()->vt, VT_I4);
        return hit.get()->lVal;
    }
};

TEST_F(AccessibilityTest, EachGridIsAListOfItsCellsInListOrder) {
    ASSERT_TRUE(StartForm());
    const struct {
        ItemKind kind;
        std::string document;
        const wchar_t* caption;
    } cases[] = {
        {ItemKind::Display, DisplayList({{"01", "png", "Sunset"}, {"02", "png", "Cat &amp; dog"}, {"03", "png", "Zed"}}),
         L"Choose your display picture"},
        {ItemKind::Emoticon, EmoticonList({{"01", "png", "Smile"}, {"02", "png", "Wink"}, {"03", "png", "Cry"}}),
         L"Choose your emoticon"},
    };
    for (const auto& c : cases) {
        LoadCategory(c.kind, 1, c.document);
        ComPtr<IAccessible> grid = Grid(c.kind);
        ASSERT_TRUE(grid);
        Variant role;
        EXPECT_EQ(grid->get_accRole(Child(CHILDID_SELF), role.out()), S_OK);
        EXPECT_EQ(role.get()->lVal, ROLE_SYSTEM_LIST);
        EXPECT_EQ(Name(grid.Get(), CHILDID_SELF), c.caption);
        EXPECT_EQ(Names(grid.Get()), c.kind == ItemKind::Display
                                         ? (std::vector<std::wstring>{L"Sunset", L"Cat & dog", L"Zed"})
                                         : (std::vector<std::wstring>{L"Smile", L"Wink", L"Cry"}));
        EXPECT_EQ(grid->get_accRole(Child(3), role.out()), S_OK);
        EXPECT_EQ(role.get()->lVal, ROLE_SYSTEM_LISTITEM);
        Bstr action;
        EXPECT_EQ(grid->get_accDefaultAction(Child(2), action.out()), S_OK);
        EXPECT_EQ(action.str(), L"Install");
        EXPECT_EQ(grid->get_accName(Child(4), action.out()), E_INVALIDARG);
        // Only the list's own interfaces: a client that found IEnumVARIANT would list windows.
        ComPtr<IEnumVARIANT> children;
        EXPECT_EQ(grid.As(&children), E_NOINTERFACE);
    }
}

// Locations and hit tests follow the cells' hit boxes, at 96 and again at 120 dpi.
TEST_F(AccessibilityTest, LocationsAndHitTestsAreTheCellsHitBoxes) {
    const bool at120 = At120Dpi();
    const long width = at120 ? 106 : 76, right = at120 ? 146 : 116;  // cell width, right column
    const long boxWidth = at120 ? 291 : 233, frameHeight = at120 ? 381 : 305;
    ASSERT_TRUE(StartForm());
    for (ItemKind kind : {ItemKind::Display, ItemKind::Emoticon}) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        const auto items = ZeroLedItems(3, 1);
        LoadCategory(kind, 1, kind == ItemKind::Display ? DisplayList(items) : EmoticonList(items));
        ComPtr<IAccessible> grid = Grid(kind);
        ASSERT_TRUE(grid);
        const long pitch = kind == ItemKind::Display ? 90 : 55, hit = kind == ItemKind::Display ? 93 : 55;
        EXPECT_EQ(Location(kind, grid.Get(), CHILDID_SELF), (std::vector<long>{0, 0, boxWidth, frameHeight}));
        EXPECT_EQ(Location(kind, grid.Get(), 1), (std::vector<long>{21, 1, width - 1, hit - 1}));
        EXPECT_EQ(Location(kind, grid.Get(), 2), (std::vector<long>{right + 1, 1, width - 1, hit - 1}));
        EXPECT_EQ(Location(kind, grid.Get(), 3), (std::vector<long>{21, pitch + 1, width - 1, hit - 1}));
        EXPECT_EQ(HitAt(kind, grid.Get(), 20, 40), CHILDID_SELF);  // a cell's edge is not in it
        EXPECT_EQ(HitAt(kind, grid.Get(), 21, 40), 1);
        EXPECT_EQ(HitAt(kind, grid.Get(), static_cast<int>(right) + 1, 1), 2);
        EXPECT_EQ(HitAt(kind, grid.Get(), 30, static_cast<int>(hit) - 1), 1);  // the upper cell wins
        EXPECT_EQ(HitAt(kind, grid.Get(), 30, static_cast<int>(hit + pitch) - 1), 3);
        EXPECT_EQ(HitAt(kind, grid.Get(), 30, static_cast<int>(frameHeight) + 5), -1);  // below the frame
    }
    // Last: the copy ends by resetting the server's answers.
    if (!at120) {
        form.reset();
        EXPECT_TRUE(RunAgainAt120Dpi()) << "the checks at 120 dpi failed: see the output above";
    }
}

// Two cells a row: 1 and 2, then 3 alone.
TEST_F(AccessibilityTest, NavigationFollowsTheListAndTheTwoColumns) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Emoticon, 1, EmoticonList(ZeroLedItems(3, 1)));
    ComPtr<IAccessible> grid = Grid(ItemKind::Emoticon);
    ASSERT_TRUE(grid);
    const auto to = [&](long from, long direction) {
        Variant end;
        const HRESULT hr = grid->accNavigate(direction, Child(from), end.out());
        return hr == S_OK && end.get()->vt == VT_I4 ? end.get()->lVal : (hr == S_FALSE ? 0 : -1);
    };
    EXPECT_EQ(to(CHILDID_SELF, NAVDIR_FIRSTCHILD), 1);
    EXPECT_EQ(to(CHILDID_SELF, NAVDIR_LASTCHILD), 3);
    EXPECT_EQ(to(1, NAVDIR_RIGHT), 2);
    EXPECT_EQ(to(1, NAVDIR_DOWN), 3);
    EXPECT_EQ(to(1, NAVDIR_LEFT), 0);
    EXPECT_EQ(to(2, NAVDIR_LEFT), 1);
    EXPECT_EQ(to(2, NAVDIR_NEXT), 3);
    EXPECT_EQ(to(2, NAVDIR_DOWN), 0);
    EXPECT_EQ(to(3, NAVDIR_RIGHT), 0);
    EXPECT_EQ(to(3, NAVDIR_UP), 1);
    EXPECT_EQ(to(3, NAVDIR_PREVIOUS), 2);
    EXPECT_EQ(to(3, NAVDIR_NEXT), 0);
}

TEST_F(AccessibilityTest, StatesShowTheSelectionAndCellsScrolledAway) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(ZeroLedItems(20, 1)));
    ComPtr<IAccessible> grid = Grid(ItemKind::Display);
    ASSERT_TRUE(grid);
    const long cell = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    EXPECT_EQ(State(grid.Get(), 1), cell);
    Variant selection;
    EXPECT_EQ(grid->get_accSelection(selection.out()), S_FALSE);
    EXPECT_EQ(selection.get()->vt, VT_EMPTY);
    ClickGrid(ItemKind::Display, 130, 30);  // the click gives the grid the focus as well
    EXPECT_EQ(State(grid.Get(), 2), cell | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(State(grid.Get(), 20), cell | STATE_SYSTEM_OFFSCREEN);  // at y 810
    EXPECT_EQ(grid->get_accSelection(selection.out()), S_OK);
    EXPECT_EQ(selection.get()->lVal, 2);
}

TEST_F(AccessibilityTest, SelectingMovesTheHighlightAndBringsTheCellIntoView) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(ZeroLedItems(20, 1)));
    ComPtr<IAccessible> grid = Grid(ItemKind::Display);
    ASSERT_TRUE(grid);
    const COLORREF highlight = RGB(228, 239, 254);
    ClickGrid(ItemKind::Display, 30, 30);
    EXPECT_EQ(grid->accSelect(SELFLAG_TAKESELECTION, Child(3)), S_OK);
    EXPECT_EQ(Selected(), (std::vector<long>{3}));
    PumpMessages(20);
    // The first row of each highlight, at the middle of the cell: cell 1 at (20, 0), cell 3 at (20, 90).
    EXPECT_EQ(Pixel(ItemKind::Display, 58, 77), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(ItemKind::Display, 58, 90 + 77), highlight);

    EXPECT_EQ(grid->accSelect(SELFLAG_TAKESELECTION, Child(20)), S_OK);  // top 810: out of sight
    EXPECT_EQ(Selected(), (std::vector<long>{20}));
    EXPECT_EQ(form->scrollDisplay.Value(), 810 + 93 - 305);
    EXPECT_EQ(State(grid.Get(), 20) & STATE_SYSTEM_OFFSCREEN, 0);
    PumpMessages(20);
    EXPECT_EQ(Pixel(ItemKind::Display, 154, 810 + 77), highlight);
    EXPECT_EQ(grid->accSelect(SELFLAG_TAKESELECTION, Child(1)), S_OK);
    EXPECT_EQ(form->scrollDisplay.Value(), 0);
    EXPECT_EQ(grid->accSelect(SELFLAG_ADDSELECTION, Child(2)), E_INVALIDARG);  // one item at most
    EXPECT_EQ(Selected(), (std::vector<long>{1}));
}

TEST_F(AccessibilityTest, TheDefaultActionSelectsAndInstallsOnceTheCallIsOver) {
    ASSERT_TRUE(StartForm());
    for (ItemKind kind : {ItemKind::Display, ItemKind::Emoticon}) {
        ClearInstallerLog();
        LoadCategory(kind, 1, kind == ItemKind::Display ? DisplayList(ZeroLedItems(2, 101))
                                                        : EmoticonList(ZeroLedItems(2, 501)));
        ComPtr<IAccessible> grid = Grid(kind);
        ASSERT_TRUE(grid);
        EXPECT_EQ(grid->accDoDefaultAction(Child(2)), S_OK);
        EXPECT_EQ(Selected(), (std::vector<long>{2}));
        EXPECT_TRUE(ReadInstallerLog().empty());
        PumpMessages(100);
        const std::wstring package = kind == ItemKind::Display ? L"/cabs/cabdp0102.cab" : L"/cabs/cabemo0502.cab";
        const auto log = ReadInstallerLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].url, std::wstring(ContentBaseUrl) + package);
    }
}

TEST_F(AccessibilityTest, EventsFollowLoadsSelectionsAndTabChanges) {
    std::vector<Event> events;
    g_events = &events;
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_SELECTION, nullptr, RecordEvent,
                                                 ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    ASSERT_TRUE(StartForm());
    const HWND display = Box(ItemKind::Display);
    const auto ours = [&] {
        PumpMessages(50);
        std::vector<Event> seen;
        for (const Event& e : events)
            if (e.window == display && e.event != EVENT_OBJECT_FOCUS) seen.push_back(e);
        events.clear();
        return seen;
    };
    ours();
    LoadCategory(ItemKind::Display, 1, DisplayList(ZeroLedItems(3, 1)));
    EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_REORDER, display, CHILDID_SELF}}));
    ClickGrid(ItemKind::Display, 130, 30);
    EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_SELECTION, display, 2}}));
    ComPtr<IAccessible> grid = Grid(ItemKind::Display);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->accSelect(SELFLAG_TAKESELECTION, Child(3)), S_OK);
    EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_SELECTION, display, 3}}));
    ClickTab(1);
    EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_REORDER, display, CHILDID_SELF}}));
    ::UnhookWinEvent(hook);
    g_events = nullptr;
    // Both lists are empty now: the display pictures went with the tab, no emoticons are loaded.
    EXPECT_EQ(Count(grid.Get()), 0);
    EXPECT_EQ(Count(Grid(ItemKind::Emoticon).Get()), 0);
}

// As list views do: the focused cell has the focus state and is announced after each change;
// the system's own announcement of the window (the list itself) is left out here.
TEST_F(AccessibilityTest, TheFocusedCellIsReportedAndAnnouncedAsThePlaceMoves) {
    std::vector<Event> events;
    g_events = &events;
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, RecordEvent,
                                                 ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    ASSERT_TRUE(StartForm());
    const long cell = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    for (ItemKind kind : {ItemKind::Display, ItemKind::Emoticon}) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        const HWND box = Box(kind);
        const auto ours = [&] {
            PumpMessages(50);
            std::vector<Event> seen;
            for (const Event& e : events)
                if (e.window == box && e.event != EVENT_OBJECT_REORDER && e.child != CHILDID_SELF) seen.push_back(e);
            events.clear();
            return seen;
        };
        const auto focused = [](IAccessible* grid) {
            Variant focus;
            const HRESULT hr = grid->get_accFocus(focus.out());
            return hr == S_OK && focus.get()->vt == VT_I4 ? focus.get()->lVal : (hr == S_FALSE ? -1 : -2);
        };
        const auto items = ZeroLedItems(3, 1);
        LoadCategory(kind, 1, kind == ItemKind::Display ? DisplayList(items) : EmoticonList(items));
        ComPtr<IAccessible> grid = Grid(kind);
        ASSERT_TRUE(grid);
        EXPECT_EQ(focused(grid.Get()), -1);  // the category list has the focus
        ours();
        PressKey(VK_TAB);
        ASSERT_EQ(::GetFocus(), box);
        EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_FOCUS, box, 1}}));
        EXPECT_EQ(focused(grid.Get()), 1);
        EXPECT_EQ(State(grid.Get(), 1), cell | STATE_SYSTEM_FOCUSED);
        EXPECT_EQ(State(grid.Get(), 2), cell);
        PressKey(VK_RIGHT);
        EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_SELECTION, box, 2}, {EVENT_OBJECT_FOCUS, box, 2}}));
        EXPECT_EQ(focused(grid.Get()), 2);
        // A screen reader moves the focus alone: the selection stays.
        EXPECT_EQ(grid->accSelect(SELFLAG_TAKEFOCUS, Child(3)), S_OK);
        EXPECT_EQ(ours(), (std::vector<Event>{{EVENT_OBJECT_FOCUS, box, 3}}));
        EXPECT_EQ(focused(grid.Get()), 3);
        EXPECT_EQ(Selected(), (std::vector<long>{2}));
        EXPECT_EQ(State(grid.Get(), 2), cell | STATE_SYSTEM_SELECTED);
        PressKey(VK_TAB);
        EXPECT_NE(::GetFocus(), box);
        EXPECT_EQ(focused(grid.Get()), -1);
        EXPECT_EQ(State(grid.Get(), 3), cell);
    }
    ::UnhookWinEvent(hook);
    g_events = nullptr;
}

TEST_F(AccessibilityTest, AnObjectHeldAfterTheWindowIsGoneFailsCleanly) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(ZeroLedItems(2, 1)));
    ComPtr<IAccessible> grid = Grid(ItemKind::Display);
    ASSERT_TRUE(grid);
    form->Unload();
    long count = -1;
    EXPECT_EQ(grid->get_accChildCount(&count), RPC_E_DISCONNECTED);
    Bstr name;
    EXPECT_EQ(grid->get_accName(Child(1), name.out()), RPC_E_DISCONNECTED);
    EXPECT_EQ(grid->accDoDefaultAction(Child(1)), RPC_E_DISCONNECTED);
    EXPECT_EQ(name.get(), nullptr);
}

// As a screen reader does: the probe, a program of its own, loads the first display category
// of Mivo.exe, reads the grid's names, gives the second cell the focus, reads the focus back
// and asks for that cell's default action.
TEST_F(AccessibilityTest, AnotherProcessReadsTheCellsAndInstalls) {
    ServeItems(ItemKind::Display, 1, DisplayList({{"0101", "png", "Sunset"}, {"0102", "png", "Harbour"}}));
    const std::wstring out = ModuleFolder() + L"\\grid-probe.txt";
    ::DeleteFileW(out.c_str());
    StartedProcess program = StartProcess(L"\"" + WindowsPath(MIVO_PROGRAM_EXE) + L"\"");
    struct End {
        HANDLE process;
        ~End() { EndProcess(process); }
    } end{program.process.get()};
    EXPECT_EQ(RunProcess(L"\"" + WindowsPath(MIVO_GRID_PROBE_EXE) + L"\" " + std::to_wstring(program.id) + L" 2 \"" +
                             out + L"\"",
                         60000),
              0u);
    const std::string text = ReadFileBytes(out);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size() / sizeof(wchar_t)),
              L"Choose your display picture\r\nSunset\r\nHarbour\r\nFocus 2\r\n");
    for (const DWORD start = ::GetTickCount(); ReadInstallerLog().empty() && ::GetTickCount() - start < 20000;)
        ::Sleep(100);
    const auto log = ReadInstallerLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].url, std::wstring(ContentBaseUrl) + L"/cabs/cabdp0102.cab");
}

}  // namespace
}  // namespace mivo::test
