#pragma once
// The one seam through which the programs show system message boxes, so tests can
// answer them without a modal loop.
#include <windows.h>
#include <functional>
#include <string>

namespace mivo {

using MessageBoxHandler = std::function<int(HWND owner, const std::wstring& text,
                                            const std::wstring& title, UINT flags)>;

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags);

// Replaces the real MessageBoxW until the returned guard ends.
class ScopedMessageBoxHandler {
public:
    explicit ScopedMessageBoxHandler(MessageBoxHandler handler);
    ~ScopedMessageBoxHandler();
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

private:
    MessageBoxHandler previous_;
};

}  // namespace mivo
