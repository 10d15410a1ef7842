// "/xnewdps" and "/xnewemoticons": the newest item from the server, handed to the content
// installer (the testbed stand-in), and every way that can fail back to the host.
#include <gtest/gtest.h>

#include <functional>

#include "InstallerTestbed.h"
#include "NewestContent.h"
#include "mivo/BuildConfig.h"
#include "PluginTestSupport.h"
#include "TestServer.h"
#include "TestSupport.h"

namespace mivo::test {
namespace {

const std::wstring kBase = mivo::ContentBaseUrl;

const char kDisplays[] =
    "<?xml version=\"1.0\"?>\n<displaypictures>\n"
    "  <display id=\"40000\" type=\"png\" extra=\"ignored\">Newest</display>\n"
    "  <display id=\"101\" type=\"jpg\">Older</display>\n"
    "  <display id=\"9\" type=\"gif\">Oldest</display>\n"
    "</displaypictures>\n";

class NewestContent : public ::testing::Test {
protected:
    void SetUp() override {
        ClearInstallerKnobs();
        ClearInstallerLog();
        plugin_ = CreateRegisteredPlugin();
    }
    void TearDown() override { ClearInstallerKnobs(); }

    Outcome Command(const wchar_t* typed, const wchar_t* argument = L"") {
        Args args;
        args.String(typed).String(argument).Nothing().StringRef(L"keep");
        Outcome got = Call(plugin_.Get(), L"ParseCommand", args);
        EXPECT_EQ(args.StringAt(3), got.hr == S_OK ? L"" : L"keep");
        return got;
    }

    // The installer works on after the call returns: give it time to log.
    static std::vector<InstallerLogLine> Installs(size_t expected) {
        std::vector<InstallerLogLine> lines;
        for (int wait = 0; wait < 100 && (lines = ReadInstallerLog()).size() < expected; ++wait) PumpMessages(50);
        return lines;
    }

    static std::vector<LoggedRequest> RequestsFor(TestServer& server, const std::string& path) {
        std::vector<LoggedRequest> found;
        for (const LoggedRequest& request : server.Log())
            if (request.path == path) found.push_back(request);
        return found;
    }

    TestServer server_;
    Microsoft::WRL::ComPtr<IDispatch> plugin_;
};

TEST_F(NewestContent, TheFirstListedItemIsInstalledWithItsIdUnchanged) {
    struct Kind {
        const char* endpoint;
        const wchar_t* typed;
        std::string answer;
        std::wstring package;
    };
    const Kind kinds[] = {
        {"/appgetlatestdisp.php", L"/XNewDPs", kDisplays, kBase + L"/cabs/cabdp40000.cab"},
        {"/appgetlatestemo.php", L"/xNEWemoticons",
         "<emoticons><emoticon id=\"0703\" type=\"gif\">Rainbow</emoticon>"
         "<emoticon id=\"702\" type=\"png\">Cloud</emoticon></emoticons>",
         kBase + L"/cabs/cabemo0703.cab"},
    };
    for (const Kind& kind : kinds) {
        ClearInstallerLog();
        server_.Reset();
        server_.Override(kind.endpoint, 200, kind.answer);
        const Outcome got = Command(kind.typed, L"an argument that is never read");
        ASSERT_EQ(got.hr, S_OK) << std::string(got.description.begin(), got.description.end());
        EXPECT_TRUE(got.boolResult);
        const std::vector<InstallerLogLine> installs = Installs(1);
        ASSERT_EQ(installs.size(), 1u) << kind.endpoint;
        EXPECT_EQ(installs[0].url, kind.package);
        const std::vector<LoggedRequest> asked = RequestsFor(server_, kind.endpoint);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].method, "POST");
        EXPECT_EQ(asked[0].bodyLength, 0);
    }
}

