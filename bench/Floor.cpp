// Floor programs: only the work that no implementation can avoid, to divide the program's
// figures by. Modes: startup | click | cached | cached-inview | cached-emo | cached-emo-inview |
// cold (same categories as AppBench.cpp).
#include <windows.h>
#include <commctrl.h>
#include <urlmon.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GdiPlus.h"
#include "PictureFile.h"
#include "Resources.h"
#include "mivo/BuildConfig.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/ComSupport.h"
#include "mivo/WindowBinding.h"
#include "mivo/XmlRequest.h"

using namespace mivo::gdip;

namespace {

struct Entry {
    std::wstring id, type, title;
};

// The POST and the parse, reading every element's text and both attributes.
std::vector<Entry> Fetch(IXMLHTTPRequest* http, const std::wstring& path, const wchar_t* nodePath) {
    const std::wstring text = mivo::PostForText(http, std::wstring(mivo::ContentBaseUrl) + path);
    auto nodes = mivo::SelectNodesFromText(text, nodePath);
    std::vector<Entry> out;
    const long n = mivo::NodeCount(nodes.Get());
    for (long i = 0; i < n; ++i) {
        auto node = mivo::NodeAt(nodes.Get(), i);
        out.push_back({mivo::AttributeText(node.Get(), 0).value_or(L""), mivo::AttributeText(node.Get(), 1).value_or(L""),
                       mivo::NodeText(node.Get())});
    }
    return out;
}

HWND CreatePlainWindow(int width, int height) {
    WNDCLASSEXW wc{};
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MivoBenchFloor";
    mivo::RegisterWindowClass(wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                                  height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    bench::Pump();
    return hwnd;
}

HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, const RECT& r,
           HFONT font) {
    HWND h = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | style, r.left, r.top, r.right, r.bottom, parent,
                               nullptr, nullptr, nullptr);
    ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

// Windows draws these controls classic without a manifest; Wine themes them unless told.
void DrawClassic(HWND control) {
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    static HMODULE uxtheme = ::LoadLibraryW(L"uxtheme.dll");
    static auto setWindowTheme =
        uxtheme ? reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme")))
                : nullptr;
    if (setWindowTheme) setWindowTheme(control, L" ", L" ");
}

// The designed main window, built the plain way: its menu bar, the tab strip with two pages of
// the same arrangement (category list, grid with its scroll bar, add button, banner), the link
// and the close button, each at its place in the design's font, and both category lists filled.
HWND ShowDesignedWindow(const std::vector<Entry>& display, const std::vector<Entry>& emoticon) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    // Design rectangles in twips: left, top, width, height.
    const auto px = [&](int l, int t, int w, int h) {
        return RECT{::MulDiv(l, dpiX, 1440), ::MulDiv(t, dpiY, 1440), ::MulDiv(w, dpiX, 1440), ::MulDiv(h, dpiY, 1440)};
    };

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_MIVO));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MivoBenchFloorForm";
    ::RegisterClassExW(&wc);
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 1, L"Clear temporary files");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(file, MF_STRING, 2, L"&Exit");
    HMENU action = ::CreatePopupMenu();
    ::AppendMenuW(action, MF_STRING, 3, L"Upload new emoticon");
    ::AppendMenuW(action, MF_STRING, 4, L"Upload new DP");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(action), L"&Actions");
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const RECT client = px(0, 0, 8775, 6480);
    RECT outer{0, 0, client.right, client.bottom};
    ::AdjustWindowRectEx(&outer, style, TRUE, 0);
    HWND hwnd = ::CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"Mivo - Holmfeld MSN Installer (beta)", style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, bar, wc.hInstance, nullptr);
    const int fontHeight = -::MulDiv(165, dpiY, 1440);
    HFONT font = ::CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    HFONT link = ::CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    HANDLE banner = ::LoadImageW(wc.hInstance, MAKEINTRESOURCEW(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);

    const RECT tabRect = px(120, 120, 8535, 5775);
    HWND tab = Child(WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS, 0, hwnd, tabRect, font);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Display Pictures");
    TabCtrl_InsertItem(tab, 0, &item);
    item.pszText = const_cast<wchar_t*>(L"Emoticons");
    TabCtrl_InsertItem(tab, 1, &item);
    const auto onTab = [&](RECT r) {
        r.left += tabRect.left;
        r.top += tabRect.top;
        return r;
    };
    const wchar_t* captions[] = {L"Choose your display picture", L"Choose your emoticon"};
    const std::vector<Entry>* entries[] = {&display, &emoticon};
    for (int page = 0; page < 2; ++page) {
        const DWORD shown = page == 0 ? WS_VISIBLE : 0;
        HWND frame = Child(L"BUTTON", captions[page], shown | BS_GROUPBOX, 0, hwnd, onTab(px(120, 480, 5655, 4935)), font);
        HWND list = Child(L"LISTBOX", L"", WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, frame,
                          px(120, 240, 1575, 4545), font);
        for (const Entry& e : *entries[page])
            ::SendMessageW(list, LB_SETITEMDATA,
                           static_cast<WPARAM>(::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.title.c_str()))),
                           static_cast<LPARAM>(_wtoi(e.id.c_str())));
        HWND back = Child(L"STATIC", L"", WS_VISIBLE, 0, frame, px(1800, 240, 3735, 4575), font);
        Child(L"STATIC", L"", WS_VISIBLE | SS_WHITERECT, 0, back, px(0, 0, 3495, 4575), font);
        DrawClassic(Child(L"SCROLLBAR", L"", WS_VISIBLE | SBS_VERT, 0, back, px(3480, 0, 255, 4575), font));
        HWND add = Child(L"BUTTON", L"Add to Messenger", shown | BS_GROUPBOX, 0, hwnd, onTab(px(5880, 480, 2535, 975)), font);
        Child(L"BUTTON", L"Add to my MSN Messenger", WS_VISIBLE | BS_PUSHBUTTON, 0, add, px(120, 240, 2295, 615), font);
        HWND picture = Child(L"STATIC", L"", shown | SS_BITMAP, 0, hwnd, onTab(px(5880, 1560, 2535, 3855)), font);
        ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner));
    }
    Child(L"STATIC", (std::wstring(L"This content is brought to you by ") + mivo::ContentBaseUrl).c_str(),
          WS_VISIBLE | SS_NOTIFY, 0, hwnd, px(120, 6000, 6135, 375), link);
    Child(L"BUTTON", L"Close", WS_VISIBLE | BS_PUSHBUTTON, 0, hwnd, px(6360, 6000, 2295, 375), font);
    ::SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    DrawClassic(tab);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd);
    bench::Pump();
    return hwnd;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\') + 1);
}

