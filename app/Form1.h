#pragma once
// The main window: its controls, its life cycle and its handlers. Handlers carry the names
// of the design (control_event); each group lives in a file of its own.
#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "AccessibleGrid.h"
#include "mivo/ContentInstaller.h"
#include "PictureBox.h"
#include "ScrollBar.h"
#include "GdiplusOwners.h"
#include "cGDIP.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/ScopedHandle.h"
#include "mivo/WindowBinding.h"
#include "xmlRequests.h"

class Form1 : private mivo::WindowObject {
public:
    // A thumbnail grid: the picture box it is drawn on, the frame that is its viewport and
    // the scroll bar that moves the picture box inside it.
    struct Grid {
        mivo::PictureBox picture;
        HWND frame = nullptr;
        mivo::ScrollBar scroll;
        // What screen readers see of the grid; made at their first request.
        Microsoft::WRL::ComPtr<mivo::AccessibleGrid> accessible;
        // The keyboard's place: the focused cell (1-based), moved by the keys and by clicks.
        long place = 1;
        int FrameHeightPixels() const;
    };

    Form1();
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window and loads it (Form_Load). Returns false when loading failed: the
    // user has been told, the window is gone and the program is to end.
    bool Show();
    // Unloads the window (Form_Unload, then the window goes), as "Close", "&Exit" and the
    // close box do.
    void Unload();
    bool Loaded() const { return hwnd_ != nullptr; }
    // Called once the window has been unloaded (the entry procedure ends the program).
    std::function<void()> onUnloaded;

    HWND hWnd() const { return hwnd_; }
    Grid& GridOf(mivo::ItemKind kind) { return kind == mivo::ItemKind::Display ? display_ : emoticon_; }

    // Grid painting, called by the catalogue module and the thumbnail pass.
    void drawDispItem();
    void drawEmoItem();
    // fresh: the cell's picture when the pass has just decoded it, so it is not read again.
    void lstDispViewOnPaint(const std::wstring& key, mivo::gdip::UniqueImage fresh = {});
    void lstEmoViewOnPaint(const std::wstring& key, mivo::gdip::UniqueImage fresh = {});

    // Life cycle.
    bool Form_Load();
    void Form_Unload(std::int16_t& cancel);
    void SSTab1_Click(std::int16_t previousTab);
    void Command1_Click();
    void gdip_Error(long lGdiError, const std::wstring& sErrorDesc, const std::wstring& sClassName);

    // Categories.
    void lstDispCats_Click();
    void lstEmoCats_Click();

    // Installation.
    void cmdAddDisp_Click();
    void cmdAddEmoticon_Click();
    void DisplayList_DblClick();
    void EmoticonList_DblClick();
    void installer_OnContentInstalled(long result);

    // Grid interaction.
    void DisplayList_MouseDown(int button, int shift, float x, float y);
    void DisplayList_MouseUp(int button, int shift, float x, float y);
    void EmoticonList_MouseDown(int button, int shift, float x, float y);
    void EmoticonList_MouseUp(int button, int shift, float x, float y);
    void scrollDisplay_Change();
    void scrollEmoticon_Change();
    void DisplayList_Paint();
    void EmoticonList_Paint();
    // Keyboard and focus of the grids (Form1Keyboard.cpp).
    void DisplayList_KeyDown(int keyCode);
    void EmoticonList_KeyDown(int keyCode);
    void DisplayList_GotFocus();
    void DisplayList_LostFocus();
    void EmoticonList_GotFocus();
    void EmoticonList_LostFocus();

    // Menus and links.
    void mnuTempClear_Click();
    void mnuExit_Click();
    void mnuNewEmo_Click();
    void mnuNewDp_Click();
    void Label1_Click();
    void Picture1_Click();
    void PictureEmo1_Click();

    // Controls (read by tests and the catalogue module).
    HWND SSTab1 = nullptr, Frame1 = nullptr, lstDispCats = nullptr, Frame2 = nullptr, cmdAddDisp = nullptr;
    HWND FrameEmo1 = nullptr, lstEmoCats = nullptr, FrameEmo2 = nullptr, cmdAddEmoticon = nullptr;
    HWND Label1 = nullptr, Command1 = nullptr;
    mivo::PictureBox Picture1, PictureEmo1;
    mivo::PictureBox& DisplayList = display_.picture;
    mivo::PictureBox& EmoticonList = emoticon_.picture;
    mivo::ScrollBar& scrollDisplay = display_.scroll;
    mivo::ScrollBar& scrollEmoticon = emoticon_.scroll;
    HWND& backframe = display_.frame;
    HWND& backframeEmo = emoticon_.frame;

    // The catalogue's state: the current list and the request object.
    xmlRequests::Catalogue catalogue;

