// The main window: creation of its controls from the design (twips), message routing to
// the handlers, and its life cycle.
#include "Form1.h"

#include <commctrl.h>

#include "ControlIds.h"
#include "Resources.h"
#include "Twips.h"
#include "xmlRequests.h"
#include "Frame.h"
#include "mivo/BuildConfig.h"
#include "mivo/MessageBox.h"

using mivo::PixelRect;
using mivo::ToPixels;
using mivo::TwipsRect;

namespace {

const wchar_t kClassName[] = L"MivoForm1";
const wchar_t kCaption[] = L"Mivo - Holmfeld MSN Installer (beta)";

// The design: positions in twips, relative to the container.
constexpr TwipsRect kClient{0, 0, 8775, 6480};
constexpr TwipsRect kSSTab1{120, 120, 8535, 5775};
constexpr TwipsRect kFrame1{120, 480, 5655, 4935};
constexpr TwipsRect kCategoryList{120, 240, 1575, 4545};
constexpr TwipsRect kBackframe{1800, 240, 3735, 4575};
constexpr TwipsRect kGridPicture{0, 0, 3495, 4575};
constexpr TwipsRect kGridScroll{3480, 0, 255, 4575};
constexpr TwipsRect kFrame2{5880, 480, 2535, 975};
constexpr TwipsRect kAddButton{120, 240, 2295, 615};
constexpr TwipsRect kBanner{5880, 1560, 2535, 3855};
constexpr TwipsRect kLabel1{120, 6000, 6135, 375};
constexpr TwipsRect kCommand1{6360, 6000, 2295, 375};

// 8.25 pt "MS Sans Serif" (165 twips) at the window's resolution.
HFONT CreateDesignFont(bool underline) {
    const int height = -mivo::TwipsToPixelsY(165);
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                         L"MS Sans Serif");
}

PixelRect Offset(PixelRect r, const PixelRect& origin) {
    r.left += origin.left;
    r.top += origin.top;
    return r;
}

HWND CreateControl(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
                   const PixelRect& r, int id, HFONT font) {
    HWND hwnd = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width,
                                  r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

HMENU CreateMainMenu() {
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, IDM_mnuTempClear, L"Clear temporary files");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file, MF_STRING, IDM_mnuExit, L"&Exit");
    HMENU action = ::CreatePopupMenu();
    ::AppendMenuW(action, MF_STRING, IDM_mnuNewEmo, L"Upload new emoticon");
    ::AppendMenuW(action, MF_STRING, IDM_mnuNewDp, L"Upload new DP");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(action), L"&Actions");
    return bar;
}

// The program carries no common-controls manifest, so Windows draws its controls in the
// classic style. Wine themes the tab strip and scroll bar controls anyway, at several times
// the cost of each of their paints; the other controls are classic there already.
// uxtheme.dll is looked up when first needed, from the system folder, instead of imported:
// under Wine an import loads the theme before the program starts, at a cost to every start.
// It stays loaded for the life of the process, as an import would.
void DrawClassic(HWND control) {
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    static const SetWindowThemeFn setWindowTheme = []() -> SetWindowThemeFn {
        wchar_t folder[MAX_PATH];
        const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return nullptr;
        HMODULE uxtheme = ::LoadLibraryW((std::wstring(folder, n) + L"\\uxtheme.dll").c_str());
        if (!uxtheme) return nullptr;
        return reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme")));
    }();
    if (setWindowTheme) setWindowTheme(control, L" ", L" ");
}

void RegisterFormClass() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MIVO));
    wc.lpszClassName = kClassName;
    mivo::RegisterWindowClass(wc);
}

}  // namespace

int Form1::Grid::FrameHeightPixels() const {
    RECT rc;
    ::GetWindowRect(frame, &rc);
    return rc.bottom - rc.top;
}

Form1::Form1() { catalogue.mainForm = this; }

Form1::~Form1() { End(); }

bool Form1::Show() {
    if (!Form_Load()) {
        End();
        return false;
    }
    // Focus rectangles and mnemonic underlines as the last input asks: hidden after a mouse
    // click, shown after a key, as Windows sets them for dialogs.
    ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
    return true;
}

