#pragma once
// The module (DLL or program) this code is linked into: its handle, its file, and the count
// of live objects and server locks that decides whether COM may unload it.
#include <windows.h>

#include <string>

namespace mivo {

HMODULE ThisModule() noexcept;
// Full path of a module's file (nullptr: the program's). Throws mivo::ComError.
std::wstring ModulePath(HMODULE module = ThisModule());
// Its folder, without a trailing backslash.
std::wstring ModuleFolder(HMODULE module = ThisModule());

// Objects, class objects, server locks and open windows keep the module loaded: the host
// must not unload code that a live object or window still runs.
void LockModule() noexcept;
void UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

// A program serving its classes to other processes counts the same locks as COM's server
// process references (ServeComClass): the hook runs at each lock (true) and unlock (false).
using ModuleLockHook = void (*)(bool locked) noexcept;
void CountLocksWith(ModuleLockHook hook) noexcept;
bool ServesOtherProcesses() noexcept;

class ModuleLock {
public:
    ModuleLock() noexcept { LockModule(); }
    ~ModuleLock() { UnlockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace mivo
