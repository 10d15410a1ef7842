#include "mivo/MessagePump.h"

#include <windows.h>

namespace mivo {

void RouteMessage(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && (::GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && ::IsDialogMessageW(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool DispatchPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: leave the quit for the main loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        RouteMessage(msg);
    }
    return true;
}

}  // namespace mivo
