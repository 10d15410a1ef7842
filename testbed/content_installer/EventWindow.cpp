#include "EventWindow.h"

#include "mivo/ComModule.h"
#include "mivo/ComSupport.h"
#include "mivo/WindowBinding.h"

#include <mutex>

namespace mivo::testbed {
namespace {

const wchar_t kClassName[] = L"MivoTestbedContentInstallerEvents";
const UINT kResultMessage = WM_APP + 1;

// The class is registered while windows of it exist: an unloaded DLL must not leave a
// class behind that points into its old code. The lock keeps one thread from
// unregistering it between another thread's registration and window creation.
std::mutex g_classLock;

using ClassLock = std::lock_guard<std::mutex>;

}  // namespace

EventWindow::EventWindow(Callback callback, void* context) : callback_(callback), context_(context) {
    const ClassLock lock(g_classLock);
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    RegisterWindowClass(wc);
    try {
        window_.reset(CreateBoundWindow(*this, 0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    } catch (const ComError&) {
        ::UnregisterClassW(kClassName, ThisModule());
        throw;
    }
}

EventWindow::~EventWindow() {
    const ClassLock lock(g_classLock);
    window_.reset();
    ::UnregisterClassW(kClassName, ThisModule());  // fails while other windows of it live: fine
}

void EventWindow::Post(LONG result) {
    if (!::PostMessageW(window_.get(), kResultMessage, static_cast<WPARAM>(result), 0))
        throw ComError(LastErrorHr(), "PostMessageW");
}

LRESULT EventWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kResultMessage) {
        // The callback may end the owner and this object with it: copy what it needs first.
        const Callback callback = callback_;
        void* const context = context_;
        callback(context, static_cast<LONG>(wParam));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace mivo::testbed
