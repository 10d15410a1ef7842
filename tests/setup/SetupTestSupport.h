#pragma once
// Processes, registry and shell look-ups for the setup tests, which run MivoSetup.exe and
// its uninstaller as Windows processes in the test prefix.
#include <windows.h>

#include <optional>
#include <string>

#include "TestSupport.h"

namespace mivo::test {

std::wstring Quoted(const std::wstring& text);

// Runs `commandLine` and waits for it and for every process it starts, however deep (an
// NSIS uninstaller re-launches itself from a temporary copy and ends at once). Returns the
// first process's exit code; throws when the tree outlives `timeoutMs`, ending it.
DWORD RunProcessTree(const std::wstring& commandLine, DWORD timeoutMs);

// Waits until a process of the program file `path` shows a window, then ends that process.
// False when none did within `timeoutMs`.
bool EndProgramOnceItShowsAWindow(const std::wstring& path, DWORD timeoutMs);
void EndEveryProcessOf(const std::wstring& path);

bool KeyExists(HKEY root, const std::wstring& path);
// A REG_SZ value; nothing when the key or the value is missing or of another type.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name);
void WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);
void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name);
void DeleteKeyIfEmpty(HKEY root, const std::wstring& path);

// The in-process server file registered for a ProgID, through its CLSID.
std::optional<std::wstring> RegisteredServer(const std::wstring& progId);

bool DirectoryExists(const std::wstring& path);
std::wstring CommonProgramsFolder();
std::wstring ShortcutTarget(const std::wstring& linkPath);

}  // namespace mivo::test
