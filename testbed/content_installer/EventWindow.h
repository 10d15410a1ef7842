#pragma once
// A hidden message-only window on the thread that created the installer. Results posted to
// it come back to the owner's callback when that thread next dispatches its messages, so
// completion events never fire inside the call that started the installation.
#include <windows.h>

#include "mivo/ScopedHandle.h"
#include "mivo/WindowBinding.h"

namespace mivo::testbed {

class EventWindow final : private WindowObject {
public:
    using Callback = void (*)(void* context, LONG result);

    // Creates the window on the calling thread; throws ComError when it cannot.
    EventWindow(Callback callback, void* context);
    // Destroys the window: results still queued are dropped.
    ~EventWindow() override;
    EventWindow(const EventWindow&) = delete;
    EventWindow& operator=(const EventWindow&) = delete;

    void Post(LONG result);  // throws ComError when the message cannot be queued

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    Callback callback_;
    void* context_;
    UniqueWindow window_;
};

}  // namespace mivo::testbed
