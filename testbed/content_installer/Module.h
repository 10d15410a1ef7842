#pragma once
// The DLL itself: its handle and folder, and the count of live objects and server locks
// that decides whether COM may unload it.
#include <windows.h>

#include <string>

namespace mivo::testbed {

HMODULE ThisModule() noexcept;
std::wstring ModulePath();    // full path of this DLL
std::wstring ModuleFolder();  // its folder, without a trailing backslash

void LockModule() noexcept;
void UnlockModule() noexcept;

}  // namespace mivo::testbed
