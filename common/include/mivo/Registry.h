#pragma once
// Registry helpers that Windows XP's API lacks.
#include <windows.h>

namespace mivo {

// Deletes <parent>\<path> with all its subkeys, as RegDeleteTree (Windows Vista) does.
// Returns ERROR_SUCCESS, or the first error (ERROR_FILE_NOT_FOUND when the key is absent).
LONG DeleteRegTree(HKEY parent, const wchar_t* path) noexcept;

// Creates <root>\<path> if need be and sets one value in it (nullptr name: the default), as
// RegSetKeyValue (Windows Vista) does. Returns ERROR_SUCCESS or the error.
LONG SetRegValue(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
                 DWORD size) noexcept;

}  // namespace mivo
