#include "mivo/CatalogueUrls.h"

#include "mivo/BuildConfig.h"

namespace mivo {
namespace {
std::wstring Url(const wchar_t* path) { return std::wstring(ContentBaseUrl) + path; }
bool IsDisplay(ItemKind kind) { return kind == ItemKind::Display; }
}  // namespace

std::wstring DisplayCategoriesUrl() { return Url(L"/appgetdispcats.php"); }
std::wstring EmoticonCategoriesUrl() { return Url(L"/appgetemocats.php"); }

std::wstring CategoryItemsUrl(ItemKind kind, std::int16_t categoryId) {
    return Url(IsDisplay(kind) ? L"/appgetdisps.php?id=" : L"/appgetemos.php?id=") + std::to_wstring(categoryId);
}

std::wstring LatestItemUrl(ItemKind kind) {
    return Url(IsDisplay(kind) ? L"/appgetlatestdisp.php" : L"/appgetlatestemo.php");
}

std::wstring ThumbnailUrl(ItemKind kind, std::int16_t itemId) {
    // The query parameter is "emoid" for both kinds.
    return Url(IsDisplay(kind) ? L"/getdisplay.php?emoid=" : L"/getemoticon.php?emoid=") + std::to_wstring(itemId);
}

std::wstring PackageUrl(ItemKind kind, const std::wstring& idText) {
    return Url(IsDisplay(kind) ? L"/cabs/cabdp" : L"/cabs/cabemo") + idText + L".cab";
}

std::wstring UploadPageUrl(ItemKind kind) {
    return Url(IsDisplay(kind) ? L"/adddisplay.php" : L"/addemoticon.php");
}

const wchar_t* ItemNodePath(ItemKind kind) {
    return IsDisplay(kind) ? L"displaypictures/display" : L"emoticons/emoticon";
}

}  // namespace mivo
