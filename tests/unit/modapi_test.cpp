// modAPI on fakes: version records to texts, the Windows version classification and its
// cache, and the trimming of special folder paths.
#include "probes/modAPI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "fakes/fake_folders.h"
#include "fakes/fake_system.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_versions.h"

namespace {

constexpr wchar_t kPath[] = L"C:\\WINDOWS\\system32\\msjet40.dll";

// A record followed by a guard, so a copy past the record's 52 bytes shows up.
struct GuardedRecord {
    modAPI::FixedFileInfo info;
    std::array<std::uint8_t, 16> guard{};
};
static_assert(sizeof(GuardedRecord) == 52 + 16);

bool AllBytes(const auto& bytes, std::uint8_t value) {
    return std::all_of(bytes.begin(), bytes.end(), [&](std::uint8_t b) { return b == value; });
}

TEST(FileVersion, TextsOfVersions) {
    fakes::FakeVersions versions;
    fakes::FakeTexts texts;
    versions.AddVersion(L"a.dll", 4, 0, 8618, 0);
    versions.AddVersion(L"b.dll", 2, 80, 1022, 3);
    versions.AddVersion(L"c.dll", 6, 0, 40000, 1);
    versions.AddVersion(L"d.dll", 0, 0, 0, 0);
    versions.AddVersion(L"e.dll", 65535, 32768, 65535, 40000);

    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"a.dll", false), L"4.0.8618");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"a.dll", true), L"4.0.8618 (Build 0)");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"b.dll", false), L"2.80.1022");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"b.dll", true), L"2.80.1022 (Build 3)");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"c.dll", true), L"6.0.40000 (Build 1)");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"d.dll", false), L"0.0.0");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"d.dll", true), L"0.0.0 (Build 0)");
    EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"e.dll", true),
              L"65535.32768.65535 (Build 40000)");
    EXPECT_EQ(texts.lookups, 0);
}

TEST(FileVersion, PartsComeFromTheirOwnRecordBytes) {
    modAPI::FixedFileInfo info;
    const auto record = fakes::FixedInfoRecord(0x0102, 0x0304, 0x0506, 0x0708);
    std::copy(record.begin(), record.end(), info.bytes.begin());
    EXPECT_EQ(info.FirstPart(), 0x0102);
    EXPECT_EQ(info.SecondPart(), 0x0304);
    EXPECT_EQ(info.ThirdPart(), 0x0506);
    EXPECT_EQ(info.FourthPart(), 0x0708);
    // Bytes 10-11 little-endian: the low byte first.
    EXPECT_EQ(info.bytes[10], 0x02);
    EXPECT_EQ(info.bytes[11], 0x01);
}

TEST(FileVersion, NotAvailableInBothLanguages) {
    fakes::FakeVersions versions;
    versions.files[L"noversion.dll"] = {};  // present, but the size query answers 0
    for (auto [language, expected] : {std::pair{fakes::FakeTexts::English, L"Not available"},
                                      std::pair{fakes::FakeTexts::German, L"Nicht vorhanden"}}) {
        fakes::FakeTexts texts(language);
        for (bool withBuild : {false, true}) {
            EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"C:\\missing.dll", withBuild),
                      expected);
            EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"noversion.dll", withBuild),
                      expected);
        }
    }
}

TEST(FileVersion, ReadUsesTheReportedSizeAZeroedBufferAndTheHandle) {
    fakes::FakeVersions versions;
    auto& file = versions.AddVersion(kPath, 4, 0, 8618, 0);
    file.handle = 0x1234;
    file.reportedSize = 300;  // the platform asks for more room than the resource takes

    modAPI::FixedFileInfo info;
    ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, kPath, info));
    EXPECT_EQ(versions.bufferSize, 300u);
    EXPECT_TRUE(versions.bufferWasZeroed);
    EXPECT_EQ(versions.handlePassed, 0x1234u);
    EXPECT_EQ(info.bytes, fakes::FixedInfoRecord(4, 0, 8618, 0));
}

TEST(FileVersion, FailedReadsLeaveTheRecordAsTheCallerSetIt) {
    fakes::FakeVersions versions;
    versions.files[L"nosize.dll"] = {};
    versions.AddVersion(L"fillfails.dll", 1, 2, 3, 4).fillFails = true;
    versions.AddVersion(L"noroot.dll", 1, 2, 3, 4).root.reset();
    versions.AddVersion(L"rootoutside.dll", 1, 2, 3, 4).root = os::RootBlock{1000, 52};

    const wchar_t* const paths[] = {L"C:\\missing.dll", L"nosize.dll", L"fillfails.dll",
                                    L"noroot.dll", L"rootoutside.dll"};
    for (std::size_t i = 0; i < std::size(paths); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        const wchar_t* path = paths[i];
        modAPI::FixedFileInfo zeroed{};
        EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, path, zeroed));
        EXPECT_TRUE(AllBytes(zeroed.bytes, 0));

        modAPI::FixedFileInfo patterned;
        patterned.bytes.fill(0xAA);
        EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, path, patterned));
        EXPECT_TRUE(AllBytes(patterned.bytes, 0xAA));
    }

    // A size of 0 ends it: the file is neither read nor searched.
    versions.fillCalls = versions.rootCalls = 0;
    modAPI::FixedFileInfo info{};
    EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, L"nosize.dll", info));
    EXPECT_EQ(versions.fillCalls, 0);
    EXPECT_EQ(versions.rootCalls, 0);
}

