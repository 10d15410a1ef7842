// The item list parser on its own: which elements make records.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "xmlRequests.h"
#include "mivo/ComSupport.h"

namespace mivo::test {
namespace {

using Records = std::vector<std::tuple<std::wstring, std::wstring, std::wstring>>;

Records Parse(const std::wstring& text, ItemKind kind) {
    ScopedCoInit com;
    Records out;
    for (const auto& item : xmlRequests::ParseItems(text, kind)) out.emplace_back(item.value, item.id, item.filetype);
    return out;
}

TEST(ParseItems, KeepsEachElementThatCanMakeARecordOnceAndWithinTheGridsReach) {
    const std::wstring document =
        L"<displaypictures><display id=\"7\" type=\"png\">Seven &amp; more</display>"
        L"<display type=\"gif\">No id</display><display id=\"8\">No type</display>"
        L"<emoticon id=\"9\" type=\"gif\">Other kind</emoticon><display id=\"7\" type=\"jpg\">Repeat</display>"
        L"<display id=\"x1\" type=\"gif\"/></displaypictures>";
    EXPECT_EQ(Parse(document, ItemKind::Display),
              (Records{{L"Seven & more", L"7", L"png"}, {L"", L"x1", L"gif"}}));
    EXPECT_TRUE(Parse(document, ItemKind::Emoticon).empty());
    EXPECT_TRUE(Parse(L"<displaypictures><display", ItemKind::Display).empty());

    std::wstring many = L"<emoticons>";
    for (int i = 1; i <= 1200; ++i) many += L"<emoticon id=\"" + std::to_wstring(i) + L"\" type=\"gif\"/>";
    const Records kept = Parse(many + L"</emoticons>", ItemKind::Emoticon);
    ASSERT_EQ(kept.size(), 1192u);
    EXPECT_EQ(std::get<1>(kept.back()), L"1192");
}

}  // namespace
}  // namespace mivo::test
