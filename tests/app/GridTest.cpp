// The thumbnail grids: cell geometry, painting read back from the picture box, selection by
// mouse messages, double clicks and scrolling.
#include "AppFixture.h"
#include "GridLayout.h"
#include "GridPainter.h"
#include "ThumbnailCache.h"

namespace mivo::test {
namespace {

using mivo::ItemKind;

TEST(GridGeometry, ThumbnailCaptionAndHighlightPositions) {
    const auto& d = GeometryOf(ItemKind::Display);
    const auto& e = GeometryOf(ItemKind::Emoticon);
    // Thumbnails of the cells at (20, 0), (116, 0), (20, 90) of width 76; a 77-pixel cell.
    EXPECT_EQ(CentredX(20, 76, d.thumbnailSize), 26);
    EXPECT_EQ(CentredX(116, 76, d.thumbnailSize), 122);
    EXPECT_EQ(CentredX(20, 77, d.thumbnailSize), 26);   // 26.5 goes to 26
    EXPECT_EQ(CentredX(117, 77, d.thumbnailSize), 124); // 123.5 goes to 124
    EXPECT_EQ(CentredX(20, 76, e.thumbnailSize), 46);
    EXPECT_EQ(CentredX(116, 76, e.thumbnailSize), 142);
    // A 50 x 13 caption selected in the cell at (20, 90).
    const RECT h = HighlightRect(d, 20, 90, 76, 50, 13);
    EXPECT_EQ(h.left, 28);
    EXPECT_EQ(h.top, 167);
    EXPECT_EQ(h.right, 88);
    EXPECT_EQ(h.bottom, 186);
    EXPECT_EQ(CentredX(20, 76, 50), 33);
    const RECT he = HighlightRect(e, 20, 55, 76, 50, 13);
    EXPECT_EQ(he.top, 92);
    EXPECT_EQ(he.bottom, 55 + 40 + 13 + 3);
}

TEST(GridGeometry, HitBoxesAreStrictAndOverlapOnlyForDisplayPictures) {
    const auto& d = GeometryOf(ItemKind::Display);
    const auto& e = GeometryOf(ItemKind::Emoticon);
    EXPECT_FALSE(HitsCell(d, 20, 0, 76, 20, 40));
    EXPECT_TRUE(HitsCell(d, 20, 0, 76, 21, 40));
    EXPECT_FALSE(HitsCell(d, 20, 0, 76, 96, 40));
    EXPECT_TRUE(HitsCell(d, 116, 0, 76, 117, 1));
    EXPECT_FALSE(HitsCell(d, 116, 0, 76, 117, 0));
    EXPECT_TRUE(HitsCell(d, 20, 0, 76, 30, 92));   // lower edge rows belong to both rows
    EXPECT_TRUE(HitsCell(d, 20, 90, 76, 30, 91));
    EXPECT_FALSE(HitsCell(d, 20, 0, 76, 30, 93));
    EXPECT_TRUE(HitsCell(e, 20, 0, 76, 30, 54));
    EXPECT_FALSE(HitsCell(e, 20, 0, 76, 30, 55));
    EXPECT_FALSE(HitsCell(e, 20, 55, 76, 30, 55));
    EXPECT_TRUE(HitsCell(e, 20, 55, 76, 30, 56));
}

// The design's sizes (grid picture 3495 twips wide, frame 4575 high) at four resolutions: the
// cells come from the picture's real width, the scroll range from the frame's real height.
TEST(GridLayout, CellsHeightsAndScrollRangesAtFourResolutions) {
    const struct {
        double tpp;
        int width, frame;       // pixels of the grid picture and its frame
        int itemwidth, right;   // cell width, x of the right column
        long count;             // items of a display picture list ...
        int max;                // ... and its scroll range (0: it fits)
        long emoCount;
        int emoMax;
    } cases[] = {
        {15, 233, 305, 76, 116, 7, 45, 10, 20},     // the design's own examples
        {12, 291, 381, 106, 146, 8, 19, 12, 9},     // 105.5 goes to 106
        {10, 350, 458, 135, 175, 10, 42, 15, 30},   // a 457.5-pixel frame is 458; range 29.5 is 30
        {7.5, 466, 610, 193, 233, 13, 40, 19, 8},   // range 7.5 is 8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tpp);
        EXPECT_EQ(TwipsToPixels(3495, c.tpp), c.width);
        EXPECT_EQ(TwipsToPixels(4575, c.tpp), c.frame);
        const std::int16_t w = CellWidth(c.width);
        EXPECT_EQ(w, c.itemwidth);
        const Cell cells[] = {CellOf(0, w, kDisplayLayout), CellOf(1, w, kDisplayLayout),
                              CellOf(2, w, kDisplayLayout), CellOf(3, w, kEmoticonLayout)};
        EXPECT_EQ(cells[0].left, 20);
        EXPECT_EQ(cells[0].top, 0);
        EXPECT_EQ(cells[1].left, c.right);
        EXPECT_EQ(cells[1].top, 0);
        EXPECT_EQ(cells[2].left, 20);
        EXPECT_EQ(cells[2].top, 90);
        EXPECT_EQ(cells[3].left, c.right);
        EXPECT_EQ(cells[3].top, 55);

        const GridSize scrolls = SizeOf(c.count, kDisplayLayout, c.frame, c.tpp);
        EXPECT_TRUE(scrolls.scrolls);
        EXPECT_EQ(scrolls.scrollMax, c.max);
        EXPECT_EQ(TwipsToPixels(scrolls.pictureHeightTwips, c.tpp), c.count * 50);  // half a row per odd item
        const GridSize fits = SizeOf(c.count - 1, kDisplayLayout, c.frame, c.tpp);
        EXPECT_FALSE(fits.scrolls);
        EXPECT_EQ(fits.scrollMax, 0);
        EXPECT_EQ(fits.pictureHeightTwips, static_cast<float>(c.frame * c.tpp - 1));
        const GridSize emo = SizeOf(c.emoCount, kEmoticonLayout, c.frame, c.tpp);
        EXPECT_TRUE(emo.scrolls);
        EXPECT_EQ(emo.scrollMax, c.emoMax);
        EXPECT_FALSE(SizeOf(c.emoCount - 1, kEmoticonLayout, c.frame, c.tpp).scrolls);
    }
    // The last cells whose top fits 16 bits, and the first that would not.
    EXPECT_EQ(CellOf(MaxItems(kDisplayLayout) - 1, 76, kDisplayLayout).top, 32760);
    EXPECT_EQ(CellOf(MaxItems(kEmoticonLayout) - 1, 76, kEmoticonLayout).top, 32725);
    EXPECT_THROW(CellOf(MaxItems(kDisplayLayout), 76, kDisplayLayout), OverflowError);
    EXPECT_THROW(CellOf(MaxItems(kEmoticonLayout), 76, kEmoticonLayout), OverflowError);
}

// The painter draws on whatever device context it is given, thumbnails included, and only the
// cells that reach into the area asked for.
TEST(GridPainter, PaintsAMemoryDeviceContext) {
    auto gdip = std::make_shared<cGDIP>();
    ScopedMemoryDC dc(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 240, -400, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueGdi<HBITMAP> canvas(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedSelectObject select(dc.get(), canvas.get());
    const RECT all{0, 0, 240, 400};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(dc.get(), TRANSPARENT);

    const std::wstring folder = xmlRequests::CacheFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"display3.png";
    WriteFileBytes(file, ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\thumbs\\dp102.png"));
    GridItems items;
    for (int i = 0; i < 8; ++i) {
        auto item = std::make_shared<cListItem>();
        item->id = std::to_wstring(i + 1);
        item->Value = L"Item " + item->id;
        item->filetype = L"png";
        const Cell cell = CellOf(i, 76, kDisplayLayout);
        item->left = cell.left;
        item->top = cell.top;
        item->itemwidth = 76;
        item->foto = i == 2;
        item->selected = i == 2;
        items.Add(item, L"DISP" + item->id);
    }
    // Rows 0 and 1 only: the last row (items 7 and 8, at y 270) is not asked for.
    PaintGrid(dc.get(), items, ItemKind::Display, RECT{0, 0, 240, 180}, gdip);
    ::DeleteFileW(file.c_str());

    auto pixel = [&](int x, int y) { return ::GetPixel(dc.get(), x, y); };
    const int tw = getTextWidth(dc.get(), L"Item 3");
    const RECT h = HighlightRect(GeometryOf(ItemKind::Display), 20, 90, 76, tw, getTextHeight(dc.get(), L"Item 3"));
    EXPECT_EQ(pixel(h.left, h.bottom - 1), RGB(228, 239, 254));  // beside the caption, below the thumbnail
    // Ink in the thumbnail of item 3, none in those of items 1, 2 and 4 (not looked for yet),
    // nothing on the last row.
    auto inkIn = [&](int x0, int y0, int x1, int y1) {
        int ink = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) ink += pixel(x, y) != RGB(255, 255, 255);
        return ink;
    };
    EXPECT_GT(inkIn(26, 105, 90, 169), 64 * 64 / 2);
    EXPECT_EQ(inkIn(26, 15, 90, 79) + inkIn(122, 15, 186, 79) + inkIn(122, 105, 186, 169), 0);
    EXPECT_EQ(inkIn(0, 270, 240, 400), 0);
}

class GridTest : public AppTest {
protected:
    void Click(ItemKind kind, int x, int y, bool right = false) { ClickGrid(kind, x, y, right); }
    // Number of pixels in the rectangle that are not the background.
    int InkIn(ItemKind kind, RECT r, COLORREF background = RGB(255, 255, 255)) {
        int ink = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Pixel(kind, x, y) != background) ++ink;
        return ink;
    }
};

TEST_F(GridTest, CaptionsAreDrawnCentredUnderTheirCells) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList({{"1", "png", "WWWW"}, {"2", "png", "WWWW"}, {"3", "png", "WWWW"}}));
    PumpMessages(50);
    // Each caption lies around its cell's centre at y 80 (rows 0) and 170 (row 1).
    EXPECT_GT(InkIn(ItemKind::Display, RECT{40, 80, 96, 95}), 0);
    EXPECT_GT(InkIn(ItemKind::Display, RECT{136, 80, 192, 95}), 0);
    EXPECT_GT(InkIn(ItemKind::Display, RECT{40, 170, 96, 185}), 0);
    EXPECT_EQ(InkIn(ItemKind::Display, RECT{136, 170, 192, 185}), 0);
    EXPECT_EQ(InkIn(ItemKind::Display, RECT{0, 0, 232, 79}), 0);  // no thumbnails yet
}

TEST_F(GridTest, AClickSelectsOneCellAndHighlightsItsCaption) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(4)));
    Click(ItemKind::Display, 30, 100);  // third cell, at (20, 90)
    EXPECT_EQ(Selected(), (std::vector<long>{3}));
    PumpMessages(20);
    HDC dc = form->DisplayList.hDC();
    SIZE text{};
    ::GetTextExtentPoint32W(dc, L"Item 3", 6, &text);
    const RECT h = HighlightRect(GeometryOf(ItemKind::Display), 20, 90, 76, text.cx, text.cy);
    EXPECT_EQ(Pixel(ItemKind::Display, h.left, h.top), RGB(228, 239, 254));
    EXPECT_EQ(Pixel(ItemKind::Display, h.right - 1, h.bottom - 1), RGB(228, 239, 254));
    EXPECT_EQ(Pixel(ItemKind::Display, h.right, h.bottom), RGB(255, 255, 255));
    // Selecting another deselects the first, and its highlight is gone.
    Click(ItemKind::Display, 130, 10, /*right=*/true);
    EXPECT_EQ(Selected(), (std::vector<long>{2}));
    PumpMessages(20);
    EXPECT_EQ(Pixel(ItemKind::Display, h.left, h.top), RGB(255, 255, 255));
}

