#pragma once
// The catalogue module: category lists and the item collections of the current list,
// each record already carrying its cell in the grid. Its state belongs to the main window.
#include <windows.h>
#include <msxml2.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Collection.h"
#include "GridLayout.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/XmlRequest.h"
#include "cListItem.h"

class Form1;

namespace xmlRequests {

using ListItems = mivo::Collection<std::shared_ptr<cListItem>>;
using ItemIds = mivo::Collection<std::wstring>;

// The catalogue's state: the current list and its ids, the request object, the window that
// shows them, and the thumbnail downloads under way. The main window holds it for as long as
// it lives; the request object is made when the window loads and released when it unloads.
struct Catalogue {
    ListItems listItems;
    ItemIds itemIds;
    Microsoft::WRL::ComPtr<IXMLHTTPRequest> xmlHttp;
    Form1* mainForm = nullptr;
    // A pass that starts inside a download (urlmon may let the window handle events while it
    // downloads) must leave that download's file alone.
    int downloading = 0;
};

// Appends one entry per category of the document at url to the list box; the category id
// is the entry's item data. Raises on a failed request or an id that is not a number.
void loadCategories(Catalogue& catalogue, const std::wstring& url, HWND list);

// Replace the current list with one category's items, lay them out, size the grid and
// repaint it. A failed request raises before anything has changed.
void loadDispItems(Catalogue& catalogue, std::int16_t categoryId);
void loadEmoItems(Catalogue& catalogue, std::int16_t categoryId);

// One record of an item list document: the element's text, its id and file type.
struct ParsedItem {
    std::wstring value, id, filetype;
};

// The records of an item list document in document order. Elements that cannot make a record
// are left out: one without an id or file type, one whose id repeats an earlier one (its key
// would clash), and any beyond what the 16-bit cell fields can place. The list is thus always
// whole and consistent.
// parser: the version of Microsoft XML to parse with; by default the one the program uses.
std::vector<ParsedItem> ParseItems(const std::wstring& text, mivo::ItemKind kind,
                                   const mivo::Msxml* parser = nullptr);

// The categories of a category document in document order. Raises on a category whose
// first attribute is missing or not a number.
struct ParsedCategory {
    std::wstring name;
    std::int32_t id;
};
std::vector<ParsedCategory> ParseCategories(const std::wstring& text, const mivo::Msxml* parser = nullptr);

template <typename T>
void clearCollection(mivo::Collection<T>& collection) {
    // All at once: removing the first element again and again would move the rest of a long
    // list at every step.
    collection.Clear();
}

void deselectAll(Catalogue& catalogue);

// The key of an item in listItems: the kind word, then the id text ("DISP123", "EMO7").
inline std::wstring ItemKey(mivo::ItemKind kind, const std::wstring& idText) {
    return (kind == mivo::ItemKind::Display ? L"DISP" : L"EMO") + idText;
}

// Limits of the 16-bit cell fields: the last row whose top still fits.
inline constexpr long kMaxDisplayItems = mivo::MaxItems(mivo::kDisplayLayout);
inline constexpr long kMaxEmoticonItems = mivo::MaxItems(mivo::kEmoticonLayout);

}  // namespace xmlRequests
