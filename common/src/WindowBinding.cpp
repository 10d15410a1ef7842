#include "mivo/WindowBinding.h"

#include <atomic>
#include <exception>
#include <string>

#include "mivo/ComModule.h"
#include "mivo/ComSupport.h"
#include "mivo/Text.h"

namespace mivo {

// The window procedure's side of the binding: it sets and clears the object's window, and
// deletes an object its window owns.
struct WindowBindingAccess {
    static void Bind(WindowObject& object, HWND hwnd) noexcept { object.window_ = hwnd; }
    static void Unbind(WindowObject* object) noexcept {
        if (object->ownedByWindow_) {
            delete object;
        } else {
            object->window_ = nullptr;
        }
    }
};

namespace {

std::atomic<long> g_trapped{0};

void RecordTrapped(UINT message, const char* what) noexcept {
    ++g_trapped;
    try {
        const std::wstring line = L"Mivo: message " + std::to_wstring(message) + L" ended in an exception: " +
                                  FromAnsi(what) + L"\n";
        ::OutputDebugStringW(line.c_str());
    } catch (...) {
        ::OutputDebugStringW(L"Mivo: a window message ended in an exception\n");
    }
}

LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* object = reinterpret_cast<WindowObject*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!object) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCCREATE) WindowBindingAccess::Bind(*object, hwnd);
    LRESULT result = 0;
    // No exception may cross the system's frames: a handler that failed ends here, is
    // recorded, and the window goes on.
    try {
        result = object->HandleMessage(hwnd, message, wParam, lParam);
    } catch (const std::exception& e) {
        RecordTrapped(message, e.what());
    } catch (...) {
        RecordTrapped(message, "(not a std::exception)");
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        WindowBindingAccess::Unbind(object);
    }
    return result;
}

}  // namespace

void RegisterWindowClass(WNDCLASSEXW wc) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &BoundWindowProc;
    wc.hInstance = ThisModule();
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw ComError(LastErrorHr(), "RegisterClassExW");
}

HWND CreateBoundWindow(WindowObject& object, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                       DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu, ThisModule(),
                                  &object);
    if (!hwnd) throw ComError(LastErrorHr(), "CreateWindowExW");
    return hwnd;
}

long TrappedExceptionCount() noexcept { return g_trapped.load(); }

void GiveToWindow(std::unique_ptr<WindowObject> object) noexcept { object.release()->ownedByWindow_ = true; }

}  // namespace mivo
