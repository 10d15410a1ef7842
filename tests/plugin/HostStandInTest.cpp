// The host stand-in as a separate process: what a developer sees when calling the plug-in.
#include <gtest/gtest.h>

#include "PluginTestSupport.h"
#include "TestServer.h"

namespace mivo::test {
namespace {

ProgramRun Host(const std::wstring& arguments) {
    return RunProgram(L"\"" + WindowsPath(MIVO_PLUGIN_HOST_EXE) + L"\" " + arguments);
}

TEST(HostStandIn, CallsOperationsByNameAndPrintsTheByReferenceValues) {
    ProgramRun run = Host(L"GetPublishCommandInfo 3 a b c");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output,
              "GetPublishCommandInfo returned Empty\nsName = \"Open Mivo\"\nsValue = \"xopenmivo\"\nsHelp = \"c\"\n");

    run = Host(L"GetPublishInfo");
    EXPECT_EQ(run.output, "GetPublishInfo returned True\nsPluginName = \"Mivo Plugin\"\nnCommandCount = 3\nnTagCount = 0\n");

    run = Host(L"ParseCommand \"/xnewdps \" \"\" \"\" keep");
    EXPECT_EQ(run.output, "ParseCommand returned False\nsResult = \"keep\"\n");

    run = Host(L"--pump 200 Configure");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "Configure returned Empty\n");

    EXPECT_EQ(Host(L"NoSuchOperation").exitCode, 1u);
}

TEST(HostStandIn, AFailedCommandIsReportedWithTheByReferenceValueUntouched) {
    TestServer server;
    server.Stop();
    const ProgramRun run = Host(L"ParseCommand /xnewdps \"\" \"\" keep");
    server.Start();
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_EQ(run.output.rfind("ParseCommand failed: 0x80020009", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("\nsResult = \"keep\"\n"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace mivo::test
