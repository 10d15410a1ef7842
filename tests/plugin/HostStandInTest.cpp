// The host stand-in as a separate process: what a developer sees when calling the plug-in.
#include <gtest/gtest.h>

#include "PluginTestSupport.h"
#include "TestServer.h"

namespace mivo::test {
namespace {

ProgramRun Host(const std::wstring& arguments) {
    return RunProgram(L"\"" + WindowsPath(MIVO_PLUGIN_HOST_EXE) + L"\" " + arguments);
}

TEST(HostStandIn, PrintsTheResultAndTheByReferenceValuesOfAnyOperation) {
    ProgramRun run = Host(L"GetPublishCommandInfo 3 a b c");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output,
              "GetPublishCommandInfo returned Empty\nsName = \"Open Mivo\"\nsValue = \"xopenmivo\"\nsHelp = \"c\"\n");
    EXPECT_EQ(Host(L"--pump 200 Configure").output, "Configure returned Empty\n");

    TestServer server;
    server.Stop();
    run = Host(L"ParseCommand /xnewdps \"\" \"\" keep");
    server.Start();
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_EQ(run.output.rfind("ParseCommand failed: 0x80020009", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("\nsResult = \"keep\"\n"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace mivo::test
