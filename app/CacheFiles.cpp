#include "CacheFiles.h"

#include <windows.h>

#include <cwctype>

#include "PictureFile.h"
#include "mivo/ComModule.h"
#include "mivo/ScopedHandle.h"
#include "mivo/Text.h"

namespace xmlRequests {
namespace {

bool IsSafeFileType(const std::wstring& filetype) {
    if (filetype.empty() || filetype.size() > 16) return false;
    for (wchar_t c : filetype) {
        const bool alnum = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
        if (!alnum) return false;
    }
    return true;
}

// True for a name GetTempFileName gives with our prefix: "dl", one to four hex digits, ".tmp".
bool IsDownloadTempName(const std::wstring& name) {
    const size_t dot = name.size() >= 4 ? name.size() - 4 : 0;
    if (dot < 3 || dot > 6 || !mivo::EqualsIgnoreCase(name.substr(0, 2), kDownloadTempPrefix) ||
        !mivo::EqualsIgnoreCase(name.substr(dot), L".tmp"))
        return false;
    for (size_t i = 2; i < dot; ++i)
        if (!std::iswxdigit(name[i])) return false;
    return true;
}

}  // namespace

std::wstring CacheFolder() { return mivo::ModuleFolder(nullptr) + L"\\temppics\\"; }

std::optional<std::wstring> CacheFilePath(mivo::ItemKind kind, const std::wstring& idText,
                                          const std::wstring& filetype) {
    if (!IsSafeFileType(filetype)) return std::nullopt;
    for (wchar_t c : idText) {
        if (std::wstring(L"\\/:.*?<>|\"").find(c) != std::wstring::npos) return std::nullopt;
    }
    return CacheFolder() + (kind == mivo::ItemKind::Display ? L"display" : L"emoticon") + idText + L"." + filetype;
}

bool CacheFileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & mivo::kNotNormalFile)) return false;
    // Only a name of 8.3 shape can be another file's short alias; a directory listing (under
    // Wine it reads the whole folder) then tells which file answered.
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const size_t dot = name.find_last_of(L'.');
    const bool shortShape =
        dot == std::wstring::npos ? name.size() <= 8 : dot <= 8 && name.size() - dot - 1 <= 3;
    if (!shortShape) return true;
    WIN32_FIND_DATAW data;
    mivo::UniqueFind find(::FindFirstFileW(path.c_str(), &data));
    return find && !(data.dwFileAttributes & mivo::kNotNormalFile) &&
           mivo::EqualsIgnoreCase(data.cFileName, name);
}

void RemoveLeftoverDownloads(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const mivo::UniqueFind find(::FindFirstFileW((folder + kDownloadTempPrefix + L"*.tmp").c_str(), &data));
    if (!find) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsDownloadTempName(data.cFileName))
            ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find.get(), &data));
}

}  // namespace xmlRequests
