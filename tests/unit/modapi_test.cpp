// modAPI on fakes: version records to texts, the Windows version and its cache, folders.
#include "probes/modAPI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "fakes/fake_folders.h"
#include "fakes/fake_system.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_versions.h"

namespace {

TEST(FileVersion, TextsAndFailedReads) {
    fakes::FakeVersions versions;
    fakes::FakeTexts texts;
    versions.AddVersion(L"big.dll", 65535, 32768, 40000, 7);
    versions.AddVersion(L"noroot.dll", 1, 2, 3, 4).root.reset();
    versions.AddVersion(L"outside.dll", 1, 2, 3, 4).root = os::RootBlock{1000, 52};
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"big.dll", false), L"65535.32768.40000");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"big.dll", true), L"65535.32768.40000 (Build 7)");
    // Missing, no root block, a root block outside the buffer: the record untouched, text 102.
    for (const wchar_t* path : {L"missing.dll", L"noroot.dll", L"outside.dll"}) {
        modAPI::FixedFileInfo info;
        info.bytes.fill(0xAA);
        EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, path, info)) << path;
        EXPECT_TRUE(std::all_of(info.bytes.begin(), info.bytes.end(), [](auto b) { return b == 0xAA; }));
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, path, true), texts.Text(102));
    }
}

// Never more than the record's 52 bytes, never past the end of what was read; a block that
// ends before the file version is none.
TEST(FileVersion, CopiesOnlyWhatTheBlockAndTheBufferHold) {
    const auto record = fakes::FixedInfoRecord(2, 80, 1022, 3);
    for (const auto& [length, resourceSize, copied] :
         {std::tuple{80u, 0u, 52u}, std::tuple{52u, 60u, 20u}, std::tuple{15u, 0u, 0u}, std::tuple{52u, 55u, 0u}}) {
        fakes::FakeVersions versions;
        auto& file = versions.AddVersion(L"x.dll", 2, 80, 1022, 3);
        file.root->length = length;
        if (resourceSize) file.resource.resize(resourceSize);
        modAPI::FixedFileInfo info;
        info.bytes.fill(0xAA);
        ASSERT_EQ(modAPI::ReadFileVersionInfo(versions, L"x.dll", info), copied > 0);
        EXPECT_TRUE(std::equal(record.begin(), record.begin() + copied, info.bytes.begin())) << copied;
        EXPECT_TRUE(std::all_of(info.bytes.begin() + copied, info.bytes.end(), [](auto b) { return b == 0xAA; }));
    }
}

// Classified by platform, major and minor; a recognised system is kept for the run, an
// unrecognised one asked again.
TEST(WindowsVersion, ClassificationAndCache) {
    struct Case { std::uint32_t platform, major, minor; std::int32_t code; };
    const Case cases[] = {{2, 5, 0, 4}, {2, 5, 1, 6}, {2, 5, 2, 7}, {2, 5, 3, 0}, {2, 6, 1, 8}, {2, 4, 0, 3},
                          {2, 10, 0, 0}, {1, 4, 0, 1}, {1, 4, 10, 2}, {1, 4, 90, 5}, {1, 4, 5, 0}};
    fakes::FakeSystem system;
    for (const Case& c : cases) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = {c.platform, c.major, c.minor, 0};
        EXPECT_EQ(modAPI::GetWindowsVersion(system), c.code) << c.platform << " " << c.major << "." << c.minor;
    }
    modAPI::ResetWindowsVersionCacheForTests();
    system.versionCalls = 0;
    system.version = {2, 3, 51, 0};
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 0);
    system.version = {2, 5, 1, 0};
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 6);
    system.version = {1, 4, 10, 0};
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 6);
    EXPECT_EQ(system.versionCalls, 2);
    modAPI::ResetWindowsVersionCacheForTests();
}

TEST(SpecialFolder, PathBeforeTheNulOrEmptyOnFailure) {
    fakes::FakeFolders folders;
    folders.SetPath(5, L"C:\\users\\Ann\\Documents");
    folders.answers[35] = {1, std::wstring(L"C:\\ProgramData") + L'\0'};  // S_FALSE is no success
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 5), L"C:\\users\\Ann\\Documents");
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 35), L"");
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 0x7F), L"");
}

}  // namespace
