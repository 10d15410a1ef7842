#include "CacheFiles.h"

#include <windows.h>

#include <optional>

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

constexpr wchar_t kDownloadPrefix[] = L"mivo-download-";

// The value of one to ten decimal digits; nothing for any other text.
std::optional<unsigned long long> Decimal(const std::wstring& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    unsigned long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value;
}

// The process id in a name of the download naming; nothing for any other name.
std::optional<unsigned long> DownloadProcess(const std::wstring& name) {
    const std::wstring prefix = kDownloadPrefix;
    if (name.size() < prefix.size() + 7 || !mivo::EqualsIgnoreCase(name.substr(0, prefix.size()), prefix) ||
        !mivo::EqualsIgnoreCase(name.substr(name.size() - 4), L".tmp"))
        return std::nullopt;
    const std::wstring middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    const size_t dash = middle.find(L'-');
    if (dash == std::wstring::npos || !Decimal(middle.substr(dash + 1))) return std::nullopt;
    const std::optional<unsigned long long> id = Decimal(middle.substr(0, dash));
    if (!id || *id > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<unsigned long>(*id);
}

bool ProcessEnded(unsigned long processId) {
    const mivo::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    // No process of that id; one that cannot be opened is someone else's and still there.
    if (!process) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
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

std::wstring DownloadFileName(unsigned long processId, unsigned number) {
    return kDownloadPrefix + std::to_wstring(processId) + L"-" + std::to_wstring(number) + L".tmp";
}

void RemoveLeftoverDownloads(const std::wstring& folder, bool downloadUnderWay) {
    WIN32_FIND_DATAW data;
    const mivo::UniqueFind find(::FindFirstFileW((folder + kDownloadPrefix + L"*.tmp").c_str(), &data));
    if (!find) return;
    const unsigned long self = ::GetCurrentProcessId();
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::optional<unsigned long> owner = DownloadProcess(data.cFileName);
        if (owner && (*owner == self ? !downloadUnderWay : ProcessEnded(*owner)))
            ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find.get(), &data));
}

}  // namespace xmlRequests
