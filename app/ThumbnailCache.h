#pragma once
// The thumbnail pass: the cache's files fetched from the content server when missing, one
// item after the other, each cell painted as its file arrives.
#include <functional>
#include <string>

#include "CacheFiles.h"
#include "GdiplusOwners.h"
#include "xmlRequests.h"
#include "mivo/CatalogueUrls.h"

namespace xmlRequests {

// Called for each item once the pass has looked for its thumbnail (and marked it): its key
// in the catalogue's listItems, and the picture when the pass has just downloaded and decoded it.
using CellReady = std::function<void(const std::wstring& key, mivo::gdip::UniqueImage fresh)>;

void fetchDispThumbs(Catalogue& catalogue, const CellReady& cellReady);
void fetchEmoThumbs(Catalogue& catalogue, const CellReady& cellReady);

// Downloads url into the file path; true only for a whole 2xx answer that is a picture of
// thumbnail size (within the limits of PictureFile.h). On false the file may hold anything.
// picture, when given, receives the picture decoded for that check, so that it is not
// decoded again to be drawn.
bool downloadFile(const std::wstring& url, const std::wstring& path, mivo::gdip::UniqueImage* picture = nullptr);

// Lets the window process its pending events (input and painting), then returns.
void DoEvents();

}  // namespace xmlRequests