TEST_F(GridTest, HitTestingEdgesOfBothGrids) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(4)));
    const struct {
        int x, y;
        long selected;  // 0: nothing hit, the previous selection stays
    } display[] = {{20, 40, 0}, {21, 40, 1}, {96, 40, 0}, {100, 40, 0}, {117, 1, 2}, {117, 0, 0},
                   {30, 91, 1}, {30, 92, 1}, {30, 93, 3}, {200, 300, 0}};
    for (const auto& c : display) {
        xmlRequests::deselectAll(form->catalogue);
        Click(ItemKind::Display, c.x, c.y);
        EXPECT_EQ(Selected(), c.selected ? std::vector<long>{c.selected} : std::vector<long>{}) << c.x << "," << c.y;
    }
    LoadCategory(ItemKind::Emoticon, 1, EmoticonList(NumberedItems(4)));
    const struct {
        int y;
        long selected;
    } emoticon[] = {{54, 1}, {55, 0}, {56, 3}};
    for (const auto& c : emoticon) {
        xmlRequests::deselectAll(form->catalogue);
        Click(ItemKind::Emoticon, 30, c.y);
        EXPECT_EQ(Selected(), c.selected ? std::vector<long>{c.selected} : std::vector<long>{}) << c.y;
    }
}

TEST_F(GridTest, AClickOnEmptySpaceChangesNothing) {
    ASSERT_TRUE(StartForm());
    Click(ItemKind::Display, 30, 30);  // empty grid
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(2)));
    Click(ItemKind::Display, 30, 30);
    Click(ItemKind::Display, 100, 40);
    EXPECT_EQ(Selected(), (std::vector<long>{1}));
}

