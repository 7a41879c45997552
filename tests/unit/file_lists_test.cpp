// The component file lists and how one file is examined.
#include "unit/window_fixture.h"

#include "app/file_lists.h"
#include "platform/text_ids.h"

namespace {

using namespace ctl;

TEST(GetFile, PartAfterTheLastBackslash) {
    EXPECT_EQ(app::GetFile(L"C:\\a\\b\\MSADO15.DLL"), L"MSADO15.DLL");
    EXPECT_EQ(app::GetFile(L"MSADO15.DLL"), L"MSADO15.DLL");
    EXPECT_EQ(app::GetFile(L"C:\\a\\"), L"");
    EXPECT_EQ(app::GetFile03(L"Not found"), L"Not found");
    EXPECT_EQ(app::GetFile03(L"\\System\\Ole DB\\MSDAPS.DLL"), L"MSDAPS.DLL");
}

TEST(GetFileEntry, FoundFileCarriesItsPathAndThreeVersionParts) {
    fakes::FakeVersions versions;
    versions.AddVersion(L"C:\\S\\msjet40.dll", 4, 0, 8618, 7);
    versions.AddVersion(L"C:\\S\\big.dll", 6, 0, 40000, 1);
    const app::FileEntry jet = app::GetFileEntry(versions, L"C:\\S\\msjet40.dll");
    EXPECT_EQ(jet.FileName, L"msjet40.dll");
    EXPECT_EQ(jet.FilePath, L"C:\\S\\msjet40.dll");
    EXPECT_EQ(jet.FileVersion, L"4.0.8618");
    EXPECT_EQ(jet.VersionMajor, 4);
    EXPECT_EQ(jet.VersionMinor, 0);
    EXPECT_EQ(jet.VersionBuild, 8618);
    EXPECT_FALSE(jet.SkipRegister);
    EXPECT_EQ(app::GetFileEntry(versions, L"C:\\S\\big.dll").FileVersion, L"6.0.40000");
}

TEST(GetFileEntry, MissingFileOrOneWithoutVersionResourceIsNotFound) {
    fakes::FakeVersions versions;
    // Present, with version information, but no root block: still not found.
    versions.files[L"C:\\S\\bare.dll"].resource.assign(100, 0);
    for (const wchar_t* path : {L"C:\\S\\missing.dll", L"C:\\S\\bare.dll"}) {
        const app::FileEntry entry = app::GetFileEntry(versions, path);
        EXPECT_EQ(entry.FileName, app::GetFile(path));
        EXPECT_EQ(entry.FilePath, L"Not found");
        EXPECT_EQ(entry.FileVersion, L"N/A");
        EXPECT_EQ(entry.VersionMajor + entry.VersionMinor + entry.VersionBuild, 0);
    }
}

TEST_F(WindowTest, ListsKeepTheirSizesAndSkipMarksWhenEveryFileIsMissing) {
    Load();
    window.BuildComponentFileList();
    window.BuildJetFileList();
    ASSERT_EQ(window.ComponentFileList.size(), 3u);
    ASSERT_EQ(window.JetFileList.size(), 6u);
    ASSERT_EQ(window.MDACFileList.size(), 28u);
    std::vector<std::size_t> skippedJet, skippedMDAC;
    for (std::size_t i = 0; i < 6; ++i)
        if (window.JetFileList[i].SkipRegister) skippedJet.push_back(i);
    for (std::size_t i = 0; i < 28; ++i)
        if (window.MDACFileList[i].SkipRegister) skippedMDAC.push_back(i);
    for (const auto& e : window.ComponentFileList) EXPECT_FALSE(e.SkipRegister);
    EXPECT_EQ(skippedJet, (std::vector<std::size_t>{3, 4, 5}));
    EXPECT_EQ(skippedMDAC, (std::vector<std::size_t>{1, 8, 10, 12, 13, 15, 27}));
    EXPECT_EQ(window.MDACFileList[17].FileName, L"OLEDB32.DLL");
    EXPECT_EQ(window.ComponentFileList[0].FileName, L"COMCTL32.OCX");
    EXPECT_EQ(window.JetFileList[2].FileName, L"msjetoledb40.dll");
    for (const auto& e : window.JetFileList) EXPECT_EQ(e.FilePath, L"Not found");
}

TEST_F(WindowTest, FilesAreLookedForBelowTheirBaseFolders) {
    versions.AddVersion(L"C:\\Program Files\\Common Files\\System\\Ole DB\\OLEDB32.DLL", 2, 81, 1117, 0);
    versions.AddVersion(L"C:\\WINDOWS\\system32\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.BuildJetFileList();
    EXPECT_EQ(window.MDACFileList[17].FilePath, L"C:\\Program Files\\Common Files\\System\\Ole DB\\OLEDB32.DLL");
    EXPECT_EQ(window.MDACFileList[17].FileVersion, L"2.81.1117");
    EXPECT_EQ(window.JetFileList[0].FileVersion, L"4.0.8618");
    // The list view shows name, version and path of every entry.
    EXPECT_EQ(form[lvwMDACFiles].ItemText(17, 0), L"OLEDB32.DLL");
    EXPECT_EQ(form[lvwMDACFiles].ItemText(17, 1), L"2.81.1117");
    EXPECT_EQ(form[lvwMDACFiles].ItemText(0, 1), L"N/A");
    EXPECT_EQ(form[lvwMDACFiles].ItemText(0, 2), L"Not found");
}

TEST_F(WindowTest, CommonFilesNotSetIsToldBeforeAnyFileIsExamined) {
    folders.answers.clear();
    versions.AddVersion(L"\\System\\ado\\MSADO15.DLL", 2, 80, 1022, 3);
    texts.language = fakes::FakeTexts::German;
    int examinedBeforeMessage = -1;
    form.onMessage = [&] { examinedBeforeMessage = versions.sizeCalls; };
    Load();
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].text, German(IDS_COMMON_FILES_NOT_SET));
    EXPECT_EQ(form.messages[0].title, L"LumoraRepair");
    EXPECT_EQ(examinedBeforeMessage, 0);
    ASSERT_EQ(window.MDACFileList.size(), 28u);
    EXPECT_EQ(window.MDACFileList[0].FilePath, L"\\System\\ado\\MSADO15.DLL");
    EXPECT_EQ(window.MDACFileList[27].FileName, L"MSDAER.DLL");
}

