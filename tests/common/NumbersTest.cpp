#include <gtest/gtest.h>

#include "mivo/Numbers.h"
#include "mivo/Text.h"
#include "mivo/Twips.h"

namespace {

TEST(NearestEven, HalvesGoToTheEvenNeighbour) {
    const struct { double in; long out; } cases[] = {
        {76.5, 76}, {123.5, 124}, {26.5, 26}, {32.5, 32}, {0.5, 0}, {1.5, 2}, {-0.5, 0}, {-1.5, -2},
        {304.9333, 305}, {97.5, 98}, {45.0, 45}, {76.49, 76}, {76.51, 77},
    };
    for (const auto& c : cases) EXPECT_EQ(mivo::NearestEven(c.in), c.out) << c.in;
}

// Twips per pixel is 1440 / dpi exactly: 7.5 at 192 dpi, where a whole 7 would make every
// measure 7 % too large (the About window 669 pixels wide instead of 624).
TEST(Twips, PixelsAreTwipsOverTwipsPerPixelHalvesToEven) {
    const struct { int dpi; double tpp; int twips, pixels; } cases[] = {
        {96, 15, 4680, 312}, {96, 15, 3495, 233}, {96, 15, 7, 0}, {96, 15, 8, 1},
        {120, 12, 4680, 390}, {120, 12, 3495, 291}, {120, 12, 30, 2}, {120, 12, 4545, 379},
        {144, 10, 4680, 468}, {144, 10, 4575, 458}, {144, 10, 3495, 350}, {144, 10, 1565, 156},
        {192, 7.5, 4680, 624}, {192, 7.5, 3195, 426}, {192, 7.5, 4575, 610}, {192, 7.5, 15, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mivo::TwipsPerPixelAt(c.dpi), c.tpp) << c.dpi;
        EXPECT_EQ(mivo::TwipsToPixels(c.twips, mivo::TwipsPerPixelAt(c.dpi)), c.pixels) << c.dpi << " " << c.twips;
    }
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
