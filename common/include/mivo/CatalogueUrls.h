#pragma once
// Every URL of the content server, in one place. Ids that go into category and thumbnail
// URLs are 16-bit numbers written in decimal; package URLs take the id text unchanged.
#include <cstdint>
#include <string>

namespace mivo {

enum class ItemKind { Display, Emoticon };

std::wstring DisplayCategoriesUrl();
std::wstring EmoticonCategoriesUrl();
std::wstring CategoryItemsUrl(ItemKind kind, std::int16_t categoryId);
std::wstring LatestItemUrl(ItemKind kind);
std::wstring ThumbnailUrl(ItemKind kind, std::int16_t itemId);
std::wstring PackageUrl(ItemKind kind, const std::wstring& idText);
std::wstring UploadPageUrl(ItemKind kind);

// The node path of an item list document of that kind.
const wchar_t* ItemNodePath(ItemKind kind);
inline constexpr const wchar_t* CategoryNodePath = L"cats/cat";

}  // namespace mivo
