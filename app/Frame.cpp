#include "Frame.h"

#include "mivo/ScopedHandle.h"

namespace mivo {
namespace {
const wchar_t kClassName[] = L"MivoFrame";

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    if (::GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0) {  // bordered frame
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        ScopedSelectObject select(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
        wchar_t caption[256];
        int n = ::GetWindowTextW(hwnd, caption, 256);
        SIZE text{};
        ::GetTextExtentPoint32W(dc, caption, n, &text);
        RECT border = rc;
        border.top += text.cy / 2;
        ::DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
        if (n > 0) {
            RECT label{8, 0, 8 + text.cx + 4, text.cy};
            ::FillRect(dc, &label, ::GetSysColorBrush(COLOR_BTNFACE));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            ::TextOutW(dc, 10, 0, caption, n);
        }
    }
    ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: Paint(hwnd); return 0;
        case WM_SETFONT:
            ::SetPropW(hwnd, L"MivoFont", reinterpret_cast<HANDLE>(wParam));
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(::GetPropW(hwnd, L"MivoFont"));
        case WM_NCDESTROY: ::RemovePropW(hwnd, L"MivoFont"); break;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_VSCROLL:
        case WM_HSCROLL:
        case WM_DRAWITEM:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR:
            return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
        default: break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}
}  // namespace

HWND CreateFrame(HWND parent, const PixelRect& rect, const std::wstring& caption, bool border, HFONT font) {
    RegisterOnce();
    HWND hwnd = ::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top, rect.width,
                                  rect.height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, border ? 1 : 0);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

}  // namespace mivo
