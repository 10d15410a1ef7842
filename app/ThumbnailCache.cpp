#include "ThumbnailCache.h"

#include <windows.h>
#include <urlmon.h>

#include "Form1.h"
#include "xmlRequests.h"
#include "mivo/Numbers.h"
#include "mivo/ScopedHandle.h"

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

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\'));
}

// A download goes to a temporary file in the cache folder and takes the cache name only when
// complete: a failed or broken download never leaves a file that would count as cached.
void DownloadIntoCache(const std::wstring& url, const std::wstring& folder, const std::wstring& path) {
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(folder.c_str(), L"dl", 0, temp)) return;
    // An empty answer (a connection closed before any byte) is no thumbnail either.
    WIN32_FILE_ATTRIBUTE_DATA info{};
    const bool received = downloadFile(url, temp) && ::GetFileAttributesExW(temp, GetFileExInfoStandard, &info) &&
                          (info.nFileSizeLow != 0 || info.nFileSizeHigh != 0);
    if (received && ::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    ::DeleteFileW(temp);
}

void fetchThumbs(mivo::ItemKind kind) {
    const std::wstring folder = CacheFolder();
    if (itemIds.Count() == 0) return;
    // A missing cache folder is made again, so thumbnails keep working after it was removed.
    ::CreateDirectoryW(folder.c_str(), nullptr);

    // Events run between items and may replace or empty the list: every step re-reads the
    // collections, and the first read that fails ends the pass quietly.
    try {
        const long count = itemIds.Count();
        for (long p = 1; p <= count; ++p) {
            const std::int16_t n = mivo::ParseInt16(itemIds.Item(p));
            if (listItems.Count() == 0) return;
            const std::wstring key = ItemKey(kind, std::to_wstring(n));
            const std::shared_ptr<cListItem> item = listItems.Item(key);
            const auto path = CacheFilePath(kind, std::to_wstring(n), item->filetype);
            if (path && !CacheFileExists(*path)) DownloadIntoCache(mivo::ThumbnailUrl(kind, n), folder, *path);
            item->foto = true;
            if (kind == mivo::ItemKind::Display) {
                mainForm->lstDispViewOnPaint(key);
            } else {
                mainForm->lstEmoViewOnPaint(key);
            }
            DoEvents();
        }
    } catch (const std::exception&) {
        return;
    }
}

}  // namespace

void fetchDispThumbs() { fetchThumbs(mivo::ItemKind::Display); }
void fetchEmoThumbs() { fetchThumbs(mivo::ItemKind::Emoticon); }

bool downloadFile(const std::wstring& url, const std::wstring& path) {
    // 16 asks for the newest version, not a copy from the browser's cache.
    return ::URLDownloadToFileW(nullptr, url.c_str(), path.c_str(), 16, nullptr) == S_OK;
}

std::wstring CacheFolder() { return ProgramFolder() + L"\\temppics\\"; }

std::optional<std::wstring> CacheFilePath(mivo::ItemKind kind, const std::wstring& idText,
                                          const std::wstring& filetype) {
    if (!IsSafeFileType(filetype)) return std::nullopt;
    for (wchar_t c : idText) {
        if (std::wstring(L"\\/:.*?<>|\"").find(c) != std::wstring::npos) return std::nullopt;
    }
    return CacheFolder() + (kind == mivo::ItemKind::Display ? L"display" : L"emoticon") + idText + L"." + filetype;
}

bool CacheFileExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    mivo::UniqueFind find(::FindFirstFileW(path.c_str(), &data));
    return find && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DoEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: leave the quit for the main loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace xmlRequests
