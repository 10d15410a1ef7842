#include "xmlRequests.h"

#include <vector>

#include "Form1.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/ComSupport.h"
#include "mivo/Numbers.h"
#include "mivo/XmlRequest.h"

namespace xmlRequests {

ListItems listItems;
ItemIds itemIds;
Microsoft::WRL::ComPtr<IXMLHTTPRequest> xmlHttp;
Form1* mainForm = nullptr;

namespace {

struct KindGeometry {
    mivo::ItemKind kind;
    int pitch;        // row pitch, pixels
    int heightFactor; // picture height per two items, pixels
    long maxItems;
};

const KindGeometry kDisplay{mivo::ItemKind::Display, 90, 100, kMaxDisplayItems};
const KindGeometry kEmoticon{mivo::ItemKind::Emoticon, 55, 65, kMaxEmoticonItems};

struct ParsedItem {
    std::wstring value, id, filetype;
};

// Elements that cannot make a record are left out: one without an id or file type, one
// whose id repeats an earlier one (its key would clash), and any beyond what the 16-bit
// cell fields can place. The list is thus always whole and consistent.
std::vector<ParsedItem> ParseItems(const std::wstring& text, const KindGeometry& g) {
    std::vector<ParsedItem> items;
    auto nodes = mivo::SelectNodesFromText(text, mivo::ItemNodePath(g.kind));
    const long n = mivo::NodeCount(nodes.Get());
    mivo::Collection<bool> seen;
    for (long i = 0; i < n && static_cast<long>(items.size()) < g.maxItems; ++i) {
        auto node = mivo::NodeAt(nodes.Get(), i);
        if (!node) continue;
        auto id = mivo::AttributeText(node.Get(), 0);
        auto filetype = mivo::AttributeText(node.Get(), 1);
        if (!id || !filetype || seen.Contains(*id)) continue;
        seen.Add(true, *id);
        items.push_back({mivo::NodeText(node.Get()), *id, *filetype});
    }
    return items;
}

void SizeGrid(Form1::Grid& grid, long count, const KindGeometry& g) {
    const int tpp = mivo::TwipsPerPixelY();
    const float needed = static_cast<float>(count) / 2.0f * static_cast<float>(g.heightFactor) * static_cast<float>(tpp);
    const float frameHeight = static_cast<float>(grid.FrameHeightPixels() * tpp);
    if (needed > frameHeight) {
        grid.picture.SetHeightTwips(needed);
        grid.scroll.Configure(0, static_cast<int>(mivo::NearestEven((needed - frameHeight) / tpp)), 20, 40, true);
    } else {
        grid.picture.SetHeightTwips(frameHeight - 1);
        grid.scroll.Configure(0, 0, grid.scroll.SmallChange(), grid.scroll.LargeChange(), false);
    }
}

void loadItems(std::int16_t categoryId, const KindGeometry& g) {
    const std::wstring answer = mivo::PostForText(xmlHttp.Get(), mivo::CategoryItemsUrl(g.kind, categoryId));

    clearCollection(itemIds);
    clearCollection(listItems);
    Form1::Grid& grid = mainForm->GridOf(g.kind);
    grid.picture.Cls();

    const std::vector<ParsedItem> items = ParseItems(answer, g);
    SizeGrid(grid, static_cast<long>(items.size()), g);

    const std::int16_t itemwidth = mivo::CheckedInt16(mivo::NearestEven((grid.picture.WidthPixels() - 80) / 2.0));
    const std::int16_t rightColumn = mivo::CheckedInt16(itemwidth + 40);
    std::int16_t x = 20;
    std::int16_t row = 0;
    for (const ParsedItem& parsed : items) {
        auto item = std::make_shared<cListItem>();
        item->Value = parsed.value;
        item->top = mivo::CheckedInt16(static_cast<long>(row) * g.pitch);
        item->left = x;
        item->itemwidth = itemwidth;
        item->foto = false;
        item->id = parsed.id;
        item->filetype = parsed.filetype;
        item->selected = false;
        listItems.Add(item, ItemKey(g.kind, parsed.id));
        itemIds.Add(parsed.id);
        if (x == rightColumn) row = mivo::CheckedInt16(row + 1);
        x = x == 20 ? rightColumn : 20;
    }

    if (g.kind == mivo::ItemKind::Display) {
        mainForm->drawDispItem();
    } else {
        mainForm->drawEmoItem();
    }
}

}  // namespace

void loadCategories(const std::wstring& url, HWND list) {
    const std::wstring answer = mivo::PostForText(xmlHttp.Get(), url);
    auto nodes = mivo::SelectNodesFromText(answer, mivo::CategoryNodePath);
    const long n = mivo::NodeCount(nodes.Get());
    for (long i = 0; i < n; ++i) {
        auto node = mivo::NodeAt(nodes.Get(), i);
        if (!node) continue;
        const std::wstring name = mivo::NodeText(node.Get());
        auto idText = mivo::AttributeText(node.Get(), 0);
        if (!idText) throw std::invalid_argument("category without an id");
        const std::int32_t id = mivo::ParseInt32(*idText);
        // The id goes on the entry just added, wherever a sorted list placed it.
        const LRESULT index = ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (index < 0) throw std::runtime_error("the category list is full");
        ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(id));
    }
}

void loadDispItems(std::int16_t categoryId) { loadItems(categoryId, kDisplay); }
void loadEmoItems(std::int16_t categoryId) { loadItems(categoryId, kEmoticon); }

void deselectAll() {
    const long count = listItems.Count();
    for (long i = 1; i <= count; ++i) listItems.Item(i)->selected = false;
}

}  // namespace xmlRequests
