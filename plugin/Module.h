#pragma once
// The library's own module: its handle, the count that keeps it loaded, its version.
#include <windows.h>

#include <string>

namespace mivo::plugin {

// The module this code is linked into (the plug-in DLL, or a test program).
HMODULE ThisModule() noexcept;
// Full path of that module's file. Throws mivo::ComError.
std::wstring ThisModulePath();

// Objects, class factory locks and open About windows keep the library loaded: the host
// must not unload code that a live object or window still runs.
void LockModule() noexcept;
void UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

class ModuleLock {
public:
    ModuleLock() noexcept { LockModule(); }
    ~ModuleLock() { UnlockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

struct ModuleVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned revision = 0;
};

// Numbers of the module's version resource (FILEVERSION major,minor,0,revision).
// Throws mivo::ComError when the module has none.
ModuleVersion ReadModuleVersion();

}  // namespace mivo::plugin
