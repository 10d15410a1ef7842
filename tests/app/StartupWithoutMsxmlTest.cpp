// Runs with every version of Microsoft XML (3.0, 4.0, 6.0) disabled in Wine.
#include "AppFixture.h"

namespace mivo::test {
namespace {

class StartupWithoutMsxmlTest : public AppTest {};

TEST_F(StartupWithoutMsxmlTest, ShowsTheCriticalErrorOnceAndSendsNoRequest) {
    EXPECT_FALSE(StartForm());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, L"Critical error");
    EXPECT_TRUE(server.Log().empty());
    EXPECT_EQ(::FindWindowW(L"MivoForm1", nullptr), nullptr);
}

}  // namespace
}  // namespace mivo::test
