// The harness itself: the test programs reach the testbed server and read its log.
#include <gtest/gtest.h>

#include "TestServer.h"

namespace {

TEST(TestbedServer, ControlPortAnswersAndLogStartsEmptyAfterReset) {
    mivo::test::TestServer server;
    EXPECT_EQ(mivo::test::TestServer::Control("GET", "/ping"), "pong");
    EXPECT_TRUE(server.Log().empty());
}

}  // namespace
