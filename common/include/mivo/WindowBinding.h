#pragma once
// One way for a window to reach its C++ object. The object is bound when the window is
// created (WM_NCCREATE, from the creation parameter), so it sees every message of its
// window from then on; every message goes through one window procedure, which holds the one
// exception trap of all our windows.
#include <windows.h>

#include <memory>

namespace mivo {

class WindowObject;
// From now on the object's window owns it: the object is deleted after the window's last
// message (WM_NCDESTROY). The object must be bound to a window that exists.
void GiveToWindow(std::unique_ptr<WindowObject> object) noexcept;

// An object that handles the messages of its window.
class WindowObject {
public:
    virtual ~WindowObject() = default;
    // Called for every message from WM_NCCREATE to WM_NCDESTROY; after WM_NCDESTROY the
    // window reaches the object no more. Messages not handled go to DefWindowProcW.
    virtual LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The bound window from WM_NCCREATE until its last message; null before and after.
    HWND BoundWindow() const noexcept { return window_; }

protected:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

private:
    friend struct WindowBindingAccess;
    friend void GiveToWindow(std::unique_ptr<WindowObject> object) noexcept;
    HWND window_ = nullptr;
    bool ownedByWindow_ = false;
};

// Registers a class of this module whose windows are bound to objects: the window procedure
// and the module are filled in here. A class already registered is no error, so each
// creation may register first. Throws mivo::ComError when the class cannot be registered.
void RegisterWindowClass(WNDCLASSEXW wc);

// Creates a window of such a class, bound to object. Throws mivo::ComError when the window
// cannot be created.
HWND CreateBoundWindow(WindowObject& object, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                       DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu);

// How many exceptions the window procedure has caught in this module so far. Each one is
// a handler that failed; it is also written to the debugger output.
long TrappedExceptionCount() noexcept;

// BeginPaint and EndPaint of one WM_PAINT: the paint ends even when drawing fails.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    ~ScopedPaint() { ::EndPaint(hwnd_, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC dc() const noexcept { return dc_; }
    const RECT& area() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

}  // namespace mivo
