#include <gtest/gtest.h>

#include "mivo/Numbers.h"
#include "mivo/Text.h"

namespace {

TEST(NearestEven, HalvesGoToTheEvenNeighbour) {
    const struct { double in; long out; } cases[] = {
        {76.5, 76}, {123.5, 124}, {26.5, 26}, {32.5, 32}, {0.5, 0}, {1.5, 2}, {-0.5, 0}, {-1.5, -2},
        {304.9333, 305}, {97.5, 98}, {45.0, 45}, {76.49, 76}, {76.51, 77},
    };
    for (const auto& c : cases) EXPECT_EQ(mivo::NearestEven(c.in), c.out) << c.in;
}

TEST(CheckedInt16, AcceptsTheSigned16BitRangeOnly) {
    EXPECT_EQ(mivo::CheckedInt16(32767), 32767);
    EXPECT_EQ(mivo::CheckedInt16(-32768), -32768);
    EXPECT_THROW(mivo::CheckedInt16(32768), mivo::OverflowError);
    EXPECT_THROW(mivo::CheckedInt16(-32769), mivo::OverflowError);
}

TEST(ParseInt, DecimalTextWithLeadingZerosAndSign) {
    EXPECT_EQ(mivo::ParseInt32(L"007"), 7);
    EXPECT_EQ(mivo::ParseInt32(L"-12"), -12);
    EXPECT_EQ(mivo::ParseInt32(L" 42 "), 42);
    EXPECT_EQ(mivo::ParseInt32(L"2147483647"), 2147483647);
    EXPECT_THROW(mivo::ParseInt32(L"2147483648"), mivo::OverflowError);
    EXPECT_THROW(mivo::ParseInt32(L""), std::invalid_argument);
    EXPECT_THROW(mivo::ParseInt32(L"12a"), std::invalid_argument);
    EXPECT_THROW(mivo::ParseInt32(L"-"), std::invalid_argument);
    EXPECT_THROW(mivo::ParseInt16(L"40000"), mivo::OverflowError);
    EXPECT_EQ(mivo::ParseInt16(L"32767"), 32767);
}

TEST(Text, AnsiRoundTripAndCaseInsensitiveCompare) {
    EXPECT_EQ(mivo::ToAnsi(L"Sunset 1"), "Sunset 1");
    EXPECT_EQ(mivo::FromAnsi("abc"), L"abc");
    EXPECT_TRUE(mivo::EqualsIgnoreCase(L"/XNewDPs", L"/xnewdps"));
    EXPECT_FALSE(mivo::EqualsIgnoreCase(L"/xnewdps ", L"/xnewdps"));
    // A locale's linguistic rules skip a soft hyphen; a typed command must match letter for letter.
    EXPECT_FALSE(mivo::EqualsIgnoreCase(L"/xnew\u00ADdps", L"/xnewdps"));
}

}  // namespace
