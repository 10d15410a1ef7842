// The session's Error event: each status arrives with its text and the reporting class.
#include <gtest/gtest.h>

#include "ImagingTestSupport.h"

namespace mivo::test {
namespace {

TEST(SessionTest, ErrorEventCarriesStatusItsTextAndTheClass) {
    const struct {
        long status;
        const wchar_t* text;
    } cases[] = {
        {1, L"Generic Error"},           {10, L"File Not Found"},
        {18, L"Gdiplus Not Initialized"}, {19, L"Property Not Found"},
        {20, L"Property Not Supported"}, {0, L"Unknown GDI+ Error"},
        {21, L"Unknown GDI+ Error"},     {-1, L"Unknown GDI+ Error"},
    };
    RecordingSession rec;
    for (const auto& c : cases) {
        rec.errors.clear();
        rec.session->Error(c.status, L"cGraphics");
        ASSERT_EQ(rec.errors.size(), 1u) << c.status;  // delivered before Error returns
        EXPECT_EQ(rec.errors[0].status, c.status);
        EXPECT_EQ(rec.errors[0].desc, c.text) << c.status;
        EXPECT_EQ(rec.errors[0].className, L"cGraphics");
    }
}

}  // namespace
}  // namespace mivo::test
