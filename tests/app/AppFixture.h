#pragma once
// Drives the real main window in-process: the testbed server answers, message boxes are
// recorded instead of shown, and input goes in as window messages.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

#include "Form1.h"
#include "TestServer.h"
#include "TestSupport.h"
#include "xmlRequests.h"

namespace mivo::test {

struct Item {
    std::string id, type, title;
};

// Item list documents as the server writes them.
std::string DisplayList(const std::vector<Item>& items);
std::string EmoticonList(const std::vector<Item>& items);
std::vector<Item> NumberedItems(int count, int firstId = 1, const std::string& type = "png");
// Ids with a leading zero end each thumbnail pass at its first item: lists without downloads.
std::vector<Item> ZeroLedItems(int count, int firstId);
std::string Categories(const std::vector<std::pair<std::string, std::string>>& idAndName);

// The screen resolution is read when a process starts: RunAgainAt120Dpi runs the current
// test again in a program of its own with the display set to 120 dpi, where At120Dpi() holds
// and the copy does the checks. True when the copy passed.
bool At120Dpi();
bool RunAgainAt120Dpi();

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the window; false when start-up failed.
    bool StartForm();
    // Clicks entry `index` of a category list with the mouse, as a user does.
    void ClickListEntry(HWND list, int index);
    // A button press and release, and a double click, at a pixel of a grid's picture box.
    void ClickGrid(mivo::ItemKind kind, int x, int y, bool right = false);
    void DoubleClickGrid(mivo::ItemKind kind, int x, int y);
    // Selects the tab with the mouse.
    void ClickTab(int index);
    // A key pressed and released on the real keyboard input (with Shift held when asked), then
    // the messages it made handled as the program's loop handles them. The window must be in
    // the foreground (StartForm puts it there).
    void PressKey(WORD key, bool shift = false);
    // The server answers category `categoryId` of that kind with `document`.
    void ServeItems(mivo::ItemKind kind, int categoryId, const std::string& document);
    // Shows the kind's tab and clicks the entry of that category (categories 1 to 5 are
    // listed unless the test changed the category documents before start-up).
    void ClickCategory(mivo::ItemKind kind, int categoryId);
    void LoadCategory(mivo::ItemKind kind, int categoryId, const std::string& document);
    HWND CategoryList(mivo::ItemKind kind) const;
    // 1-based positions of the selected records.
    std::vector<long> Selected() const;
    // A pixel of a grid's picture box, as drawn.
    COLORREF Pixel(mivo::ItemKind kind, int x, int y) const;

    TestServer server;
    MessageBoxRecorder boxes;
    std::unique_ptr<Form1> form;

private:
    long trappedAtStart_ = 0;
};

}  // namespace mivo::test
