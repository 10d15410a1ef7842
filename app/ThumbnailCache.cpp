#include "ThumbnailCache.h"

#include <windows.h>
#include <urlmon.h>

#include <memory>
#include <stdexcept>

#include "DownloadObserver.h"
#include "GdiPlus.h"
#include "PictureFile.h"
#include "xmlRequests.h"
#include "mivo/ComObject.h"
#include "mivo/MessagePump.h"
#include "mivo/Numbers.h"
#include "mivo/ScopedHandle.h"

namespace xmlRequests {
namespace {

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

// Counts a download as under way for as long as it lives.
class DownloadUnderWay {
public:
    explicit DownloadUnderWay(int& count) : count_(count) { ++count_; }
    ~DownloadUnderWay() { --count_; }
    DownloadUnderWay(const DownloadUnderWay&) = delete;
    DownloadUnderWay& operator=(const DownloadUnderWay&) = delete;

private:
    int& count_;
};

// Names a process tries for one download: as many as downloads of it can overlap, and more.
constexpr unsigned kDownloadNames = 16;

// A download goes to a temporary file in the cache folder and takes the cache name only when
// it counts: a failed or broken download never leaves a file that would count as cached.
// Whatever stands under the cache name is replaced; when it cannot be (a folder, a file
// that refuses), the item stays without a thumbnail. Returns the stored picture, decoded.
mivo::gdip::UniqueImage DownloadIntoCache(Catalogue& catalogue, const std::wstring& url, const std::wstring& folder,
                                          const std::wstring& path) {
    // Made new, so no file is ever taken over; a name in use (a download of this process under
    // way, a leftover) or refused tries the next number.
    std::wstring temp;
    for (unsigned number = 1; temp.empty(); ++number) {
        if (number > kDownloadNames) return {};
        const std::wstring name = folder + DownloadFileName(::GetCurrentProcessId(), number);
        if (mivo::UniqueFile(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                           nullptr)))
            temp = name;
    }
    mivo::gdip::UniqueImage picture;
    bool stored = false;
    {
        const DownloadUnderWay underWay(catalogue.downloading);
        stored = downloadFile(url, temp, &picture) &&
                 ::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    if (stored) return picture;
    ::DeleteFileW(temp.c_str());
    return {};
}

void fetchThumbs(Catalogue& catalogue, mivo::ItemKind kind, const CellReady& cellReady) {
    ItemIds& itemIds = catalogue.itemIds;
    ListItems& listItems = catalogue.listItems;
    const std::wstring folder = CacheFolder();
    if (itemIds.Count() == 0) return;
    // A missing cache folder is made again, so thumbnails keep working after it was removed.
    ::CreateDirectoryW(folder.c_str(), nullptr);
    RemoveLeftoverDownloads(folder, catalogue.downloading != 0);

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
            if (path && !CacheFileExists(*path))
                fresh = DownloadIntoCache(catalogue, mivo::ThumbnailUrl(kind, n), folder, *path);
            item->foto = true;
            cellReady(key, std::move(fresh));
            DoEvents();
        }
    } catch (const std::logic_error&) {  // a position or key no longer listed, an id that is no number
        return;
    } catch (const mivo::OverflowError&) {  // an id beyond 16 bits
        return;
    }
}

}  // namespace

void fetchDispThumbs(Catalogue& catalogue, const CellReady& cellReady) {
    fetchThumbs(catalogue, mivo::ItemKind::Display, cellReady);
}
void fetchEmoThumbs(Catalogue& catalogue, const CellReady& cellReady) {
    fetchThumbs(catalogue, mivo::ItemKind::Emoticon, cellReady);
}

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

void DoEvents() { mivo::DispatchPendingMessages(); }

}  // namespace xmlRequests