TEST_F(GridTest, ScrollingMovesThePictureBoxByTheValue) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(7)));
    HWND bar = form->scrollDisplay.hWnd();
    auto scroll = [&](int code, int pos = 0) {
        ::SendMessageW(form->backframe, WM_VSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(bar));
    };
    scroll(SB_LINEDOWN);
    EXPECT_EQ(form->scrollDisplay.Value(), 20);
    EXPECT_EQ(form->DisplayList.TopPixels(), -20);
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(form->scrollDisplay.Value(), 45);  // held within the range
    EXPECT_EQ(form->DisplayList.TopPixels(), -45);
    scroll(SB_PAGEUP);
    EXPECT_EQ(form->DisplayList.TopPixels(), -5);
    scroll(SB_THUMBTRACK, 30);  // dragging: nothing moves yet
    EXPECT_EQ(form->DisplayList.TopPixels(), -5);
    scroll(SB_THUMBPOSITION, 30);
    EXPECT_EQ(form->DisplayList.TopPixels(), -30);
    // A shorter list forces the value into the new range, and the grid follows.
    LoadCategory(ItemKind::Display, 2, DisplayList(NumberedItems(2)));
    EXPECT_EQ(form->scrollDisplay.Value(), 0);
    EXPECT_EQ(form->DisplayList.TopPixels(), 0);
}