TEST_F(WindowTest, EmptySystemDirectoryGivesPathsThatBeginWithTheSuffix) {
    system.systemDirectoryFails = true;
    versions.AddVersion(L"\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.BuildJetFileList();
    EXPECT_EQ(window.JetFileList[0].FilePath, L"\\msjet40.dll");
    EXPECT_TRUE(form.messages.empty());
}

TEST_F(WindowTest, RefillingListsEachFileOnceAndKeepsTheSortOrder) {
    versions.AddVersion(L"C:\\WINDOWS\\system32\\msjet40.dll", 10, 0, 1, 0);
    versions.AddVersion(L"C:\\WINDOWS\\system32\\msjtes40.dll", 4, 0, 8618, 0);
    Load();
    window.ShowJetPage();
    window.ShowJetPage();
    auto& view = form[lvwJetFiles];
    ASSERT_EQ(view.ItemCount(), 6);
    // Ordered by the version texts as texts: "10.0.1" before "4.0.8618" before "N/A".
    window.OnEvent(lvwJetFiles, ui::Event::ColumnClick, 1);
    EXPECT_EQ(view.ItemText(0, 1), L"10.0.1");
    EXPECT_EQ(view.ItemText(1, 1), L"4.0.8618");
    EXPECT_EQ(view.ItemText(2, 1), L"N/A");
    window.ShowJetPage();
    EXPECT_EQ(view.ItemCount(), 6);
    EXPECT_EQ(view.ItemText(0, 0), L"msjet40.dll");
    EXPECT_EQ(view.ItemText(1, 0), L"msjtes40.dll");
    EXPECT_EQ(view.sortKey, 1);
}

}  // namespace