TEST_F(NewestContent, EveryFailureGoesBackToTheHostAndALaterTryWorks) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        HRESULT scode;  // S_OK: any failure (the platform's own code, which differs between systems)
    };
    std::vector<Case> cases = {
        {"server down", [&] { server_.Stop(); }, S_OK},
        {"empty answer", [&] { server_.Override("/appgetlatestdisp.php", 200, ""); }, plugin::E_MIVO_NO_ITEM},
        {"error page", [&] { server_.Override("/appgetlatestdisp.php", 500, "<html><body>oops</body></html>", "text/html"); },
         plugin::E_MIVO_NO_ITEM},
        {"wrong kind",
         [&] { server_.Override("/appgetlatestdisp.php", 200, "<emoticons><emoticon id=\"703\" type=\"gif\"/></emoticons>"); },
         plugin::E_MIVO_NO_ITEM},
        {"no attribute",
         [&] { server_.Override("/appgetlatestdisp.php", 200, "<displaypictures><display>Bare</display><display id=\"101\"/></displaypictures>"); },
         plugin::E_MIVO_NO_ITEM_ID},
        {"document type",
         [&] {
             server_.Override("/appgetlatestdisp.php", 200,
                              "<?xml version=\"1.0\"?><!DOCTYPE displaypictures [<!ENTITY id SYSTEM \"" +
                                  std::string(kBase.begin(), kBase.end()) +
                                  "/entity.txt\">]><displaypictures><display id=\"&id;\"/></displaypictures>");
             server_.Override("/entity.txt", 200, "101", "text/plain");
         },
         plugin::E_MIVO_NO_ITEM},
        {"installer missing", [&] { SetInstallerKnob(L"FailCreate", 1); }, REGDB_E_CLASSNOTREG},
        {"installer refuses", [&] { server_.Override("/appgetlatestdisp.php", 200, kDisplays); SetInstallerKnob(L"FailInstall", 1); },
         E_FAIL},
    };
    for (const auto& [what, body] : HostileLists("displaypictures", "display")) {
        const std::string answer = body;
        cases.push_back({what, [&, answer] { server_.Override("/appgetlatestdisp.php", 200, answer); },
                         plugin::E_MIVO_NO_ITEM});
    }
    for (const Case& c : cases) {
        server_.Reset();
        ClearInstallerKnobs();
        c.arrange();
        // The host's thread is held while a command runs: no answer may hold it long. A
        // Messenger of its own process takes its own time to start.
        const DWORD start = ::GetTickCount();
        const Outcome got = Command(L"/xnewdps");
        EXPECT_LT(::GetTickCount() - start, InstallerOutOfProcess() ? 3000u : 1000u) << c.name;
        EXPECT_EQ(got.hr, DISP_E_EXCEPTION) << c.name;
        EXPECT_TRUE(FAILED(got.scode)) << c.name;
        if (c.scode != S_OK) {
            EXPECT_EQ(got.scode, c.scode) << c.name;
        }
        EXPECT_FALSE(got.description.empty()) << c.name;
        for (const InstallerLogLine& line : ReadInstallerLog()) EXPECT_NE(line.result, L"0") << c.name;
        EXPECT_TRUE(RequestsFor(server_, "/entity.txt").empty()) << "an external entity was fetched";
    }

    server_.Reset();
    ClearInstallerKnobs();
    ClearInstallerLog();
    server_.Override("/appgetlatestdisp.php", 200, kDisplays);
    const Outcome got = Command(L"/xnewdps");
    EXPECT_EQ(got.hr, S_OK);
    const std::vector<InstallerLogLine> installs = Installs(1);
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0].url, kBase + L"/cabs/cabdp40000.cab");
}

// Messenger serves its class from its own process, which ends when its last object is gone.
TEST_F(NewestContent, AServerThatEndedBetweenTwoCommandsChangesNothing) {
    if (!InstallerOutOfProcess()) GTEST_SKIP() << "the content installer is registered in-process here";
    server_.Override("/appgetlatestdisp.php", 200, kDisplays);
    ASSERT_EQ(Command(L"/xnewdps").hr, S_OK);
    std::vector<InstallerLogLine> installs = Installs(1);
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_NE(installs[0].process, ::GetCurrentProcessId());
    // The command let go of its installer: nothing keeps the server.
    EXPECT_TRUE(InstallerProcessEnds(installs[0].process));
    ASSERT_EQ(Command(L"/xnewdps").hr, S_OK);
    installs = Installs(2);
    ASSERT_EQ(installs.size(), 2u);
    EXPECT_EQ(installs[1].url, kBase + L"/cabs/cabdp40000.cab");
    EXPECT_NE(installs[1].process, installs[0].process);
}

TEST_F(NewestContent, TheHostStandInRunsACommandInItsOwnProcess) {
    server_.Override("/appgetlatestdisp.php", 200, kDisplays);
    const ProgramRun run =
        RunProgram(L"\"" + WindowsPath(MIVO_PLUGIN_HOST_EXE) + L"\" --pump 500 ParseCommand /xnewdps \"\" \"\" keep");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "ParseCommand returned True\nsResult = \"\"\n");
    const std::vector<InstallerLogLine> installs = Installs(1);
    ASSERT_EQ(installs.size(), 1u);
    EXPECT_EQ(installs[0].url, kBase + L"/cabs/cabdp40000.cab");
}

}  // namespace
}  // namespace mivo::test
