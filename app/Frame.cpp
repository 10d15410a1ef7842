#include "Frame.h"

#include <memory>

#include "mivo/ScopedHandle.h"
#include "mivo/WindowBinding.h"

namespace mivo {
namespace {
const wchar_t kClassName[] = L"MivoFrame";

// A frame's state lives as long as its window: created with it, deleted with it.
class Frame : public WindowObject {
public:
    explicit Frame(bool border) : border_(border) {}

private:
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HWND hwnd) const;

    bool border_;
    HFONT font_ = nullptr;  // not owned
};

void Frame::Paint(HWND hwnd) const {
    const ScopedPaint paint(hwnd);
    if (!border_) return;
    HDC dc = paint.dc();
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    ScopedSelectObject select(dc, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
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

LRESULT Frame::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: Paint(hwnd); return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
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

void RegisterFrameClass() {
    WNDCLASSEXW wc{};
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterWindowClass(wc);
}
}  // namespace

HWND CreateFrame(HWND parent, const PixelRect& rect, const std::wstring& caption, bool border, HFONT font) {
    RegisterFrameClass();
    auto frame = std::make_unique<Frame>(border);
    HWND hwnd = CreateBoundWindow(*frame, WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top, rect.width,
                                  rect.height, parent, nullptr);
    GiveToWindow(std::move(frame));
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

}  // namespace mivo
