#include "EventWindow.h"

#include "mivo/ComModule.h"
#include "mivo/ComSupport.h"

namespace mivo::testbed {
namespace {

const wchar_t kClassName[] = L"MivoTestbedContentInstallerEvents";
const UINT kResultMessage = WM_APP + 1;

// The class is registered while windows of it exist: an unloaded DLL must not leave a
// class behind that points into its old code. The lock keeps one thread from
// unregistering it between another thread's registration and window creation.
SRWLOCK g_classLock = SRWLOCK_INIT;

class ClassLock {
public:
    ClassLock() noexcept { ::AcquireSRWLockExclusive(&g_classLock); }
    ~ClassLock() { ::ReleaseSRWLockExclusive(&g_classLock); }
    ClassLock(const ClassLock&) = delete;
    ClassLock& operator=(const ClassLock&) = delete;
};

}  // namespace

EventWindow::EventWindow(Callback callback, void* context) : callback_(callback), context_(context) {
    const ClassLock lock;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &EventWindow::WindowProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw ComError(LastErrorHr(), "RegisterClassExW");
    window_.reset(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), this));
    if (!window_) {
        const HRESULT hr = LastErrorHr();
        ::UnregisterClassW(kClassName, ThisModule());
        throw ComError(hr, "CreateWindowExW");
    }
}

EventWindow::~EventWindow() {
    const ClassLock lock;
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
    ::UnregisterClassW(kClassName, ThisModule());  // fails while other windows of it live: fine
}

void EventWindow::Post(LONG result) {
    if (!::PostMessageW(window_.get(), kResultMessage, static_cast<WPARAM>(result), 0))
        throw ComError(LastErrorHr(), "PostMessageW");
}

LRESULT CALLBACK EventWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kResultMessage) {
        const auto* self = reinterpret_cast<const EventWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) {
            // The callback may end the owner and this object with it: copy what it needs first.
            const Callback callback = self->callback_;
            void* const context = self->context_;
            callback(context, static_cast<LONG>(wParam));
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace mivo::testbed