    // Members created at load and released at unload.
    std::shared_ptr<cGDIP> gdip;
    Microsoft::WRL::ComPtr<IMessengerContentInstaller> installer;
    bool dispDblClicked = false;
    bool emoDblClicked = false;

private:
    // The grid's side of its accessible object, reading the current list at every call
    // (Form1Accessibility.cpp).
    class AccessibleCells final : public mivo::AccessibleGrid::Host {
    public:
        AccessibleCells(Form1& form, mivo::ItemKind kind) : form_(form), kind_(kind) {}
        HWND Window() const override;
        std::wstring Name() const override;
        long Count() const override;
        std::wstring CellName(long position) const override;
        bool CellSelected(long position) const override;
        RECT CellBox(long position) const override;
        RECT Shown() const override;
        long CellAt(POINT pixel) const override;
        void Select(long position) override;
        void Install(long position) override;
        bool HasFocus() const override;
        long Focused() const override;
        void Focus(long position) override;

    private:
        Form1& form_;
        mivo::ItemKind kind_;
    };
    // Posted by an install a screen reader asks for: wParam is the kind, as ItemKind.
    static constexpr UINT kInstallSelectedMessage = WM_APP + 1;

    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code);
    void CreateControls();
    void ShowTab(int index);
    void End();  // leaves without any unload step
    void CategoryClick(mivo::ItemKind kind);
    void ReportCategoryLoadFailure(const wchar_t* text);
    void installDispOnDblClick(const std::wstring& id);
    void installEmoOnDblClick(const std::wstring& id);
    void InstallSelected(mivo::ItemKind kind);
    void InstallPackage(mivo::ItemKind kind, const std::wstring& id);
    // The install call, through an installer made anew when Messenger's process has gone.
    void InstallThroughLiveInstaller(const std::wstring& packageUrl);
    // Creates `installer` and connects its completion event (start-up, and after Messenger
    // quit); throws ComError. The release lets go of both.
    void CreateInstaller();
    void ReleaseInstaller() noexcept;
    void GridMouseUp(mivo::ItemKind kind, float x, float y);
    // The position of the first cell whose hit box holds the pixel; 0 for none.
    long CellAt(mivo::ItemKind kind, int px, int py);
    // Makes the item the only selected one and repaints, as a click on its cell does.
    void SelectCell(mivo::ItemKind kind, long position);
    void ScrollIntoView(mivo::ItemKind kind, long position);
    // Keyboard: the place within the current list (0 when the grid shows none), the cell that
    // shows the focus rectangle now (0 for none), a key's move, and the focus a screen reader
    // gives a cell.
    long Place(mivo::ItemKind kind) const;
    long FocusShown(mivo::ItemKind kind) const;
    void GridKeyDown(mivo::ItemKind kind, int keyCode);
    void GridGotFocus(mivo::ItemKind kind);
    void GridLostFocus(mivo::ItemKind kind);
    void FocusCuesChanged(mivo::ItemKind kind);
    void MovePlace(mivo::ItemKind kind, long position);
    void FocusCell(mivo::ItemKind kind, long position);
    void InvalidateCell(mivo::ItemKind kind, long position);
    // Accessibility: the answer to WM_GETOBJECT, whether the grid shows the current list
    // (only the visible tab's does), the events that tell screen readers of a change, and
    // the end of the objects when the window goes.
    LRESULT GridGetObject(mivo::ItemKind kind, WPARAM wParam, LPARAM lParam);
    bool ShowsList(mivo::ItemKind kind) const;
    void NotifyListChanged(mivo::ItemKind kind);
    void NotifySelection(mivo::ItemKind kind, long position);
    void NotifyFocus(mivo::ItemKind kind);
    void DisconnectAccessibleGrids() noexcept;
    void DrawGrid(mivo::ItemKind kind);
    // An empty key paints the thumbnails of the cells that can be seen; any other key paints
    // that one cell when it can be seen.
    void ThumbnailPass(mivo::ItemKind kind, const std::wstring& key, mivo::gdip::UniqueImage fresh);
    // The part of the picture box inside its frame.
    RECT ShownArea(mivo::ItemKind kind);
    // The shown part, and within a paint only what is to be redrawn of it.
    RECT VisibleArea(mivo::ItemKind kind);
    void OpenPage(const std::wstring& url);

    HWND hwnd_ = nullptr;
    Grid display_, emoticon_;
    AccessibleCells displayCells_{*this, mivo::ItemKind::Display}, emoticonCells_{*this, mivo::ItemKind::Emoticon};
    mivo::UniqueGdi<HFONT> font_, linkFont_;
    // The window font selected into each grid's own DC; declared after font_, so it is
    // deselected before the font is deleted.
    std::optional<mivo::ScopedSelectObject> gridFonts_[2];
    mivo::UniqueGdi<HBITMAP> banner_;
    mivo::ContentInstallerEvents installerEvents_;
    // An install call is under way: while it waits, COM runs the window's messages.
    bool installCallWaiting_ = false;
    // The window was closed during that call: it goes once the call has returned.
    bool unloadAfterInstall_ = false;
    int currentTab_ = 0;
};
