// Both thumbnail grids from the keyboard, through real key input: the tab order, each key's
// cell, scrolling into view, Enter's install, and the focus rectangle.
#include "AppFixture.h"
#include "GridLayout.h"
#include "InstallerTestbed.h"
#include "mivo/BuildConfig.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace mivo::test {
namespace {

using mivo::ItemKind;

const ItemKind kKinds[] = {ItemKind::Display, ItemKind::Emoticon};
const COLORREF kHighlight = RGB(228, 239, 254);

class KeyboardTest : public AppTest {
protected:
    HWND Box(ItemKind kind) { return form->GridOf(kind).picture.hWnd(); }
    void Load(ItemKind kind, const std::vector<Item>& items) {
        LoadCategory(kind, 1, kind == ItemKind::Display ? DisplayList(items) : EmoticonList(items));
    }
    // The first pixel of the cell's caption highlight.
    COLORREF HighlightCorner(ItemKind kind, long position) {
        const cListItem& item = *form->catalogue.listItems.Item(position);
        HDC dc = form->GridOf(kind).picture.hDC();
        SIZE text{};
        ::GetTextExtentPoint32W(dc, item.Value.c_str(), static_cast<int>(item.Value.size()), &text);
        const RECT h = HighlightRect(GeometryOf(kind), item.left, item.top, item.itemwidth, text.cx, text.cy);
        return Pixel(kind, h.left, h.top);
    }
    // Ink on the left edge of the cell's hit box, where only its focus rectangle draws.
    int FrameInk(ItemKind kind, long position) {
        const cListItem& item = *form->catalogue.listItems.Item(position);
        int ink = 0;
        for (int y = item.top + 1; y < item.top + GeometryOf(kind).hitHeight; ++y)
            ink += Pixel(kind, item.left + 1, y) != RGB(255, 255, 255);
        return ink;
    }
};

TEST_F(KeyboardTest, TabVisitsTheGridBetweenTheCategoryListAndTheAddButton) {
    ASSERT_TRUE(StartForm());
    for (ItemKind kind : kKinds) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        Load(kind, ZeroLedItems(3, 1));
        const HWND order[] = {form->SSTab1, CategoryList(kind), Box(kind),
                              kind == ItemKind::Display ? form->cmdAddDisp : form->cmdAddEmoticon, form->Command1,
                              form->SSTab1};
        ::SetFocus(form->SSTab1);
        for (size_t i = 1; i < std::size(order); ++i) {
            PressKey(VK_TAB);
            EXPECT_EQ(::GetFocus(), order[i]) << "Tab " << i;
        }
        for (size_t i = std::size(order) - 1; i-- > 0;) {
            PressKey(VK_TAB, /*shift=*/true);
            EXPECT_EQ(::GetFocus(), order[i]) << "Shift+Tab to " << i;
        }
        EXPECT_TRUE(Selected().empty());  // passing through selects nothing
    }
}

// Each key's cell from the grid's geometry: two columns, and the rows the frame shows a page.
TEST_F(KeyboardTest, EachKeySelectsItsCellAndBringsItsHighlightIntoView) {
    const bool at120 = At120Dpi();
    ASSERT_TRUE(StartForm());
    for (ItemKind kind : kKinds) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        const long count = 20;
        Load(kind, ZeroLedItems(count, 1));
        Form1::Grid& grid = form->GridOf(kind);
        const int rows = grid.FrameHeightPixels() / LayoutOf(kind).pitch;
        EXPECT_EQ(rows, kind == ItemKind::Display ? (at120 ? 4 : 3) : (at120 ? 6 : 5));
        const long page = 2 * rows;
        ::SetFocus(Box(kind));
        long place = 1;
        const struct {
            WORD key;
            const char* name;
        } keys[] = {{VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_LEFT, "Left"},   {VK_UP, "Up"},
                    {VK_LEFT, "Left"},   {VK_UP, "Up"},      {VK_NEXT, "PgDn"},   {VK_NEXT, "PgDn"},
                    {VK_PRIOR, "PgUp"},  {VK_END, "End"},    {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},
                    {VK_NEXT, "PgDn"},   {VK_HOME, "Home"},  {VK_PRIOR, "PgUp"},  {VK_DOWN, "Down"}};
        for (const auto& k : keys) {
            long to = place;
            switch (k.key) {
                case VK_RIGHT: to = place < count ? place + 1 : place; break;
                case VK_LEFT: to = place > 1 ? place - 1 : place; break;
                case VK_DOWN: to = place + 2 <= count ? place + 2 : place; break;
                case VK_UP: to = place - 2 >= 1 ? place - 2 : place; break;
                case VK_NEXT: to = (std::min)(place + page, count); break;
                case VK_PRIOR: to = (std::max)(place - page, 1L); break;
                case VK_HOME: to = 1; break;
                case VK_END: to = count; break;
                default: break;
            }
            PressKey(k.key);
            place = to;
            ASSERT_EQ(Selected(), std::vector<long>{place}) << k.name;
            const cListItem& item = *form->catalogue.listItems.Item(place);
            const int value = grid.scroll.Value();
            EXPECT_GE(item.top, value) << k.name;
            EXPECT_LE(item.top + GeometryOf(kind).hitHeight, value + grid.FrameHeightPixels()) << k.name;
            EXPECT_EQ(HighlightCorner(kind, place), kHighlight) << k.name;
            EXPECT_EQ(::GetFocus(), Box(kind));
        }
    }
    // Last: the copy ends by resetting the server's answers.
    if (!at120) {
        form.reset();
        EXPECT_TRUE(RunAgainAt120Dpi()) << "the checks at 120 dpi failed: see the output above";
    }
}

