// MivoSetup.exe in the test prefix: silent install into a folder with blanks, the plug-in
// starting the installed program, silent uninstall through the entry in Add/Remove Programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "SetupTestSupport.h"
#include "TestSupport.h"
#include "mivo/Text.h"

namespace mivo::test {
namespace {

using namespace std::string_literals;

const std::wstring kFolder = L"C:\\Program Files\\Mivo Test Install";
const std::wstring kProductKey = L"Software\\Tarrow\\Mivo";
const std::wstring kMakerKey = L"Software\\Tarrow";
const std::wstring kSiblingKey = L"Software\\Tarrow\\Other";
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mivo";
const std::wstring kProgId = L"MivoPluginMsgPlus.Mivo";
constexpr DWORD kTimeoutMs = 120000;
constexpr DWORD kLaunchTimeoutMs = 30000;  // a message box of the plug-in would wait forever

#define EXPECT_SAME_PATH(expected, actual) \
    EXPECT_TRUE(EqualsIgnoreCase(expected, actual)) << "expected " << ToAnsi(expected) << "\n  actual " << ToAnsi(actual)

DWORD Install(const std::wstring& folder) {
    // /D must come last and is never quoted, blanks and all.
    return RunProcessTree(Quoted(WindowsPath(MIVO_SETUP_EXE)) + L" /S /D=" + folder, kTimeoutMs);
}

std::wstring Shortcut() { return CommonProgramsFolder() + L"\\Mivo.lnk"; }

// Whatever an interrupted run left in the test folder.
void RemoveTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(kFolder), ignored);
}

// Everything the setup touches is put back afterwards, so the other test programs find the
// prefix as the fixture left it (in particular the build's plug-in registered).
class SetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        installPath_ = ReadString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath");
        makerKeyExisted_ = KeyExists(HKEY_LOCAL_MACHINE, kMakerKey);
        pluginServer_ = RegisteredServer(kProgId);
        RemoveTestFolder();
    }

    void TearDown() override {
        try {
            EndEveryProcessOf(kFolder + L"\\mivo.exe");
            if (FileExists(kFolder + L"\\uninstall.exe"))
                RunProcessTree(Quoted(kFolder + L"\\uninstall.exe") + L" /S", kTimeoutMs);
            DeleteValue(HKEY_LOCAL_MACHINE, kSiblingKey, L"Keep");
            DeleteKeyIfEmpty(HKEY_LOCAL_MACHINE, kSiblingKey);
            DeleteValue(HKEY_LOCAL_MACHINE, kProductKey, L"Other");
            if (installPath_) WriteString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath", *installPath_);
            DeleteKeyIfEmpty(HKEY_LOCAL_MACHINE, kProductKey);
            if (!makerKeyExisted_) DeleteKeyIfEmpty(HKEY_LOCAL_MACHINE, kMakerKey);
            RemoveTestFolder();
            if (pluginServer_ && RegisteredServer(kProgId) != pluginServer_) {
                EXPECT_EQ(0u, RunProcessTree(L"regsvr32.exe /s " + Quoted(*pluginServer_), kTimeoutMs));
            }
        } catch (const std::exception& e) {
            ADD_FAILURE() << "restoring the prefix: " << e.what();
        }
    }

private:
    std::optional<std::wstring> installPath_;
    bool makerKeyExisted_ = false;
    std::optional<std::wstring> pluginServer_;
};

TEST_F(SetupTest, InstallsStartsFromThePlugInAndUninstallsWithoutATrace) {
    WriteString(HKEY_LOCAL_MACHINE, kSiblingKey, L"Keep", L"kept");

    ASSERT_EQ(0u, Install(kFolder));
    EXPECT_TRUE(FileExists(kFolder + L"\\mivo.exe"));
    EXPECT_TRUE(FileExists(kFolder + L"\\MivoPluginMsgPlus.dll"));
    EXPECT_TRUE(DirectoryExists(kFolder + L"\\temppics"));
    EXPECT_EQ(kFolder, ReadString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath").value_or(L"(missing)"));
    EXPECT_SAME_PATH(kFolder + L"\\MivoPluginMsgPlus.dll", RegisteredServer(kProgId).value_or(L"(missing)"));
    ASSERT_TRUE(FileExists(Shortcut()));
    EXPECT_SAME_PATH(kFolder + L"\\mivo.exe", ShortcutTarget(Shortcut()));

    EXPECT_EQ(L"Mivo"s, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"));
    EXPECT_EQ(L"" MIVO_VERSION_TEXT ""s, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"));
    EXPECT_EQ(L"Tarrow BVBA"s, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"));
    EXPECT_EQ(kFolder, ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"));
    EXPECT_EQ(Quoted(kFolder + L"\\uninstall.exe"), ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"));
    const auto quietUninstall = ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    ASSERT_EQ(Quoted(kFolder + L"\\uninstall.exe") + L" /S", quietUninstall);

    // The host loads the installed plug-in by its ProgID; without the catalogue server the
    // program's "Critical error" box is its window, with it the main window.
    EXPECT_EQ(0u, RunProcess(Quoted(WindowsPath(MIVO_PLUGIN_HOST_EXE)) + L" ParseCommand /xopenmivo", kLaunchTimeoutMs));
    EXPECT_TRUE(EndProgramOnceItShowsAWindow(kFolder + L"\\mivo.exe", kLaunchTimeoutMs)) << "mivo.exe did not start";

    WriteFileBytes(kFolder + L"\\temppics\\display7.png", "thumbnail");
    ASSERT_EQ(0u, RunProcessTree(*quietUninstall, kTimeoutMs));
    EXPECT_FALSE(DirectoryExists(kFolder));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProgId));
    EXPECT_FALSE(FileExists(Shortcut()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(L"kept"s, ReadString(HKEY_LOCAL_MACHINE, kSiblingKey, L"Keep"));
}

// A folder given with a trailing backslash is recorded without it, since the plug-in appends
// "\mivo.exe" as it stands; what the setup did not write survives the uninstall.
TEST_F(SetupTest, RecordsTheFolderWithoutTrailingBackslashAndKeepsForeignEntries) {
    ASSERT_EQ(0u, Install(kFolder + L"\\"));
    EXPECT_EQ(kFolder, ReadString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath").value_or(L"(missing)"));

    WriteString(HKEY_LOCAL_MACHINE, kProductKey, L"Other", L"not ours");
    WriteFileBytes(kFolder + L"\\notes.txt", "the user's own file");
    ASSERT_EQ(0u, RunProcessTree(Quoted(kFolder + L"\\uninstall.exe") + L" /S", kTimeoutMs));
    EXPECT_EQ(std::nullopt, ReadString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath"));
    EXPECT_EQ(L"not ours"s, ReadString(HKEY_LOCAL_MACHINE, kProductKey, L"Other"));
    EXPECT_TRUE(FileExists(kFolder + L"\\notes.txt"));
    EXPECT_FALSE(FileExists(kFolder + L"\\mivo.exe"));
    EXPECT_FALSE(FileExists(kFolder + L"\\uninstall.exe"));
}

}  // namespace
}  // namespace mivo::test
