#include "PictureBox.h"

#include <windowsx.h>

#include <cmath>

#include "mivo/ScopedHandle.h"
#include "mivo/WindowBinding.h"

namespace mivo {
namespace {
const wchar_t kClassName[] = L"MivoPictureBox";

void RegisterPictureBoxClass() {
    WNDCLASSEXW wc{};
    // Own DC: the picture box's hDC keeps its font and modes between paints.
    wc.style = CS_OWNDC | CS_DBLCLKS;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterWindowClass(wc);
}

// Mouse messages carry 16-bit coordinates, but a long grid's picture box is taller than
// 32,767 pixels. The pointer is over (or, captured, near) the part its frame shows, so the
// true value is the one with those low 16 bits that lies nearest to the middle of that part.
int Unwrap16(int value16, int nearTo) {
    const int wraps = static_cast<int>(std::lround((nearTo - value16) / 65536.0));
    return value16 + wraps * 65536;
}

int ShiftState(WPARAM wParam) {
    int shift = 0;
    if (wParam & MK_SHIFT) shift |= 1;
    if (wParam & MK_CONTROL) shift |= 2;
    if (::GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}
}  // namespace

void PictureBox::Create(HWND parent, const PixelRect& rect, COLORREF background, bool border, int id) {
    RegisterPictureBoxClass();
    background_ = background;
    heightTwips_ = static_cast<float>(rect.height * TwipsPerPixelY());
    CreateBoundWindow(*this, border ? WS_EX_CLIENTEDGE : 0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                      rect.left, rect.top, rect.width, rect.height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    // Text goes over what is drawn already (the highlight), without a background of its own.
    ::SetBkMode(hDC(), TRANSPARENT);
    // A child starts with its parent's keyboard cues.
    hideFocus_ = (::SendMessageW(BoundWindow(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

void PictureBox::TakeKeys() {
    takesKeys_ = true;
    HWND hwnd = BoundWindow();
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_TABSTOP);
}

LRESULT PictureBox::DialogCode(const MSG* message) const {
    LRESULT code = DLGC_WANTARROWS;
    if (message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) && message->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

// Windows tells each window of a change of the cues; the state is kept here as well, since
// not every system keeps it for the window (Wine answers WM_QUERYUISTATE with 0 whatever it
// was told).
void PictureBox::UpdateUiState(WPARAM wParam) {
    if (!(HIWORD(wParam) & UISF_HIDEFOCUS)) return;
    bool hide = hideFocus_;
    switch (LOWORD(wParam)) {
        case UIS_SET: hide = true; break;
        case UIS_CLEAR: hide = false; break;
        default: hide = (::SendMessageW(BoundWindow(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0; break;
    }
    if (hide == hideFocus_) return;
    hideFocus_ = hide;
    if (events.FocusCuesChanged) events.FocusCuesChanged();
}

HDC PictureBox::hDC() const { return ::GetDC(BoundWindow()); }  // own DC: no release needed

void PictureBox::Cls() {
    RECT rc;
    ::GetClientRect(BoundWindow(), &rc);
    UniqueGdi<HBRUSH> brush(::CreateSolidBrush(background_));
    ::FillRect(hDC(), &rc, brush.get());
}

void PictureBox::SetHeightTwips(float twips) {
    heightTwips_ = twips;
    RECT rc;
    ::GetWindowRect(BoundWindow(), &rc);
    ::SetWindowPos(BoundWindow(), nullptr, 0, 0, rc.right - rc.left, TwipsToPixelsY(twips),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int PictureBox::WidthPixels() const {
    RECT rc;
    ::GetWindowRect(BoundWindow(), &rc);
    return rc.right - rc.left;
}

int PictureBox::HeightPixels() const {
    RECT rc;
    ::GetWindowRect(BoundWindow(), &rc);
    return rc.bottom - rc.top;
}

void PictureBox::SetTopPixels(int top) {
    ::SetWindowPos(BoundWindow(), nullptr, PositionInParent().x, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int PictureBox::TopPixels() const { return PositionInParent().y; }

POINT PictureBox::PositionInParent() const {
    RECT rc;
    ::GetWindowRect(BoundWindow(), &rc);
    POINT pt{rc.left, rc.top};
    ::ScreenToClient(::GetParent(BoundWindow()), &pt);
    return pt;
}

POINT PictureBox::PointerAt(LPARAM lParam) const {
    RECT shown{};
    ::GetClientRect(::GetParent(BoundWindow()), &shown);
    const POINT origin = PositionInParent();
    const POINT middle{(shown.left + shown.right) / 2 - origin.x, (shown.top + shown.bottom) / 2 - origin.y};
    return POINT{Unwrap16(GET_X_LPARAM(lParam), middle.x), Unwrap16(GET_Y_LPARAM(lParam), middle.y)};
}

void PictureBox::Mouse(bool down, int button, WPARAM wParam, LPARAM lParam) {
    const POINT at = PointerAt(lParam);
    // Positions go out in twips, the picture box's scale unit.
    const float x = static_cast<float>(PixelsToTwips(at.x, TwipsPerPixelX()));
    const float y = static_cast<float>(PixelsToTwips(at.y, TwipsPerPixelY()));
    if (down) {
        ::SetCapture(BoundWindow());
        pressed_ = true;
        if (events.MouseDown) events.MouseDown(button, ShiftState(wParam), x, y);
        return;
    }
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (::GetCapture() == BoundWindow()) ::ReleaseCapture();
    if (events.MouseUp) events.MouseUp(button, ShiftState(wParam), x, y);
    if (wasPressed && button == 1 && events.Click) {
        RECT rc;
        ::GetClientRect(BoundWindow(), &rc);
        if (::PtInRect(&rc, at)) events.Click();
    }
}

LRESULT PictureBox::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(BoundWindow(), &rc);
            UniqueGdi<HBRUSH> brush(::CreateSolidBrush(background_));
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush.get());
            return 1;
        }
        case WM_PAINT: {
            const ScopedPaint paint(BoundWindow());
            if (picture_) {
                ScopedMemoryDC mem(paint.dc());
                BITMAP bm{};
                ::GetObjectW(picture_, sizeof bm, &bm);
                ScopedSelectObject select(mem.get(), picture_);
                ::BitBlt(paint.dc(), 0, 0, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
            }
            // The paint ends and forgets its area even when drawing fails (the window's trap
            // records that); the next paint draws again.
            paintArea_ = &paint.area();
            const struct EndOfPaint {
                const RECT*& area;
                ~EndOfPaint() { area = nullptr; }
            } endOfPaint{paintArea_};
            if (events.Paint) events.Paint();
            return 0;
        }
        case WM_GETOBJECT:
            if (events.AccessibleObject) {
                if (const LRESULT answer = events.AccessibleObject(wParam, lParam)) return answer;
            }
            break;
        case WM_GETDLGCODE:
            if (takesKeys_) return DialogCode(reinterpret_cast<const MSG*>(lParam));
            break;
        case WM_KEYDOWN:
            if (takesKeys_ && events.KeyDown) {
                events.KeyDown(static_cast<int>(wParam));
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (events.GotFocus) events.GotFocus();
            return 0;
        case WM_KILLFOCUS:
            if (events.LostFocus) events.LostFocus();
            return 0;
        case WM_UPDATEUISTATE: {
            const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
            UpdateUiState(wParam);
            return result;
        }
        case WM_SETCURSOR:
            if (linkCursor_ && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN: Mouse(true, 1, wParam, lParam); return 0;
        case WM_RBUTTONDOWN: Mouse(true, 2, wParam, lParam); return 0;
        case WM_MBUTTONDOWN: Mouse(true, 4, wParam, lParam); return 0;
        case WM_LBUTTONUP: Mouse(false, 1, wParam, lParam); return 0;
        case WM_RBUTTONUP: Mouse(false, 2, wParam, lParam); return 0;
        case WM_MBUTTONUP: Mouse(false, 4, wParam, lParam); return 0;
        // The second press of a double click arrives as the double-click event alone.
        case WM_LBUTTONDBLCLK:
            ::SetCapture(BoundWindow());
            if (events.DblClick) events.DblClick();
            return 0;
        case WM_RBUTTONDBLCLK: Mouse(true, 2, wParam, lParam); return 0;
        case WM_MBUTTONDBLCLK: Mouse(true, 4, wParam, lParam); return 0;
        default: break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace mivo
