#include "mivo/ComModule.h"

#include "mivo/ComSupport.h"

// The linker's symbol for the start of the image this code is linked into.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace mivo {
namespace {
LONG lockCount = 0;
ModuleLockHook lockHook = nullptr;  // none: a DLL or a program that serves no other process
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
    if (lockHook) lockHook(true);
}

void UnlockModule() noexcept {
    ::InterlockedDecrement(&lockCount);
    if (lockHook) lockHook(false);
}

void CountLocksWith(ModuleLockHook hook) noexcept { lockHook = hook; }
bool ServesOtherProcesses() noexcept { return lockHook != nullptr; }
LONG ModuleLockCount() noexcept { return ::InterlockedCompareExchange(&lockCount, 0, 0); }

}  // namespace mivo
