#pragma once
// A picture box: a child window with its own device context (so drawing state persists
// between calls), a background colour, an optional fixed picture and mouse events in twips.
// Nothing drawn on it is kept: the Paint event redraws whatever is uncovered.
#include <windows.h>

#include <functional>

#include "Twips.h"
#include "mivo/WindowBinding.h"

namespace mivo {

class PictureBox : private WindowObject {
public:
    struct Events {
        std::function<void()> Paint;
        std::function<void(int button, int shift, float x, float y)> MouseDown;
        std::function<void(int button, int shift, float x, float y)> MouseUp;
        std::function<void()> DblClick;
        std::function<void()> Click;
        // WM_GETOBJECT: the answer, or 0 for the system's own.
        std::function<LRESULT(WPARAM wParam, LPARAM lParam)> AccessibleObject;
        // Keyboard and focus, for a picture box that takes keys (TakeKeys).
        std::function<void(int keyCode)> KeyDown;
        std::function<void()> GotFocus;
        std::function<void()> LostFocus;
        // Windows' keyboard cues now show or hide focus rectangles (FocusCuesHidden).
        std::function<void()> FocusCuesChanged;
    };

    PictureBox() = default;
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // The window is a child of parent and is destroyed with it.
    void Create(HWND parent, const PixelRect& rect, COLORREF background, bool border, int id);
    void SetPicture(HBITMAP picture) { picture_ = picture; }  // not owned
    void SetLinkCursor(bool link) { linkCursor_ = link; }

    HWND hWnd() const { return BoundWindow(); }
    HDC hDC() const;  // the window's own device context
    COLORREF BackColor() const { return background_; }
    // While the Paint event runs: the rectangle the system asked to redraw; else null.
    const RECT* PaintArea() const { return paintArea_; }

    // A tab stop that asks the dialog manager for the arrow keys and Enter; Tab, Escape and
    // mnemonics stay the dialog's.
    void TakeKeys();
    bool HasFocus() const { return ::GetFocus() == BoundWindow(); }
    // Windows' keyboard-cue state: true while focus rectangles are to be hidden, as after
    // mouse-only use.
    bool FocusCuesHidden() const { return hideFocus_; }

    // Fills the whole area with the background colour (what was drawn is gone).
    void Cls();

    float HeightTwips() const { return heightTwips_; }
    void SetHeightTwips(float twips);
    int WidthPixels() const;
    int HeightPixels() const;
    void SetTopPixels(int top);
    int TopPixels() const;

    Events events;

private:
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DialogCode(const MSG* message) const;
    void UpdateUiState(WPARAM wParam);
    void Mouse(bool down, int button, WPARAM wParam, LPARAM lParam);
    POINT PositionInParent() const;
    // The pointer's position on the picture box from a mouse message, in full 32-bit range.
    POINT PointerAt(LPARAM lParam) const;

    HBITMAP picture_ = nullptr;
    const RECT* paintArea_ = nullptr;
    COLORREF background_ = RGB(255, 255, 255);
    float heightTwips_ = 0;
    bool linkCursor_ = false;
    bool pressed_ = false;
    bool takesKeys_ = false;
    bool hideFocus_ = false;
};

}  // namespace mivo
