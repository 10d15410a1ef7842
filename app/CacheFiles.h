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

// The file in the cache folder that a download goes to until it counts: "mivo-download-", the
// process id, "-", a number, ".tmp". The process id keeps two Mivo processes from ever writing
// the same file; the number, downloads of one process that overlap (a pass inside a download).
// Never of 8.3 shape, which Wine would look up against every file's short name as well.
std::wstring DownloadFileName(unsigned long processId, unsigned number);

// Removes the files of downloads that never ended (a program ended during one): those of
// processes that have ended, and this process's own unless one of its downloads is under way.
// Only names of that naming are touched.
void RemoveLeftoverDownloads(const std::wstring& folder, bool downloadUnderWay);

}  // namespace xmlRequests