TEST(FileVersion, CopiesAtMostTheRecordAndOnlyWhatTheBlockHas) {
    fakes::FakeVersions versions;

    // A root block that claims 80 bytes: only 52 reach the record.
    versions.AddVersion(L"long.dll", 4, 0, 8618, 0).root->length = 80;
    GuardedRecord guarded{};
    ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, L"long.dll", guarded.info));
    EXPECT_EQ(guarded.info.bytes, fakes::FixedInfoRecord(4, 0, 8618, 0));
    EXPECT_TRUE(AllBytes(guarded.guard, 0));

    // A block of 12 bytes fills the first 12 (up to the first version field) and leaves the
    // rest as it was.
    versions.AddVersion(L"short.dll", 2, 80, 1022, 3).root->length = 12;
    modAPI::FixedFileInfo info;
    info.bytes.fill(0xAA);
    ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, L"short.dll", info));
    const auto record = fakes::FixedInfoRecord(2, 80, 1022, 3);
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 12, info.bytes.begin()));
    EXPECT_TRUE(std::all_of(info.bytes.begin() + 12, info.bytes.end(),
                            [](std::uint8_t b) { return b == 0xAA; }));
    EXPECT_EQ(info.FirstPart(), 2);
    EXPECT_EQ(info.SecondPart(), 80);
    EXPECT_EQ(info.ThirdPart(), 0xAAAA);
    EXPECT_EQ(info.FourthPart(), 0xAAAA);

    // A block whose length runs past the end of the buffer copies only what the buffer holds.
    auto& cut = versions.AddVersion(L"cut.dll", 5, 6, 0, 880);
    cut.resource.resize(40 + 20);
    modAPI::FixedFileInfo cutInfo{};
    ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, L"cut.dll", cutInfo));
    const auto cutRecord = fakes::FixedInfoRecord(5, 6, 0, 880);
    EXPECT_TRUE(std::equal(cutRecord.begin(), cutRecord.begin() + 20, cutInfo.bytes.begin()));
    EXPECT_EQ(cutInfo.FirstPart(), 5);
    EXPECT_TRUE(std::all_of(cutInfo.bytes.begin() + 20, cutInfo.bytes.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

class WindowsVersion : public testing::Test {
protected:
    void SetUp() override { modAPI::ResetWindowsVersionCacheForTests(); }
    void TearDown() override { modAPI::ResetWindowsVersionCacheForTests(); }
    fakes::FakeSystem system;
};

TEST_F(WindowsVersion, Classification) {
    struct Case {
        std::uint32_t platform, major, minor;
        std::int32_t code;
    };
    const Case cases[] = {
        {2, 5, 0, 4},  {2, 5, 1, 6},  {2, 5, 2, 7},  {2, 5, 3, 0},   {2, 6, 0, 8},
        {2, 6, 1, 8},  {2, 6, 2, 8},  {2, 4, 0, 3},  {2, 4, 10, 3},  {2, 3, 51, 0},
        {2, 10, 0, 0}, {1, 4, 0, 1},  {1, 4, 10, 2}, {1, 4, 90, 5},  {1, 4, 5, 0},
        // The Windows 95 family is told apart by the minor version alone.
        {1, 5, 0, 1},  {1, 0, 90, 5}, {0, 3, 10, 2}, {0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = {c.platform, c.major, c.minor, 1234};
        EXPECT_EQ(modAPI::GetWindowsVersion(system), c.code)
            << "platform " << c.platform << ", version " << c.major << "." << c.minor;
    }
}

TEST_F(WindowsVersion, RecognisedIsKeptUnrecognisedIsAskedAgain) {
    system.version = {2, 3, 51, 1057};
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 0);
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 0);
    EXPECT_EQ(system.versionCalls, 2);

    system.version = {2, 5, 1, 2600};
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 6);
    EXPECT_EQ(system.versionCalls, 3);

    // The system is not asked again, even if it would answer differently now.
    system.version = {1, 4, 10, 2222};
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 6);
    EXPECT_EQ(modAPI::GetWindowsVersion(system), 6);
    EXPECT_EQ(system.versionCalls, 3);
}

TEST(SpecialFolder, PathBeforeTheNulOrEmptyOnFailure) {
    fakes::FakeFolders folders;
    folders.SetPath(5, L"C:\\users\\Ann\\Documents");
    folders.SetPath(43, L"C:\\Program Files\\Common Files");

    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 5), L"C:\\users\\Ann\\Documents");
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 43), L"C:\\Program Files\\Common Files");
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 0x7F), L"");  // not defined by the platform

    // A failure reads as empty whatever the buffer holds, a well-formed path included.
    folders.answers[26] = {static_cast<std::int32_t>(0x80004005u),
                           std::wstring(L"C:\\users\\Ann\\AppData") + L'\0' + L"   "};
    folders.answers[35] = {1, std::wstring(L"C:\\ProgramData") + L'\0'};  // S_FALSE is no success
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 26), L"");
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 35), L"");

    EXPECT_EQ(folders.asked, (std::vector<std::int32_t>{5, 43, 0x7F, 26, 35}));
}

}  // namespace
