#include "mivo/Registry.h"

#include "mivo/ScopedHandle.h"

namespace mivo {

LONG DeleteRegTree(HKEY parent, const wchar_t* path) noexcept {
    HKEY raw = nullptr;
    LONG rc = ::RegOpenKeyExW(parent, path, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &raw);
    if (rc != ERROR_SUCCESS) return rc;
    {
        const UniqueRegKey key(raw);
        // Always the first subkey: each one found is deleted before the next is asked for.
        wchar_t name[256];  // the longest key name, and its null
        DWORD length = 256;
        while ((rc = ::RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr)) ==
               ERROR_SUCCESS) {
            rc = DeleteRegTree(key.get(), name);
            if (rc != ERROR_SUCCESS) return rc;
            length = 256;
        }
        if (rc != ERROR_NO_MORE_ITEMS) return rc;
    }
    return ::RegDeleteKeyW(parent, path);
}

LONG SetRegValue(HKEY root, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
                 DWORD size) noexcept {
    HKEY raw = nullptr;
    const LONG rc =
        ::RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    const UniqueRegKey key(raw);
    return ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace mivo
