#include "ThumbnailCache.h"

#include <windows.h>
#include <urlmon.h>

#include <cwctype>
#include <memory>
#include <stdexcept>

#include "DownloadObserver.h"
#include "Form1.h"
#include "GdiPlus.h"
#include "PictureFile.h"
#include "xmlRequests.h"
#include "mivo/ComModule.h"
#include "mivo/Numbers.h"
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

// The picture in the file when GDI+ can open it and it has a size a thumbnail can sensibly
// have; empty otherwise. An empty answer or an HTML page (a captive portal answers 200) is no
// thumbnail; nor is a header that claims more than a decoder may be asked for, which is
// refused unopened.
mivo::gdip::UniqueImage ThumbnailPicture(const std::wstring& path) {
    mivo::gdip::UniqueImage image = mivo::LoadThumbnailImage(path);
    UINT width = 0;
    UINT height = 0;
    if (!image || Gdiplus::DllExports::GdipGetImageWidth(image.get(), &width) != Gdiplus::Ok ||
        Gdiplus::DllExports::GdipGetImageHeight(image.get(), &height) != Gdiplus::Ok || width == 0 || height == 0)
        return {};
    return image;
}

// Downloads under way: a pass that starts inside one (urlmon may let the window handle
// events while it downloads) must leave that download's temporary file alone.
int g_downloading = 0;

// A download goes to a temporary file in the cache folder and takes the cache name only when
// it counts: a failed or broken download never leaves a file that would count as cached.
// Whatever stands under the cache name is replaced; when it cannot be (a folder, a file
// that refuses), the item stays without a thumbnail. Returns the stored picture, decoded.
mivo::gdip::UniqueImage DownloadIntoCache(const std::wstring& url, const std::wstring& folder,
                                          const std::wstring& path) {
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(folder.c_str(), L"dl", 0, temp)) return {};
    mivo::gdip::UniqueImage picture;
    ++g_downloading;
    const bool stored =
        downloadFile(url, temp, &picture) && ::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING);
    --g_downloading;
    if (stored) return picture;
    ::DeleteFileW(temp);
    return {};
}

// True for a name GetTempFileName gives with our prefix: "dl", one to four hex digits, ".tmp".
bool IsDownloadTempName(const std::wstring& name) {
    const size_t dot = name.size() >= 4 ? name.size() - 4 : 0;
    if (dot < 3 || dot > 6 || !mivo::EqualsIgnoreCase(name.substr(0, 2), L"dl") ||
        !mivo::EqualsIgnoreCase(name.substr(dot), L".tmp"))
        return false;
    for (size_t i = 2; i < dot; ++i)
        if (!std::iswxdigit(name[i])) return false;
    return true;
}

// Temporary files of downloads that never ended (the program was ended during one) are
// removed; only names of our own temporary naming are touched.
void RemoveLeftoverDownloads(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const mivo::UniqueFind find(::FindFirstFileW((folder + L"dl*.tmp").c_str(), &data));
    if (!find) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsDownloadTempName(data.cFileName))
            ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find.get(), &data));
}

void fetchThumbs(mivo::ItemKind kind) {
    const std::wstring folder = CacheFolder();
    if (itemIds.Count() == 0) return;
    // A missing cache folder is made again, so thumbnails keep working after it was removed.
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (g_downloading == 0) RemoveLeftoverDownloads(folder);

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
            // A fresh download is drawn from the picture its check decoded, not read again.
            mivo::gdip::UniqueImage fresh;
            if (path && !CacheFileExists(*path)) fresh = DownloadIntoCache(mivo::ThumbnailUrl(kind, n), folder, *path);
            item->foto = true;
            if (kind == mivo::ItemKind::Display) {
                mainForm->lstDispViewOnPaint(key, std::move(fresh));
            } else {
                mainForm->lstEmoViewOnPaint(key, std::move(fresh));
            }
            DoEvents();
        }
    } catch (const std::logic_error&) {  // a position or key no longer listed, an id that is no number
        return;
    } catch (const mivo::OverflowError&) {  // an id beyond 16 bits
        return;
    }
}

}  // namespace

void fetchDispThumbs() { fetchThumbs(mivo::ItemKind::Display); }
void fetchEmoThumbs() { fetchThumbs(mivo::ItemKind::Emoticon); }

bool downloadFile(const std::wstring& url, const std::wstring& path, mivo::gdip::UniqueImage* picture) {
    // urlmon may report success for an error page or a cut-off body: the observer sees the
    // status and the length that the call's result does not tell.
    const auto observer = mivo::Make<DownloadObserver>(mivo::kMaxThumbnailBytes);
    // The newest version, not a copy from the browser's cache.
    const HRESULT hr =
        ::URLDownloadToFileW(nullptr, url.c_str(), path.c_str(), BINDF_GETNEWESTVERSION, observer.Get());
    if (hr != S_OK || !observer->Complete()) return false;
    mivo::gdip::UniqueImage checked = ThumbnailPicture(path);
    if (!checked) return false;
    if (picture) *picture = std::move(checked);
    return true;
}

std::wstring CacheFolder() { return mivo::ModuleFolder(nullptr) + L"\\temppics\\"; }

std::optional<std::wstring> CacheFilePath(mivo::ItemKind kind, const std::wstring& idText,
                                          const std::wstring& filetype) {
    if (!IsSafeFileType(filetype)) return std::nullopt;
    for (wchar_t c : idText) {
        if (std::wstring(L"\\/:.*?<>|\"").find(c) != std::wstring::npos) return std::nullopt;
    }
    return CacheFolder() + (kind == mivo::ItemKind::Display ? L"display" : L"emoticon") + idText + L"." + filetype;
}

namespace {
constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
}  // namespace

bool CacheFileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotNormal)) return false;
    // Only a name of 8.3 shape can be another file's short alias; a directory listing (under
    // Wine it reads the whole folder) then tells which file answered.
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const size_t dot = name.find_last_of(L'.');
    const bool shortShape =
        dot == std::wstring::npos ? name.size() <= 8 : dot <= 8 && name.size() - dot - 1 <= 3;
    if (!shortShape) return true;
    WIN32_FIND_DATAW data;
    mivo::UniqueFind find(::FindFirstFileW(path.c_str(), &data));
    return find && !(data.dwFileAttributes & kNotNormal) && mivo::EqualsIgnoreCase(data.cFileName, name);
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
