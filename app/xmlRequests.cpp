#include "xmlRequests.h"

#include <vector>

#include "Form1.h"
#include "GridLayout.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/ComSupport.h"
#include "mivo/Numbers.h"
#include "mivo/XmlRequest.h"

namespace xmlRequests {

namespace {

void SizeGrid(Form1::Grid& grid, long count, const mivo::GridLayout& g) {
    const mivo::GridSize size = mivo::SizeOf(count, g, grid.FrameHeightPixels(), mivo::TwipsPerPixelY());
    grid.picture.SetHeightTwips(size.pictureHeightTwips);
    if (size.scrolls) {
        grid.scroll.Configure(0, size.scrollMax, mivo::kScrollSmallChange, mivo::kScrollLargeChange, true);
    } else {
        grid.scroll.Configure(0, 0, grid.scroll.SmallChange(), grid.scroll.LargeChange(), false);
    }
}

void loadItems(Catalogue& catalogue, std::int16_t categoryId, mivo::ItemKind kind) {
    const std::wstring answer = mivo::PostForText(catalogue.xmlHttp.Get(), mivo::CategoryItemsUrl(kind, categoryId));

    clearCollection(catalogue.itemIds);
    clearCollection(catalogue.listItems);
    Form1::Grid& grid = catalogue.mainForm->GridOf(kind);
    grid.picture.Cls();
    grid.place = 1;

    const std::vector<ParsedItem> items = ParseItems(answer, kind);
    const mivo::GridLayout& layout = mivo::LayoutOf(kind);
    SizeGrid(grid, static_cast<long>(items.size()), layout);

    const std::int16_t itemwidth = mivo::CellWidth(grid.picture.WidthPixels());
    long i = 0;
    for (const ParsedItem& parsed : items) {
        const mivo::Cell cell = mivo::CellOf(i++, itemwidth, layout);
        auto item = std::make_shared<cListItem>();
        item->Value = parsed.value;
        item->top = cell.top;
        item->left = cell.left;
        item->itemwidth = itemwidth;
        item->foto = false;
        item->id = parsed.id;
        item->filetype = parsed.filetype;
        item->selected = false;
        catalogue.listItems.Add(item, ItemKey(kind, parsed.id));
        catalogue.itemIds.Add(parsed.id);
    }

    if (kind == mivo::ItemKind::Display) {
        catalogue.mainForm->drawDispItem();
    } else {
        catalogue.mainForm->drawEmoItem();
    }
}

}  // namespace

std::vector<ParsedItem> ParseItems(const std::wstring& text, mivo::ItemKind kind, const mivo::Msxml* parser) {
    std::vector<ParsedItem> items;
    auto nodes = mivo::SelectNodesFromText(text, mivo::ItemNodePath(kind), parser);
    const long n = mivo::NodeCount(nodes.Get());
    mivo::Collection<bool> seen;
    for (long i = 0; i < n && static_cast<long>(items.size()) < mivo::MaxItems(mivo::LayoutOf(kind)); ++i) {
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

std::vector<ParsedCategory> ParseCategories(const std::wstring& text, const mivo::Msxml* parser) {
    std::vector<ParsedCategory> categories;
    auto nodes = mivo::SelectNodesFromText(text, mivo::CategoryNodePath, parser);
    const long n = mivo::NodeCount(nodes.Get());
    for (long i = 0; i < n; ++i) {
        auto node = mivo::NodeAt(nodes.Get(), i);
        if (!node) continue;
        std::wstring name = mivo::NodeText(node.Get());
        auto idText = mivo::AttributeText(node.Get(), 0);
        if (!idText) throw std::invalid_argument("category without an id");
        categories.push_back({std::move(name), mivo::ParseInt32(*idText)});
    }
    return categories;
}

void loadCategories(Catalogue& catalogue, const std::wstring& url, HWND list) {
    const std::wstring answer = mivo::PostForText(catalogue.xmlHttp.Get(), url);
    for (const ParsedCategory& category : ParseCategories(answer)) {
        // The id goes on the entry just added, wherever a sorted list placed it.
        const LRESULT index =
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(category.name.c_str()));
        if (index < 0) throw std::runtime_error("the category list is full");
        ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(category.id));
    }
}

void loadDispItems(Catalogue& catalogue, std::int16_t categoryId) {
    loadItems(catalogue, categoryId, mivo::ItemKind::Display);
}
void loadEmoItems(Catalogue& catalogue, std::int16_t categoryId) {
    loadItems(catalogue, categoryId, mivo::ItemKind::Emoticon);
}

void deselectAll(Catalogue& catalogue) {
    const long count = catalogue.listItems.Count();
    for (long i = 1; i <= count; ++i) catalogue.listItems.Item(i)->selected = false;
}

}  // namespace xmlRequests