void Form1::CreateControls() {
    RegisterFormClass();
    font_.reset(CreateDesignFont(false));
    linkFont_.reset(CreateDesignFont(true));
    banner_.reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BANNER),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const PixelRect client = ToPixels(kClient);
    RECT frame{0, 0, client.width, client.height};
    ::AdjustWindowRectEx(&frame, style, TRUE, 0);
    mivo::UniqueMenu menu(CreateMainMenu());
    hwnd_ = mivo::CreateBoundWindow(*this, WS_EX_CONTROLPARENT, kClassName, kCaption, style, CW_USEDEFAULT,
                                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                    menu.get());
    menu.release();  // the window's from now on
    // The menu bar may wrap differently than estimated: make the client area exact.
    RECT got;
    ::GetClientRect(hwnd_, &got);
    if (got.right != client.width || got.bottom != client.height) {
        RECT outer;
        ::GetWindowRect(hwnd_, &outer);
        ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + client.width - got.right,
                       outer.bottom - outer.top + client.height - got.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }

    HFONT font = font_.get();
    const PixelRect tab = ToPixels(kSSTab1);
    SSTab1 = CreateControl(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, 0, hwnd_, tab, IDC_SSTab1, font);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Display Pictures");
    TabCtrl_InsertItem(SSTab1, 0, &item);
    item.pszText = const_cast<wchar_t*>(L"Emoticons");
    TabCtrl_InsertItem(SSTab1, 1, &item);

    // Both tabs hold the same arrangement; the containers' positions are relative to the tab.
    struct TabPage {
        HWND* frame;
        const wchar_t* frameCaption;
        HWND* list;
        int listId;
        Grid* grid;
        int pictureId, scrollId;
        HWND* addFrame;
        HWND* addButton;
        int addId;
        mivo::PictureBox* banner;
        int bannerId;
    };
    const TabPage pages[] = {
        {&Frame1, L"Choose your display picture", &lstDispCats, IDC_lstDispCats, &display_, IDC_DisplayList,
         IDC_scrollDisplay, &Frame2, &cmdAddDisp, IDC_cmdAddDisp, &Picture1, IDC_Picture1},
        {&FrameEmo1, L"Choose your emoticon", &lstEmoCats, IDC_lstEmoCats, &emoticon_, IDC_EmoticonList,
         IDC_scrollEmoticon, &FrameEmo2, &cmdAddEmoticon, IDC_cmdAddEmoticon, &PictureEmo1, IDC_PictureEmo1},
    };
    for (const TabPage& page : pages) {
        *page.frame = mivo::CreateFrame(hwnd_, Offset(ToPixels(kFrame1), tab), page.frameCaption, true, font);
        *page.list = CreateControl(L"LISTBOX", L"",
                                   WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                                   WS_EX_CLIENTEDGE, *page.frame, ToPixels(kCategoryList), page.listId, font);
        page.grid->frame = mivo::CreateFrame(*page.frame, ToPixels(kBackframe), L"", false, font);
        page.grid->picture.Create(page.grid->frame, ToPixels(kGridPicture), RGB(255, 255, 255), false,
                                  page.pictureId);
        // Between the category list and the Add button in the tab order, as created.
        page.grid->picture.TakeKeys();
        // Captions use the window's font, kept in the picture box's own device context.
        gridFonts_[&page - pages].emplace(page.grid->picture.hDC(), font);
        page.grid->scroll.Create(page.grid->frame, ToPixels(kGridScroll), page.scrollId);
        ::SetWindowPos(page.grid->scroll.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        *page.addFrame = mivo::CreateFrame(hwnd_, Offset(ToPixels(kFrame2), tab), L"Add to Messenger", true, font);
        *page.addButton = CreateControl(L"BUTTON", L"Add to my MSN Messenger", BS_PUSHBUTTON | WS_TABSTOP, 0,
                                        *page.addFrame, ToPixels(kAddButton), page.addId, font);
        page.banner->Create(hwnd_, Offset(ToPixels(kBanner), tab), ::GetSysColor(COLOR_BTNFACE), true,
                            page.bannerId);
        page.banner->SetPicture(banner_.get());
    }
    Picture1.SetLinkCursor(true);

    Label1 = CreateControl(L"STATIC", (std::wstring(L"This content is brought to you by ") + mivo::ContentBaseUrl).c_str(),
                           SS_NOTIFY | SS_LEFT, 0, hwnd_, ToPixels(kLabel1), IDC_Label1, linkFont_.get());
    Command1 = CreateControl(L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, 0, hwnd_, ToPixels(kCommand1),
                             IDC_Command1, font);
    // The tab strip lies below everything it holds.
    ::SetWindowPos(SSTab1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    display_.picture.events.Paint = [this] { DisplayList_Paint(); };
    display_.picture.events.MouseDown = [this](int b, int s, float x, float y) { DisplayList_MouseDown(b, s, x, y); };
    display_.picture.events.MouseUp = [this](int b, int s, float x, float y) { DisplayList_MouseUp(b, s, x, y); };
    display_.picture.events.DblClick = [this] { DisplayList_DblClick(); };
    display_.scroll.Change = [this] { scrollDisplay_Change(); };
    emoticon_.picture.events.Paint = [this] { EmoticonList_Paint(); };
    emoticon_.picture.events.MouseDown = [this](int b, int s, float x, float y) { EmoticonList_MouseDown(b, s, x, y); };
    emoticon_.picture.events.MouseUp = [this](int b, int s, float x, float y) { EmoticonList_MouseUp(b, s, x, y); };
    emoticon_.picture.events.DblClick = [this] { EmoticonList_DblClick(); };
    emoticon_.scroll.Change = [this] { scrollEmoticon_Change(); };
    display_.picture.events.KeyDown = [this](int key) { DisplayList_KeyDown(key); };
    display_.picture.events.GotFocus = [this] { DisplayList_GotFocus(); };
    display_.picture.events.LostFocus = [this] { DisplayList_LostFocus(); };
    display_.picture.events.FocusCuesChanged = [this] { FocusCuesChanged(mivo::ItemKind::Display); };
    emoticon_.picture.events.KeyDown = [this](int key) { EmoticonList_KeyDown(key); };
    emoticon_.picture.events.GotFocus = [this] { EmoticonList_GotFocus(); };
    emoticon_.picture.events.LostFocus = [this] { EmoticonList_LostFocus(); };
    emoticon_.picture.events.FocusCuesChanged = [this] { FocusCuesChanged(mivo::ItemKind::Emoticon); };
    display_.picture.events.AccessibleObject = [this](WPARAM w, LPARAM l) {
        return GridGetObject(mivo::ItemKind::Display, w, l);
    };
    emoticon_.picture.events.AccessibleObject = [this](WPARAM w, LPARAM l) {
        return GridGetObject(mivo::ItemKind::Emoticon, w, l);
    };
    Picture1.events.Click = [this] { Picture1_Click(); };
    PictureEmo1.events.Click = [this] { PictureEmo1_Click(); };

    // Only the controls Windows draws classic: the category lists' own scroll bars belong to
    // their window frames, which Windows themes with or without a manifest.
    for (HWND h : {SSTab1, display_.scroll.hWnd(), emoticon_.scroll.hWnd()}) DrawClassic(h);
    ShowTab(0);
}

void Form1::ShowTab(int index) {
    currentTab_ = index;
    // The change empties the list: both grids start again at their first cells.
    display_.place = emoticon_.place = 1;
    const HWND page0[] = {Frame1, Frame2, Picture1.hWnd()};
    const HWND page1[] = {FrameEmo1, FrameEmo2, PictureEmo1.hWnd()};
    for (HWND h : page0) ::ShowWindow(h, index == 0 ? SW_SHOW : SW_HIDE);
    for (HWND h : page1) ::ShowWindow(h, index == 1 ? SW_SHOW : SW_HIDE);
    TabCtrl_SetCurSel(SSTab1, index);
}

void Form1::Unload() {
    if (!hwnd_) return;
    std::int16_t cancel = 0;
    Form_Unload(cancel);
    if (cancel) return;
    End();
    if (onUnloaded) onUnloaded();
}

void Form1::End() {
    installerEvents_.Disconnect();
    installer.Reset();
    xmlRequests::clearCollection(catalogue.itemIds);
    xmlRequests::clearCollection(catalogue.listItems);
    catalogue.xmlHttp.Reset();
    gdip.reset();
    for (auto& selected : gridFonts_) selected.reset();
    if (hwnd_) {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        ::DestroyWindow(h);
    }
}

LRESULT Form1::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->hwndFrom == SSTab1 && hdr->code == TCN_SELCHANGE) {
                const int previous = currentTab_;
                ShowTab(TabCtrl_GetCurSel(SSTab1));
                SSTab1_Click(static_cast<std::int16_t>(previous));
            }
            return 0;
        }
        case WM_VSCROLL: {
            const HWND bar = reinterpret_cast<HWND>(lParam);
            if (bar == display_.scroll.hWnd()) display_.scroll.OnScroll(LOWORD(wParam), HIWORD(wParam));
            if (bar == emoticon_.scroll.hWnd()) emoticon_.scroll.OnScroll(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Label1) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, RGB(0, 0, 128));
                ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == Label1) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            Unload();
            return 0;
        case kInstallSelectedMessage:
            if (static_cast<mivo::ItemKind>(wParam) == mivo::ItemKind::Display) {
                cmdAddDisp_Click();
            } else {
                cmdAddEmoticon_Click();
            }
            return 0;
        case WM_NCCREATE:
            hwnd_ = hwnd;
            break;
        case WM_NCDESTROY:
            // The grids are gone: a screen reader still holding their objects gets errors.
            DisconnectAccessibleGrids();
            hwnd_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Form1::OnCommand(int id, int code) {
    switch (id) {
        case IDC_lstDispCats: if (code == LBN_SELCHANGE) lstDispCats_Click(); break;
        case IDC_lstEmoCats: if (code == LBN_SELCHANGE) lstEmoCats_Click(); break;
        case IDC_cmdAddDisp: if (code == BN_CLICKED) cmdAddDisp_Click(); break;
        case IDC_cmdAddEmoticon: if (code == BN_CLICKED) cmdAddEmoticon_Click(); break;
        case IDC_Command1: if (code == BN_CLICKED) Command1_Click(); break;
        case IDC_Label1: if (code == STN_CLICKED) Label1_Click(); break;
        case IDM_mnuTempClear: mnuTempClear_Click(); break;
        case IDM_mnuExit: mnuExit_Click(); break;
        case IDM_mnuNewEmo: mnuNewEmo_Click(); break;
        case IDM_mnuNewDp: mnuNewDp_Click(); break;
        default: break;
    }
}
