// modAPI on fakes: version records to texts, the Windows version classification and its
// cache, and the trimming of special folder paths.
#include "probes/modAPI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "fakes/fake_folders.h"
#include "fakes/fake_system.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_versions.h"

namespace {

bool AllBytes(const auto& bytes, std::uint8_t value) {
    return std::all_of(bytes.begin(), bytes.end(), [&](std::uint8_t b) { return b == value; });
}

TEST(FileVersion, TextsOfVersions) {
    struct Case { std::uint16_t first, second, third, fourth; const wchar_t* plain; const wchar_t* withBuild; };
    const Case cases[] = {
        {4, 0, 8618, 0, L"4.0.8618", L"4.0.8618 (Build 0)"},
        {2, 80, 1022, 3, L"2.80.1022", L"2.80.1022 (Build 3)"},
        {6, 0, 40000, 1, L"6.0.40000", L"6.0.40000 (Build 1)"},  // unsigned, however large
        {0, 0, 0, 0, L"0.0.0", L"0.0.0 (Build 0)"},
        {65535, 32768, 65535, 40000, L"65535.32768.65535", L"65535.32768.65535 (Build 40000)"},
    };
    fakes::FakeVersions versions;
    fakes::FakeTexts texts;
    for (const Case& c : cases) {
        versions.AddVersion(L"x.dll", c.first, c.second, c.third, c.fourth);
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"x.dll", false), c.plain);
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, L"x.dll", true), c.withBuild);
    }
    EXPECT_EQ(texts.lookups, 0);
}

TEST(FileVersion, PartsComeFromTheirOwnLittleEndianRecordBytes) {
    modAPI::FixedFileInfo info;
    info.bytes = fakes::FixedInfoRecord(0x0102, 0x0304, 0x0506, 0x0708);
    EXPECT_EQ((std::array{info.FirstPart(), info.SecondPart(), info.ThirdPart(), info.FourthPart()}),
              (std::array<std::uint16_t, 4>{0x0102, 0x0304, 0x0506, 0x0708}));
    EXPECT_EQ(info.bytes[10], 0x02);  // the made-up record is little-endian too: low byte first
    EXPECT_EQ(info.bytes[11], 0x01);
}

TEST(FileVersion, ReadUsesTheReportedSizeAZeroedBufferAndTheHandle) {
    fakes::FakeVersions versions;
    auto& file = versions.AddVersion(L"x.dll", 4, 0, 8618, 0);
    file.handle = 0x1234;
    file.reportedSize = 300;  // the platform asks for more room than the resource takes

    modAPI::FixedFileInfo info;
    ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, L"x.dll", info));
    EXPECT_EQ(versions.bufferSize, 300u);
    EXPECT_TRUE(versions.bufferWasZeroed);
    EXPECT_EQ(versions.handlePassed, 0x1234u);
    EXPECT_EQ(info.bytes, fakes::FixedInfoRecord(4, 0, 8618, 0));
}

// Missing, no version resource, a fill that fails, no root block, a root block outside the
// buffer: false with the record as the caller set it, and text 102 in either language.
TEST(FileVersion, EveryFailedReadLeavesTheRecordAndGivesNotAvailable) {
    fakes::FakeVersions versions;
    versions.files[L"nosize.dll"] = {};  // present, but the size query answers 0
    versions.AddVersion(L"fillfails.dll", 1, 2, 3, 4).fillFails = true;
    versions.AddVersion(L"noroot.dll", 1, 2, 3, 4).root.reset();
    versions.AddVersion(L"rootoutside.dll", 1, 2, 3, 4).root = os::RootBlock{1000, 52};
    const fakes::FakeTexts english(fakes::FakeTexts::English), german(fakes::FakeTexts::German);

    for (const wchar_t* path :
         {L"C:\\missing.dll", L"nosize.dll", L"fillfails.dll", L"noroot.dll", L"rootoutside.dll"}) {
        SCOPED_TRACE(testing::Message() << path);
        for (const std::uint8_t fill : {0x00, 0xAA}) {
            modAPI::FixedFileInfo info;
            info.bytes.fill(fill);
            EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, path, info));
            EXPECT_TRUE(AllBytes(info.bytes, fill)) << int{fill};
        }
        for (const bool withBuild : {false, true}) {
            EXPECT_EQ(modAPI::GetFileVersionString(versions, english, path, withBuild), L"Not available");
            EXPECT_EQ(modAPI::GetFileVersionString(versions, german, path, withBuild), L"Nicht vorhanden");
        }
    }

    // A size of 0 ends it: the file is neither read nor searched.
    versions.fillCalls = versions.rootCalls = 0;
    modAPI::FixedFileInfo info{};
    EXPECT_FALSE(modAPI::ReadFileVersionInfo(versions, L"nosize.dll", info));
    EXPECT_EQ(versions.fillCalls, 0);
    EXPECT_EQ(versions.rootCalls, 0);
}

