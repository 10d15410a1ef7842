#include "mivo/ComModule.h"

#include <objbase.h>

#include "mivo/ComSupport.h"

// The linker's symbol for the start of the image this code is linked into.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace mivo {
namespace {
LONG lockCount = 0;
DWORD serverThread = 0;  // 0: a DLL or a program that serves no other process
}  // namespace

HMODULE ThisModule() noexcept { return reinterpret_cast<HMODULE>(&__ImageBase); }

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) throw ComError(LastErrorHr(), "GetModuleFileNameW");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: the path is longer than the buffer
    }
}

std::wstring ModuleFolder(HMODULE module) {
    const std::wstring path = ModulePath(module);
    return path.substr(0, path.find_last_of(L'\\'));
}

void LockModule() noexcept {
    ::InterlockedIncrement(&lockCount);
    if (serverThread) ::CoAddRefServerProcess();
}

void UnlockModule() noexcept {
    ::InterlockedDecrement(&lockCount);
    if (serverThread && ::CoReleaseServerProcess() == 0) ::PostThreadMessageW(serverThread, WM_QUIT, 0, 0);
}

void CountLocksAsServerProcess(DWORD thread) noexcept { serverThread = thread; }
bool ServesOtherProcesses() noexcept { return serverThread != 0; }
LONG ModuleLockCount() noexcept { return ::InterlockedCompareExchange(&lockCount, 0, 0); }

}  // namespace mivo