// Read, check the header of, decode, draw at size x size and dispose each file, on one
// graphics object. No decoder may see a file before its header is checked, so the check is
// work that cannot be avoided.
void DrawFiles(HWND hwnd, const std::vector<std::wstring>& files, int size = 64) {
    GpGraphics* graphics = nullptr;
    GdipCreateFromHWND(hwnd, &graphics);
    int y = 0;
    for (const std::wstring& file : files) {
        if (const UniqueImage image = mivo::LoadThumbnailImage(file))
            GdipDrawImageRectI(graphics, image.get(), 10, y, size, size);
        y = (y + 90) % 270;
    }
    GdipDeleteGraphics(graphics);
}

// What a pass over a cached list shows until the grid is scrolled: each file's presence
// checked and the window's events processed after each item, as the pass goes one item after
// the other, and only the cells in view (two a row at the grid's pitch) read, checked,
// decoded and drawn.
void DrawCellsInView(HWND hwnd, const std::vector<std::wstring>& files, size_t inView, int size, int pitch) {
    GpGraphics* graphics = nullptr;
    GdipCreateFromHWND(hwnd, &graphics);
    for (size_t i = 0; i < files.size(); ++i) {
        if (::GetFileAttributesW(files[i].c_str()) != INVALID_FILE_ATTRIBUTES && i < inView) {
            if (const UniqueImage image = mivo::LoadThumbnailImage(files[i]))
                GdipDrawImageRectI(graphics, image.get(), i % 2 == 0 ? 26 : 122, static_cast<int>(i / 2) * pitch + 15,
                                   size, size);
        }
        bench::Pump();
    }
    GdipDeleteGraphics(graphics);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    mivo::ScopedCoInit com;
    auto http = mivo::CreateXmlHttp();
    if (mode == "startup") {
        ShowDesignedWindow(Fetch(http.Get(), L"/appgetdispcats.php", L"cats/cat"),
                           Fetch(http.Get(), L"/appgetemocats.php", L"cats/cat"));
        return bench::Report(bench::SinceProcessStartMs());
    }
    if (mode == "click") {
        HWND hwnd = CreatePlainWindow(300, 400);
        HWND scroll = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 233, 0, 17, 305, hwnd,
                                        nullptr, nullptr, nullptr);
        DrawClassic(scroll);
        HFONT font = ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
        Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
        const double t0 = bench::NowMs();
        const auto items = Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
        // What the click shows: the grid cleared, the captions of the cells in sight (two a
        // row, four rows), and the scroll range of the whole list.
        HDC dc = ::GetDC(hwnd);
        const RECT grid{0, 0, 233, 305};
        ::FillRect(dc, &grid, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        const HGDIOBJ old = ::SelectObject(dc, font);
        for (size_t i = 0; i < items.size() && i < 8; ++i) {
            SIZE size{};
            const std::wstring& title = items[i].title;
            ::GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &size);
            const int left = i % 2 == 0 ? 20 : 116;
            ::TextOutW(dc, left + (76 - size.cx) / 2, static_cast<int>(i / 2) * 90 + 80, title.c_str(),
                       static_cast<int>(title.size()));
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(hwnd, dc);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(items.size()) / 2 * 100 - 305, 40, 0, 0};
        ::SetScrollInfo(scroll, SB_CTL, &si, TRUE);
        const double ms = bench::NowMs() - t0;
        ::DeleteObject(font);
        ::DestroyWindow(hwnd);
        return bench::Report(ms);
    }
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    GdiplusStartup(&token, &input, nullptr);
    HWND hwnd = CreatePlainWindow(300, 400);
    // A folder of its own: Wine's file lookups slow down as a folder fills, so sharing the
    // program's cache folder would slow both.
    const bool emo = mode.rfind("cached-emo", 0) == 0;
    const std::wstring folder =
        ProgramFolder() + (mode == "cold" ? L"floorcold\\" : emo ? L"floorcacheemo\\" : L"floorcache\\");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const auto items = emo ? Fetch(http.Get(), L"/appgetemos.php?id=6", mivo::ItemNodePath(mivo::ItemKind::Emoticon))
                           : Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
    std::vector<std::wstring> files;
    for (const Entry& e : items) files.push_back(folder + (emo ? L"emoticon" : L"display") + e.id + L"." + e.type);
    double ms = -1;
    if (mode.rfind("cached", 0) == 0) {
        for (size_t i = 0; i < files.size(); ++i) {
            if (::GetFileAttributesW(files[i].c_str()) == INVALID_FILE_ATTRIBUTES) {
                const std::wstring url = std::wstring(mivo::ContentBaseUrl) +
                                         (emo ? L"/getemoticon.php?emoid=" : L"/getdisplay.php?emoid=") + items[i].id;
                ::URLDownloadToFileW(nullptr, url.c_str(), files[i].c_str(), 16, nullptr);
            }
        }
        // The grid's frame shows four rows of display pictures, six of emoticons.
        const bool inView = mode.size() > 7 && mode.compare(mode.size() - 7, 7, "-inview") == 0;
        const double t0 = bench::NowMs();
        if (inView)
            DrawCellsInView(hwnd, files, emo ? 12 : 8, emo ? 24 : 64, emo ? 55 : 90);
        else
            DrawFiles(hwnd, files, emo ? 24 : 64);
        ms = bench::NowMs() - t0;
    } else if (mode == "cold") {
        for (const std::wstring& f : files) ::DeleteFileW(f.c_str());
        Fetch(http.Get(), L"/appgetdisps.php?id=3", mivo::ItemNodePath(mivo::ItemKind::Display));
        const double t0 = bench::NowMs();
        const auto listed = Fetch(http.Get(), L"/appgetdisps.php?id=1", mivo::ItemNodePath(mivo::ItemKind::Display));
        for (size_t i = 0; i < listed.size(); ++i) {
            const std::wstring url = std::wstring(mivo::ContentBaseUrl) + L"/getdisplay.php?emoid=" + listed[i].id;
            ::URLDownloadToFileW(nullptr, url.c_str(), files[i].c_str(), 16, nullptr);
            DrawFiles(hwnd, {files[i]});
            bench::Pump();
        }
        ms = bench::NowMs() - t0;
    }
    ::DestroyWindow(hwnd);
    GdiplusShutdown(token);
    if (ms < 0) {
        std::fprintf(stderr, "unknown mode\n");
        return 2;
    }
    return bench::Report(ms);
}