// The scroll bar and the picture box follow, by as little as shows the whole cell.
TEST_F(KeyboardTest, EndAndPageDownScrollTheLongestGridsJustEnough) {
    ASSERT_TRUE(StartForm());
    for (ItemKind kind : kKinds) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        const long count = MaxItems(LayoutOf(kind));
        Load(kind, ZeroLedItems(static_cast<int>(count), 1));
        Form1::Grid& grid = form->GridOf(kind);
        const int frame = grid.FrameHeightPixels(), pitch = LayoutOf(kind).pitch;
        const int hit = GeometryOf(kind).hitHeight;
        const auto expectScrolledTo = [&](int value) {
            EXPECT_EQ(grid.scroll.Value(), value);
            EXPECT_EQ(::GetScrollPos(grid.scroll.hWnd(), SB_CTL), value);
            EXPECT_EQ(grid.picture.TopPixels(), -value);
        };
        ::SetFocus(Box(kind));
        PressKey(VK_END);
        EXPECT_EQ(Selected(), std::vector<long>{count});
        expectScrolledTo(form->catalogue.listItems.Item(count)->top + hit - frame);
        PressKey(VK_HOME);
        expectScrolledTo(0);
        PressKey(VK_NEXT);  // a page of rows below the first: the target's row is the first hidden one
        const int rows = frame / pitch;
        EXPECT_EQ(Selected(), std::vector<long>{1 + 2L * rows});
        expectScrolledTo(rows * pitch + hit - frame);
        PumpMessages(20);
        EXPECT_EQ(HighlightCorner(kind, 1 + 2L * rows), kHighlight);
    }
}

TEST_F(KeyboardTest, EnterInstallsTheSelectedItemAsTheAddButtonDoes) {
    ASSERT_TRUE(StartForm());
    const auto installedBoxes = [&] {
        return std::count_if(boxes.shown().begin(), boxes.shown().end(), [](const ShownMessageBox& b) {
            return b.text == L"The content has been installed" && b.title == L"Installation succeeded" &&
                   b.flags == static_cast<UINT>(MB_OK | MB_ICONINFORMATION);
        });
    };
    for (ItemKind kind : kKinds) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        ClearInstallerLog();
        const bool display = kind == ItemKind::Display;
        Load(kind, NumberedItems(2, display ? 101 : 501));  // packages the server has
        ::SetFocus(Box(kind));
        PressKey(VK_RETURN);  // nothing selected: nothing to install, as with the button
        PumpMessages(100);
        EXPECT_TRUE(ReadInstallerLog().empty());
        PressKey(VK_RIGHT);
        PressKey(VK_RETURN);
        PumpMessages(100);  // the completion event is posted: let it arrive
        const auto log = ReadInstallerLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].url, std::wstring(ContentBaseUrl) + (display ? L"/cabs/cabdp102.cab" : L"/cabs/cabemo502.cab"));
        EXPECT_EQ(::GetFocus(), Box(kind));
    }
    EXPECT_EQ(installedBoxes(), 2);
    EXPECT_EQ(boxes.shown().size(), 2u);
}

// A click places the keyboard; the rectangle shows only while the grid has the focus and the
// keyboard cues allow it. Windows hides them after mouse-only use and tells each window.
TEST_F(KeyboardTest, AClickPlacesTheKeysAndTheFocusRectangleFollowsFocusAndCues) {
    ASSERT_TRUE(StartForm());
    for (ItemKind kind : kKinds) {
        SCOPED_TRACE(kind == ItemKind::Display ? "display pictures" : "emoticons");
        Load(kind, ZeroLedItems(4, 1));
        const HWND box = Box(kind);
        const int pitch = LayoutOf(kind).pitch;
        ::SendMessageW(box, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        ClickGrid(kind, 30, pitch + 10);  // the third cell
        PumpMessages(20);
        EXPECT_EQ(::GetFocus(), box);
        EXPECT_EQ(Selected(), std::vector<long>{3});
        EXPECT_EQ(FrameInk(kind, 3), 0);
        PressKey(VK_RIGHT);
        EXPECT_EQ(Selected(), std::vector<long>{4});
        ::SendMessageW(box, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        PumpMessages(20);
        EXPECT_GT(FrameInk(kind, 4), 10);
        EXPECT_EQ(FrameInk(kind, 3), 0);
        ::SetFocus(form->Command1);
        PumpMessages(20);
        EXPECT_EQ(FrameInk(kind, 4), 0);
        EXPECT_EQ(HighlightCorner(kind, 4), kHighlight);
        ::SetFocus(box);
        PumpMessages(20);
        EXPECT_GT(FrameInk(kind, 4), 10);
    }
}

}  // namespace
}  // namespace mivo::test
