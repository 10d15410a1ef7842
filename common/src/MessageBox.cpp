#include "mivo/MessageBox.h"

#include <utility>

namespace mivo {
namespace {
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
    if (Handler()) return Handler()(owner, text, title, flags);
    return ::MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

ScopedMessageBoxHandler::ScopedMessageBoxHandler(MessageBoxHandler handler)
    : previous_(std::exchange(Handler(), std::move(handler))) {}

ScopedMessageBoxHandler::~ScopedMessageBoxHandler() { Handler() = std::move(previous_); }

}  // namespace mivo