// Never more than the record's 52 bytes, never past the end of what was read; what is not
// copied stays as the caller set it, and nothing behind the record is touched.
TEST(FileVersion, CopiesAtMostTheRecordAndOnlyWhatTheBlockHas) {
    struct Case { const char* what; std::size_t blockLength, resourceSize, copied; };
    const Case cases[] = {
        {"block claims 80 bytes", 80, 0, 52},
        {"block of 12 bytes (up to the first version field)", 12, 0, 12},
        {"block runs past the end of the buffer", 52, 40 + 20, 20},  // the record starts at 40
    };
    const auto record = fakes::FixedInfoRecord(2, 80, 1022, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::FakeVersions versions;
        auto& file = versions.AddVersion(L"x.dll", 2, 80, 1022, 3);
        file.root->length = c.blockLength;
        if (c.resourceSize) file.resource.resize(c.resourceSize);
        struct {
            modAPI::FixedFileInfo info;
            std::array<std::uint8_t, 16> guard{};
        } guarded;
        static_assert(sizeof guarded == 52 + 16);
        guarded.info.bytes.fill(0xAA);
        ASSERT_TRUE(modAPI::ReadFileVersionInfo(versions, L"x.dll", guarded.info));
        EXPECT_TRUE(std::equal(record.begin(), record.begin() + c.copied, guarded.info.bytes.begin()));
        EXPECT_TRUE(AllBytes(std::span(guarded.info.bytes).subspan(c.copied), 0xAA));
        EXPECT_TRUE(AllBytes(guarded.guard, 0));
    }
}

class WindowsVersion : public testing::Test {
protected:
    void SetUp() override { modAPI::ResetWindowsVersionCacheForTests(); }
    void TearDown() override { modAPI::ResetWindowsVersionCacheForTests(); }
    fakes::FakeSystem system;
};

TEST_F(WindowsVersion, Classification) {
    struct Case { std::uint32_t platform, major, minor; std::int32_t code; };
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

// A recognised version is kept and the system not asked again, even if it would answer
// differently now; an unrecognised one is asked again each time.
TEST_F(WindowsVersion, RecognisedIsKeptUnrecognisedIsAskedAgain) {
    struct Step { os::OsVersion version; std::int32_t code; int callsSoFar; };
    const Step steps[] = {{{2, 3, 51, 1057}, 0, 1}, {{2, 3, 51, 1057}, 0, 2}, {{2, 5, 1, 2600}, 6, 3},
                          {{1, 4, 10, 2222}, 6, 3}, {{1, 4, 10, 2222}, 6, 3}};
    for (const Step& step : steps) {
        system.version = step.version;
        EXPECT_EQ(modAPI::GetWindowsVersion(system), step.code) << "call " << step.callsSoFar;
        EXPECT_EQ(system.versionCalls, step.callsSoFar);
    }
}

TEST(SpecialFolder, PathBeforeTheNulOrEmptyOnFailure) {
    fakes::FakeFolders folders;
    folders.SetPath(5, L"C:\\users\\Ann\\Documents");  // the path, its NUL, then spaces
    folders.SetPath(43, L"C:\\Program Files\\Common Files");
    // A failure reads as empty whatever the buffer holds, a well-formed path included.
    folders.answers[26] = {static_cast<std::int32_t>(0x80004005u),
                           std::wstring(L"C:\\users\\Ann\\AppData") + L'\0' + L"   "};
    folders.answers[35] = {1, std::wstring(L"C:\\ProgramData") + L'\0'};  // S_FALSE is no success

    // 0x7F is not defined by the platform.
    const std::pair<std::int32_t, std::wstring> cases[] = {
        {5, L"C:\\users\\Ann\\Documents"}, {43, L"C:\\Program Files\\Common Files"}, {0x7F, L""}, {26, L""}, {35, L""}};
    for (const auto& [id, path] : cases) EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, id), path) << id;
    EXPECT_EQ(folders.asked, (std::vector<std::int32_t>{5, 43, 0x7F, 26, 35}));
}

}  // namespace
