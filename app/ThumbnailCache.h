#pragma once
// The thumbnail cache: files in "temppics" beside the program, fetched from the content
// server when missing, one item after the other, each cell painted as its file arrives.
#include <optional>
#include <string>

#include "GdiplusOwners.h"
#include "mivo/CatalogueUrls.h"

namespace xmlRequests {

void fetchDispThumbs();
void fetchEmoThumbs();

// Downloads url into the file path; true only for a whole 2xx answer that is a picture of
// thumbnail size (within the limits of PictureFile.h). On false the file may hold anything.
// picture, when given, receives the picture decoded for that check, so that it is not
// decoded again to be drawn.
bool downloadFile(const std::wstring& url, const std::wstring& path, mivo::gdip::UniqueImage* picture = nullptr);

// Folder of the running program, with a trailing backslash: "...\temppics\".
std::wstring CacheFolder();

// The cache file of an item, or nothing when its file type could not name a file inside
// the cache folder (the type comes from the network: no separators, dots or drive colons).
std::optional<std::wstring> CacheFilePath(mivo::ItemKind kind, const std::wstring& idText,
                                          const std::wstring& filetype);

// True for a normal file of exactly that name: a folder, hidden or system file does not count,
// nor a file that merely has that name as its short alias. The pass decides by it whether to
// download.
bool CacheFileExists(const std::wstring& path);

// Lets the window process its pending events (input and painting), then returns.
void DoEvents();

}  // namespace xmlRequests