TEST_F(GridTest, AClickBelowTheViewportTopOfAScrolledGridHitsTheScrolledRow) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(7)));
    form->scrollDisplay.SetValue(45);
    ::SetForegroundWindow(form->hWnd());
    PumpMessages(50);
    // A real click 10 pixels below the viewport's top edge, at x 30.
    RECT frame;
    ::GetWindowRect(form->backframe, &frame);
    INPUT input[3] = {};
    for (INPUT& in : input) in.type = INPUT_MOUSE;
    const int sx = ::GetSystemMetrics(SM_CXSCREEN) - 1, sy = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    input[0].mi.dx = (frame.left + 30) * 65535 / sx;
    input[0].mi.dy = (frame.top + 10) * 65535 / sy;
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(3, input, sizeof(INPUT));
    PumpMessages(200);
    // py 55 is in the first row's hit box (0..93), not the second's (90..183).
    EXPECT_EQ(Selected(), (std::vector<long>{1}));
}

TEST_F(GridTest, ARepaintAfterTheGridIsUncoveredDrawsTheSamePixels) {
    ASSERT_TRUE(StartForm());
    LoadCategory(ItemKind::Display, 1, DisplayList(NumberedItems(3)));
    Click(ItemKind::Display, 30, 30);
    PumpMessages(20);
    auto snapshot = [&] {
        std::vector<COLORREF> px;
        for (int y = 0; y < 200; y += 2)
            for (int x = 0; x < 232; x += 2) px.push_back(Pixel(ItemKind::Display, x, y));
        return px;
    };
    const auto before = snapshot();
    form->DisplayList.Cls();
    ::InvalidateRect(form->DisplayList.hWnd(), nullptr, TRUE);
    ::UpdateWindow(form->DisplayList.hWnd());
    PumpMessages(20);
    EXPECT_EQ(snapshot(), before);
}

