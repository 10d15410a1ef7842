#include <gtest/gtest.h>

#include <string>

#include "mivo/BuildConfig.h"
#include "mivo/CatalogueUrls.h"
#include "mivo/Numbers.h"

namespace {

using mivo::ItemKind;

TEST(CatalogueUrls, EachKindHasItsOwnPathAndIdsAreWrittenAsTheServerReadsThem) {
    // Thumbnail and category ids are 16-bit numbers ("007" is 7); a package keeps the id
    // text as the list gave it.
    const std::int16_t id = mivo::ParseInt16(L"007");
    const struct { std::wstring got; const wchar_t* path; } cases[] = {
        {mivo::ThumbnailUrl(ItemKind::Display, id), L"/getdisplay.php?emoid=7"},
        {mivo::ThumbnailUrl(ItemKind::Emoticon, -32768), L"/getemoticon.php?emoid=-32768"},
        {mivo::PackageUrl(ItemKind::Display, L"007"), L"/cabs/cabdp007.cab"},
        {mivo::PackageUrl(ItemKind::Emoticon, L"007"), L"/cabs/cabemo007.cab"},
        {mivo::CategoryItemsUrl(ItemKind::Display, 32767), L"/appgetdisps.php?id=32767"},
        {mivo::CategoryItemsUrl(ItemKind::Emoticon, id), L"/appgetemos.php?id=7"},
        {mivo::LatestItemUrl(ItemKind::Display), L"/appgetlatestdisp.php"},
        {mivo::LatestItemUrl(ItemKind::Emoticon), L"/appgetlatestemo.php"},
        {mivo::UploadPageUrl(ItemKind::Display), L"/adddisplay.php"},
        {mivo::UploadPageUrl(ItemKind::Emoticon), L"/addemoticon.php"},
        {mivo::DisplayCategoriesUrl(), L"/appgetdispcats.php"},
        {mivo::EmoticonCategoriesUrl(), L"/appgetemocats.php"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, mivo::ContentBaseUrl + std::wstring(c.path));
}

}  // namespace
