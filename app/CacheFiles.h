#pragma once
// Files of the thumbnail cache: the folder "temppics" beside the program, the name of each
// item's file, and what counts as a cached thumbnail.
#include <optional>
#include <string>

#include "mivo/CatalogueUrls.h"

namespace xmlRequests {

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

// Downloads go to temporary files of this prefix (GetTempFileName's) in the cache folder.
inline constexpr wchar_t kDownloadTempPrefix[] = L"dl";

// Removes the temporary files of downloads that never ended (the program was ended during
// one); only names of that temporary naming are touched.
void RemoveLeftoverDownloads(const std::wstring& folder);

}  // namespace xmlRequests