// The repaints draw only the cells that can be seen; what they draw must be what drawing
// every cell draws, at the viewport's edges and inside a partial update as well.
TEST_F(GridTest, ARepaintOfAScrolledLongGridDrawsWhatDrawingEveryCellDraws) {
    ASSERT_TRUE(StartForm());
    ServeItems(ItemKind::Display, 1, DisplayList(NumberedItems(730)));
    xmlRequests::loadDispItems(form->catalogue, 1);
    // Rows 300 to 304 can be seen once scrolled to 27085: row 300's caption (items 601, 602)
    // straddles the top edge, row 304's thumbnails straddle the bottom edge.
    const std::wstring folder = xmlRequests::CacheFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::string png = ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\thumbs\\dp102.png");
    std::vector<std::wstring> files;
    for (int id = 591; id <= 620; ++id) {
        files.push_back(folder + L"display" + std::to_wstring(id) + L".png");
        WriteFileBytes(files.back(), png);
    }
    for (long i = 1; i <= form->catalogue.listItems.Count(); ++i) form->catalogue.listItems.Item(i)->foto = true;
    form->catalogue.listItems.Item(601)->selected = true;
    form->catalogue.listItems.Item(609)->selected = true;
    const int top = 27085;
    form->scrollDisplay.SetValue(top);
    PumpMessages(20);

    PictureBox& box = form->DisplayList;
    const int width = box.WidthPixels() - 1;  // the scroll bar covers the last column
    auto snapshot = [&](int y0, int y1) {
        ScopedGetDC dc(box.hWnd());
        std::vector<COLORREF> px;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < width; ++x) px.push_back(::GetPixel(dc.get(), x, y));
        return px;
    };
    box.Cls();
    mivo::PaintGrid(box.hDC(), form->catalogue.listItems, ItemKind::Display, RECT{0, 0, box.WidthPixels(), box.HeightPixels()},
                    form->gdip);
    const auto every = snapshot(top, top + 305);
    // Not a blank picture: the highlight at the top edge and thumbnails at the bottom edge.
    EXPECT_NE(std::count(every.begin(), every.begin() + width * 10, RGB(228, 239, 254)), 0);
    EXPECT_GT(std::count_if(every.end() - width * 10, every.end(), [](COLORREF c) { return c != RGB(255, 255, 255); }),
              100);

    box.Cls();
    form->drawDispItem();
    EXPECT_EQ(snapshot(top, top + 305), every);

    // A paint of a band that begins inside row 302's thumbnails and holds its captions.
    box.Cls();
    RECT band{0, top + 150, width, top + 200};
    ::InvalidateRect(box.hWnd(), &band, TRUE);
    ::UpdateWindow(box.hWnd());
    EXPECT_EQ(snapshot(band.top, band.bottom),
              std::vector<COLORREF>(every.begin() + width * 150, every.begin() + width * 200));
    for (const auto& f : files) ::DeleteFileW(f.c_str());
}


