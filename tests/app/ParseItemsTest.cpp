// The list parsers on their own, once with each version of Microsoft XML the program may
// use: the same answer must give the same list whichever version a machine has.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "xmlRequests.h"
#include "mivo/ComSupport.h"
#include "mivo/XmlRequest.h"

namespace mivo::test {
namespace {

using Records = std::vector<std::tuple<std::wstring, std::wstring, std::wstring>>;

class Parsers : public ::testing::TestWithParam<const Msxml*> {
protected:
    Records Parse(const std::wstring& text, ItemKind kind) {
        Records out;
        for (const auto& item : xmlRequests::ParseItems(text, kind, GetParam()))
            out.emplace_back(item.value, item.id, item.filetype);
        return out;
    }
    ScopedCoInit com_;
};

TEST_P(Parsers, KeepEachElementThatCanMakeARecordOnceAndWithinTheGridsReach) {
    const std::wstring document =
        L"<displaypictures><display id=\"7\" type=\"png\">Seven &amp; <b>more</b></display>"
        L"<display type=\"gif\">No id</display><display id=\"8\">No type</display>"
        L"<emoticon id=\"9\" type=\"gif\">Other kind</emoticon><display id=\"7\" type=\"jpg\">Repeat</display>"
        L"<group><display id=\"10\" type=\"gif\">Nested</display></group>"
        L"<display type=\"gif\" id=\"x1\"/></displaypictures>";
    EXPECT_EQ(Parse(document, ItemKind::Display),
              (Records{{L"Seven & more", L"7", L"png"}, {L"", L"gif", L"x1"}}));
    EXPECT_TRUE(Parse(document, ItemKind::Emoticon).empty());

    // The largest list a grid holds, with long titles, is read whole.
    const std::wstring title(200, L'T');
    std::wstring many = L"<emoticons>";
    for (int i = 1; i <= 1200; ++i)
        many += L"<emoticon id=\"" + std::to_wstring(i) + L"\" type=\"gif\">" + title + L"</emoticon>";
    const Records kept = Parse(many + L"</emoticons>", ItemKind::Emoticon);
    ASSERT_EQ(kept.size(), 1192u);
    EXPECT_EQ(kept.back(), std::make_tuple(title, std::wstring(L"1192"), std::wstring(L"gif")));
}

TEST_P(Parsers, GiveNothingForAnswersThatAreNoListOfTheirs) {
    const std::wstring one = L"<displaypictures><display id=\"1\" type=\"png\">x</display></displaypictures>";
    const struct {
        const char* what;
        std::wstring text;
    } answers[] = {
        {"empty", L""},
        {"HTML page", L"<html><body><h1>Internal error</h1></body></html>"},
        {"not well-formed", L"<displaypictures><display id=\"1\" type=\"png\">x</displaypictures"},
        {"plain text", L"Service unavailable"},
        {"a DTD", L"<?xml version=\"1.0\"?><!DOCTYPE displaypictures [<!ENTITY x \"secret\">]>"
                  L"<displaypictures><display id=\"1\" type=\"png\">&x;</display></displaypictures>"},
        {"far larger than any real list", one + L"<!--" + std::wstring(4u << 20, L' ') + L"-->"},
    };
    ASSERT_EQ(Parse(one, ItemKind::Display).size(), 1u);
    for (const auto& a : answers) {
        SCOPED_TRACE(a.what);
        EXPECT_TRUE(Parse(a.text, ItemKind::Display).empty());
    }
}

TEST_P(Parsers, ReadCategoriesInOrderAndRefuseOneWithoutANumber) {
    using Categories = std::vector<std::pair<std::wstring, std::int32_t>>;
    Categories got;
    for (const auto& c : xmlRequests::ParseCategories(
             L"<cats><cat id=\"12\" x=\"3\">Sea <i>and</i> sky</cat><other id=\"5\">No</other>"
             L"<cat id=\"-4\"></cat></cats>",
             GetParam()))
        got.emplace_back(c.name, c.id);
    EXPECT_EQ(got, (Categories{{L"Sea and sky", 12}, {L"", -4}}));
    EXPECT_TRUE(xmlRequests::ParseCategories(L"<html/>", GetParam()).empty());
    EXPECT_ANY_THROW(xmlRequests::ParseCategories(L"<cats><cat id=\"twelve\">A</cat></cats>", GetParam()));
}

INSTANTIATE_TEST_SUITE_P(EachMsxml, Parsers, ::testing::Values(&kMsxml40, &kMsxml60, &kMsxml30),
                         [](const ::testing::TestParamInfo<const Msxml*>& p) {
                             return std::string("Msxml") + (p.param == &kMsxml40   ? "40"
                                                            : p.param == &kMsxml60 ? "60"
                                                                                   : "30");
                         });

}  // namespace
}  // namespace mivo::test
