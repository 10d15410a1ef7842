// The out-of-process home of the stand-in, as Messenger's own program is: started by COM
// with -Embedding, it serves the class until its last object and lock are gone, or until
// WM_CLOSE reaches its hidden window (a user quitting Messenger while clients hold its objects).
// "/RegServer" and "/UnregServer" register it as the class's LocalServer32 and remove it.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "InstallerClass.h"
#include "mivo/ComServer.h"
#include "mivo/ComSupport.h"
#include "mivo/ScopedHandle.h"
#include "mivo/Text.h"

namespace {

// Hidden, found by its class among the top-level windows: closing it quits the program.
const wchar_t kQuitWindowClass[] = L"MivoTestbedMessenger";

LRESULT CALLBACK QuitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int Serve(const mivo::ComClass& cls) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &QuitWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kQuitWindowClass;
    if (!::RegisterClassW(&wc)) return 1;
    const mivo::UniqueWindow window(
        ::CreateWindowExW(0, kQuitWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr));
    if (!window) return 1;
    return mivo::ServeComClass(cls);
}

bool IsSwitch(const wchar_t* argument, const wchar_t* name) {
    return (argument[0] == L'-' || argument[0] == L'/') && mivo::EqualsIgnoreCase(argument + 1, name);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR* const arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments) return 1;
    const std::wstring argument = count > 1 ? arguments[1] : L"";
    ::LocalFree(arguments);

    const mivo::ScopedCoInit com;
    if (FAILED(com.hr())) return 1;
    const mivo::ComClass& cls = mivo::testbed::InstallerClass();
    if (IsSwitch(argument.c_str(), L"RegServer")) return SUCCEEDED(mivo::RegisterComLocalServer(cls)) ? 0 : 1;
    if (IsSwitch(argument.c_str(), L"UnregServer")) return SUCCEEDED(mivo::UnregisterComClass(cls)) ? 0 : 1;
    if (IsSwitch(argument.c_str(), L"Embedding")) return Serve(cls);
    return 2;  // started by hand: nothing to serve
}