// The pass decodes only the cells that can be seen, so a cell scrolled into view during the
// pass or after it must still get its thumbnail: the cells in view get theirs one by one in
// list order, and the grid ends up showing what drawing every cell draws.
TEST_F(GridTest, CellsScrolledIntoViewDuringAndAfterThePassShowTheirThumbnails) {
    ASSERT_TRUE(StartForm());
    const std::wstring folder = xmlRequests::CacheFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::string png = ReadFileBytes(SourceDir() + L"\\testbed\\catalogue\\thumbs\\dp102.png");
    const struct {
        ItemKind kind;
        int count;
        long scrollAfter;  // the pass has handled this item out of sight when the grid is scrolled
        int scrollTo;      // to show it and the cells before and after it
        int seen;          // cells whose thumbnail is wholly in view when the pass reaches them
    } cases[] = {{ItemKind::Display, 20, 12, 360, 6 + 2}, {ItemKind::Emoticon, 30, 16, 330, 10 + 6}};
    for (const auto& c : cases) {
        const bool display = c.kind == ItemKind::Display;
        SCOPED_TRACE(display ? "display pictures" : "emoticons");
        std::vector<std::wstring> files;
        for (int id = 1; id <= c.count; ++id) {
            files.push_back(folder + (display ? L"display" : L"emoticon") + std::to_wstring(id) + L".png");
            WriteFileBytes(files.back(), png);
        }
        ClickTab(display ? 0 : 1);
        const auto items = NumberedItems(c.count);
        ServeItems(c.kind, 1, display ? DisplayList(items) : EmoticonList(items));
        if (display)
            xmlRequests::loadDispItems(form->catalogue, 1);
        else
            xmlRequests::loadEmoItems(form->catalogue, 1);
        PumpMessages(20);

        Form1::Grid& grid = form->GridOf(c.kind);
        const GridGeometry& g = GeometryOf(c.kind);
        const int width = grid.picture.WidthPixels() - 1;  // the scroll bar covers the last column
        const int frame = grid.FrameHeightPixels();
        auto snapshot = [&] {
            ScopedGetDC dc(grid.picture.hWnd());
            std::vector<COLORREF> px;
            for (int y = grid.scroll.Value(); y < grid.scroll.Value() + frame; ++y)
                for (int x = 0; x < width; ++x) px.push_back(::GetPixel(dc.get(), x, y));
            return px;
        };
        auto thumbnailInk = [&](const cListItem& item) {
            ScopedGetDC dc(grid.picture.hWnd());
            const int x0 = CentredX(item.left, item.itemwidth, g.thumbnailSize), y0 = item.top + g.thumbnailTop;
            int ink = 0;
            for (int y = y0; y < y0 + g.thumbnailSize; ++y)
                for (int x = x0; x < x0 + g.thumbnailSize; ++x) ink += ::GetPixel(dc.get(), x, y) != RGB(255, 255, 255);
            return ink;
        };
        // What the grid shows must be what a repaint of every cell shows.
        auto expectEveryCellDrawn = [&] {
            const auto shown = snapshot();
            grid.picture.Cls();
            PaintGrid(grid.picture.hDC(), form->catalogue.listItems, c.kind,
                      RECT{0, 0, grid.picture.WidthPixels(), grid.picture.HeightPixels()}, form->gdip);
            EXPECT_EQ(shown, snapshot());
        };

        long position = 0;
        int seenCells = 0;
        auto cellReady = [&](const std::wstring& key, gdip::UniqueImage fresh) {
            const cListItem& item = *form->catalogue.listItems.Item(++position);
            const int y0 = item.top + g.thumbnailTop;
            const bool seen = y0 >= grid.scroll.Value() && y0 + g.thumbnailSize <= grid.scroll.Value() + frame;
            if (seen) {
                EXPECT_EQ(thumbnailInk(item), 0) << position;
            }
            if (display)
                form->lstDispViewOnPaint(key, std::move(fresh));
            else
                form->lstEmoViewOnPaint(key, std::move(fresh));
            if (seen) {
                ++seenCells;
                EXPECT_GT(thumbnailInk(item), g.thumbnailSize * g.thumbnailSize / 2) << position;
            }
            if (position == c.scrollAfter) grid.scroll.SetValue(c.scrollTo);
        };
        if (display)
            xmlRequests::fetchDispThumbs(form->catalogue, cellReady);
        else
            xmlRequests::fetchEmoThumbs(form->catalogue, cellReady);
        PumpMessages(20);
        EXPECT_EQ(position, c.count);
        EXPECT_EQ(seenCells, c.seen);
        expectEveryCellDrawn();

        grid.scroll.SetValue(grid.scroll.Max());
        PumpMessages(20);
        expectEveryCellDrawn();
        for (const auto& f : files) ::DeleteFileW(f.c_str());
    }
}

}  // namespace
}  // namespace mivo::test
