// The install folder read from the registry, and the launch of mivo.exe from it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "PluginTestSupport.h"
#include "TestSupport.h"
#include "basRegistry.h"

namespace mivo::test {
namespace {

using mivo::plugin::basRegistry::getInstallPath;
using mivo::plugin::basRegistry::getRegValue;

TEST(InstallPath, TextValuesAreReadAsStoredAndOtherTypesReadEmpty) {
    InstallPathKey key;
    key.SetText(L"C:\\Program Files\\Mivo");
    EXPECT_EQ(getInstallPath(), L"C:\\Program Files\\Mivo");
    key.SetText(L"C:\\Mivo\\");
    EXPECT_EQ(getInstallPath(), L"C:\\Mivo\\");  // a trailing backslash is kept

    const wchar_t embedded[] = L"C:\\Mivo\0C:\\Other";
    key.SetRaw(REG_SZ, embedded, sizeof(embedded));
    EXPECT_EQ(getInstallPath(), L"C:\\Mivo");

    // Stored without its terminator. The character after the counted data is not zero, or
    // the registry would count the terminator in for us.
    const wchar_t unterminated[] = L"C:\\Mivo!";
    key.SetRaw(REG_SZ, unterminated, 7 * sizeof(wchar_t));
    EXPECT_EQ(getInstallPath(), L"C:\\Mivo");

    const DWORD number = 42;
    key.SetRaw(REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(std::get<std::int32_t>(getRegValue(HKEY_LOCAL_MACHINE, L"Software\\Tarrow\\Mivo", L"InstallPath")), 42);
    EXPECT_EQ(getInstallPath(), L"42");
    const DWORD allOnes = 0xFFFFFFFF;
    key.SetRaw(REG_DWORD, &allOnes, sizeof(allOnes));
    EXPECT_EQ(getInstallPath(), L"-1");

    const wchar_t expandable[] = L"%ProgramFiles%\\Mivo";
    key.SetRaw(REG_EXPAND_SZ, expandable, sizeof(expandable));
    EXPECT_EQ(getInstallPath(), L"");
    key.SetRaw(REG_SZ, L"", sizeof(wchar_t));
    EXPECT_EQ(getInstallPath(), L"");
    key.RemoveValue();
    EXPECT_EQ(getInstallPath(), L"");
    key.RemoveKey();
    EXPECT_EQ(getInstallPath(), L"");
}

TEST(OpenMivo, WithoutARecordedFolderTheMessageIsShownAndTheCommandStillSucceeds) {
    InstallPathKey key;
    auto plugin = CreateLinkedPlugin();
    MessageBoxRecorder boxes;
    const wchar_t expandable[] = L"C:\\Mivo";
    for (int variant = 0; variant < 4; ++variant) {
        if (variant == 0) key.RemoveKey();
        if (variant == 1) key.RemoveValue();
        if (variant == 2) key.SetText(L"");
        if (variant == 3) key.SetRaw(REG_EXPAND_SZ, expandable, sizeof(expandable));
        Args args;
        args.String(L"/XOpenMivo").String(L"").Nothing().StringRef(L"keep");
        const Outcome got = Call(plugin.Get(), L"ParseCommand", args);
        EXPECT_EQ(got.hr, S_OK) << variant;
        EXPECT_TRUE(got.boolResult) << variant;
        EXPECT_EQ(args.StringAt(3), L"") << variant;
        ASSERT_EQ(boxes.shown().size(), static_cast<size_t>(variant + 1));
        EXPECT_EQ(boxes.shown().back().text, L"Mivo couldn't be found, please reinstall");
        EXPECT_EQ(boxes.shown().back().title, L"MivoPluginMsgPlus");
        EXPECT_EQ(boxes.shown().back().flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
}

class LaunchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        base_ = std::wstring(temp) + L"mivo_plugin_launch_" + std::to_wstring(::GetCurrentProcessId());
        folder_ = base_ + L"\\Program Files\\Mivo";
        ::CreateDirectoryW(base_.c_str(), nullptr);
        ::CreateDirectoryW((base_ + L"\\Program Files").c_str(), nullptr);
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring fake = WindowsPath(MIVO_FAKE_MIVO_EXE);
        ASSERT_TRUE(::CopyFileW(fake.c_str(), (folder_ + L"\\mivo.exe").c_str(), FALSE));
        // What Windows would start first for the unquoted path: "...\Program" + ".exe".
        ASSERT_TRUE(::CopyFileW(fake.c_str(), (base_ + L"\\Program.exe").c_str(), FALSE));
    }
    void TearDown() override {
        for (const std::wstring& file : {folder_ + L"\\mivo.exe", folder_ + L"\\launches.txt",
                                         base_ + L"\\Program.exe", base_ + L"\\launches.txt"})
            ::DeleteFileW(file.c_str());
        ::RemoveDirectoryW(folder_.c_str());
        ::RemoveDirectoryW((base_ + L"\\Program Files").c_str());
        ::RemoveDirectoryW(base_.c_str());
    }

    // The lines the started programs wrote next to themselves, once `count` are there.
    static std::vector<std::wstring> Launches(const std::wstring& folder, size_t count) {
        std::vector<std::wstring> lines;
        for (int wait = 0; wait < 200; ++wait) {
            const std::string bytes = ReadFileBytes(folder + L"\\launches.txt");
            const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
            lines.clear();
            for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
                lines.push_back(text.substr(start, end - start));
            if (lines.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return lines;
    }

    static Outcome OpenMivo(IDispatch* plugin, const wchar_t* argument = L"") {
        Args args;
        args.String(L"/xopenmivo").String(argument).Nothing().StringRef(L"keep");
        Outcome got = Call(plugin, L"ParseCommand", args);
        if (got.hr == S_OK) EXPECT_EQ(args.StringAt(3), L"");
        else EXPECT_EQ(args.StringAt(3), L"keep");
        return got;
    }

    std::wstring base_;
    std::wstring folder_;
};

TEST_F(LaunchFolder, EachOpenStartsExactlyTheRecordedProgram) {
    InstallPathKey key;
    key.SetText(folder_);
    auto plugin = CreateRegisteredPlugin();
    EXPECT_TRUE(OpenMivo(plugin.Get()).boolResult);
    EXPECT_TRUE(OpenMivo(plugin.Get(), L"an argument").boolResult);
    const std::vector<std::wstring> lines = Launches(folder_, 2);
    ASSERT_EQ(lines.size(), 2u);
    for (const std::wstring& line : lines) {
        // the program file itself, and the command line as written: unquoted, no arguments
        EXPECT_EQ(line, folder_ + L"\\mivo.exe|" + folder_ + L"\\mivo.exe");
    }
    EXPECT_FALSE(FileExists(base_ + L"\\launches.txt")) << "the decoy at the shorter prefix ran";

    key.SetText(folder_ + L"\\");
    EXPECT_TRUE(OpenMivo(plugin.Get()).boolResult);
    const std::vector<std::wstring> more = Launches(folder_, 3);
    ASSERT_EQ(more.size(), 3u);
    EXPECT_EQ(more[2].substr(more[2].find(L'|') + 1), folder_ + L"\\\\mivo.exe");
}

TEST_F(LaunchFolder, AFolderWithoutTheProgramFailsBackToTheHost) {
    InstallPathKey key;
    auto plugin = CreateRegisteredPlugin();
    key.SetText(base_ + L"\\Program Files");  // exists, but holds no mivo.exe
    Outcome got = OpenMivo(plugin.Get());
    EXPECT_EQ(got.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(got.scode, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    const DWORD number = 42;
    key.SetRaw(REG_DWORD, &number, sizeof(number));  // "42\mivo.exe"
    got = OpenMivo(plugin.Get());
    EXPECT_EQ(got.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(got.scode, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(FileExists(base_ + L"\\launches.txt"));
}

}  // namespace
}  // namespace mivo::test
