// Names and checks of the thumbnail cache's files on their own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "CacheFiles.h"
#include "TestSupport.h"

namespace mivo::test {
namespace {

using xmlRequests::CacheFilePath;

TEST(CacheFilePath, NamesOnlyFilesInsideTheCacheFolder) {
    EXPECT_EQ(CacheFilePath(ItemKind::Display, L"12", L"png"), xmlRequests::CacheFolder() + L"display12.png");
    EXPECT_EQ(CacheFilePath(ItemKind::Emoticon, L"-3", L"GIF"), xmlRequests::CacheFolder() + L"emoticon-3.GIF");
    for (const wchar_t* type : {L"", L"p.ng", L"..\\x", L"png ", L"c:", L"a/b", L"abcdefghijklmnopq"})
        EXPECT_FALSE(CacheFilePath(ItemKind::Display, L"12", type)) << type;
    for (const wchar_t* id : {L"..", L"1\\2", L"1/2", L"c:1", L"1*", L"1?", L"1\"", L"1<", L"1|"})
        EXPECT_FALSE(CacheFilePath(ItemKind::Display, id, L"png")) << id;
}

// A long name has a short alias of 8.3 shape; asked for under the alias, the file of another
// name does not count as the one asked for.
TEST(CacheFileExists, AFileAnsweringOnlyToTheNameAsItsShortAliasDoesNotCount) {
    const std::wstring folder = xmlRequests::CacheFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"display12345.png";
    WriteFileBytes(path, "picture");
    wchar_t alias[MAX_PATH] = {};
    ASSERT_NE(::GetShortPathNameW(path.c_str(), alias, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(alias), path);
    EXPECT_TRUE(xmlRequests::CacheFileExists(path));
    EXPECT_FALSE(xmlRequests::CacheFileExists(alias));
    ::DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace mivo::test
