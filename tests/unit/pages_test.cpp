// The four pages and the file lists they show.
#include "unit/window_fixture.h"

#include <cstring>
#include <tuple>

#include "app/file_lists.h"

namespace {

using namespace ctl;
const wchar_t kSys[] = L"C:\\WINDOWS\\system32", kNoDirectory[] = L"Directory not available!";

// The installed MDAC version against the available 2.80.1022.3, dotted numbers part by
// part: only a newer one hides the row, and once hidden it stays hidden.
TEST_F(WindowTest, MdacPage) {
    // Compared as shown: blanks around it and anything from a NUL on (a multi-string) do not count.
    for (const auto& [installed, shown, type] :
         {std::tuple{"2.80.1022.3", true, 1}, std::tuple{"2.8", true, 1}, std::tuple{"2.71.9030.0", true, 1},
          std::tuple{"", true, 1}, std::tuple{" 2.80.1022.3 ", true, 1}, std::tuple{"2.80.1022.3\0\0", true, 7},
          std::tuple{"10.0.19041.1", false, 1}}) {
        const std::string text(installed, installed + std::strlen(installed) + (type == 7 ? 1 : 0));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
        registry.Put(os::kHKeyLocalMachine, L"Software\\Microsoft\\DataAccess", L"FullInstallVer",
                     static_cast<std::uint32_t>(type), {bytes, bytes + text.size() + 1});
        window.ShowMDACPage();
        if (type == 1) {
            EXPECT_EQ(form[Label8].caption, std::wstring(text.begin(), text.end()));
        }
        EXPECT_EQ(form[Label19].visible && form[Label21].visible, shown) << installed;
    }
    PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", "2.50");
    window.ShowMDACPage();
    EXPECT_FALSE(form[Label19].visible);
    EXPECT_EQ(form[Label19].caption, Text(IDS_MDAC_AVAILABLE_VERSION));
    EXPECT_EQ(form[Label7].caption, Text(IDS_MDAC_INSTALLED_VERSION));
    EXPECT_EQ(form[Label22].caption, Text(IDS_MDAC_FILES));
    EXPECT_EQ(form[Command1].caption, Text(IDS_REREGISTER_MDAC));
}

TEST_F(WindowTest, JetAndComponentsPages) {
    versions.AddVersion(kSys + std::wstring(L"\\msjet40.dll"), 4, 0, 9511, 0);
    versions.AddVersion(kSys + std::wstring(L"\\vbscript.DLL"), 5, 6, 0, 880);
    versions.AddVersion(kSys + std::wstring(L"\\MSVBVM60.DLL"), 6, 0, 98, 2);
    Load();
    const int before = versions.sizeCalls;
    window.ShowJetPage();
    EXPECT_EQ(versions.sizeCalls - before, 6) << "each Jet file read once";
    window.ShowComponentsPage();
    const std::pair<int, std::wstring> captions[] = {
        {Label25, Text(IDS_JET_INSTALLED_VERSION)}, {Label23, Text(IDS_JET_AVAILABLE_VERSION)}, {Label24, L"4.0.9511"},
        {Label9, Text(IDS_JET_FILES)}, {Command3, Text(IDS_REREGISTER_JET)}, {Frame3, Text(IDS_OTHER_COMPONENTS_FRAME)},
        {Label18, Text(IDS_VB6_RUNTIME)}, {Label17, L"6.0.98"}, {Label15, Text(IDS_VBSCRIPT_VERSION)},
        {Label16, L"5.6.0 (Build 880)"}, {Label36, Text(IDS_NOT_AVAILABLE)}, {Command2, Text(IDS_REREGISTER_COMPONENTS)}};
    for (const auto& [id, text] : captions) EXPECT_EQ(form[id].caption, text) << form[id].design.name;
    EXPECT_EQ(form[lvwJetFiles].ItemCount(), 6);
}

TEST_F(WindowTest, WindowsSettingsPage) {
    system.langId = 1031;
    PutText(L"Software\\Microsoft\\Internet Explorer", L"Version", "8.0.6001.18702");
    folders.SetPath(modAPI::kFolderMyDocuments, L"C:\\Data");
    folders.SetPath(modAPI::kFolderAppData, L"C:\\AppData");  // set, but not on disk
    folders.SetPath(modAPI::kFolderCommonAppData, L"C:\\ProgramData");
    folders.existing = {L"C:\\Data\\", L"C:\\TEMP\\", L"C:\\ProgramData\\Microsoft\\HTML Help\\"};
    Load();
    window.ShowWindowsPage();
    const std::pair<int, std::wstring> captions[] = {
        {Label1, Text(IDS_WINDOWS_VERSION)}, {Label2, L"Windows XP"}, {Label4, L"1031"}, {Label5, L"1252"},
        {Label13, L"8.0.6001.18702"}, {Label28, Text(IDS_MY_DOCUMENTS)}, {Label29, L"C:\\Data\\"},
        {Label31, Text(IDS_APPLICATION_DATA)}, {Label30, kNoDirectory}, {Label33, Text(IDS_TEMPORARY_FILES)},
        {Label32, L"C:\\TEMP\\"}, {Label27, L"C:\\ProgramData\\Microsoft\\HTML Help\\"}};
    for (const auto& [id, text] : captions) EXPECT_EQ(form[id].caption, text) << form[id].design.name;

    // A failed or cut-off temporary path shows as missing, never as the last value.
    for (const std::uint32_t length : {0u, 512u}) {
        system.tempPathLength = length;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label32].caption, kNoDirectory) << length;
    }
    for (const auto& [version, name] : {std::pair{os::OsVersion{2, 6, 0, 0}, L"Windows Vista"},
                                        std::pair{os::OsVersion{2, 10, 0, 0}, L"en 102"}}) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = version;
        window.Form_Load();
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label2].caption, name);
    }
}

// Code 8 covers every system since Vista; the true version names it.
TEST_F(WindowTest, SystemsSinceVistaAreNamedByTheirTrueVersion) {
    system.version = {2, 6, 2, 9200};
    const std::pair<os::TrueOsVersion, const wchar_t*> cases[] = {
        {{6, 0, 6002, 1}, L"Windows Vista"},         {{6, 1, 7601, 1}, L"Windows 7"},
        {{6, 2, 9200, 1}, L"Windows 8"},             {{6, 3, 9600, 1}, L"Windows 8.1"},
        {{10, 0, 19045, 1}, L"Windows 10"},          {{10, 0, 22000, 1}, L"Windows 11"},
        {{6, 0, 6002, 3}, L"Windows Server 2008"},   {{6, 1, 7601, 2}, L"Windows Server 2008 R2"},
        {{6, 2, 9200, 3}, L"Windows Server 2012"},   {{6, 3, 9600, 3}, L"Windows Server 2012 R2"},
        {{10, 0, 14393, 3}, L"Windows Server 2016"}, {{10, 0, 17763, 3}, L"Windows Server 2019"},
        {{10, 0, 20348, 2}, L"Windows Server 2022"}, {{10, 0, 26100, 3}, L"Windows Server 2025"},
    };
    window.Form_Load();
    for (const auto& [version, name] : cases) {
        system.trueVersion = version;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label2].caption, name) << version.major << "." << version.minor << "." << version.build;
    }
    system.trueVersionKnown = false;
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label2].caption, L"Windows Vista");
}

// Each file examined below its base folder: found with three version parts, or "Not found"
// and "N/A"; the skip marks as the tables set them.
TEST_F(WindowTest, FileListsAndTheirListViews) {
    versions.AddVersion(L"C:\\Program Files\\Common Files\\System\\Ole DB\\OLEDB32.DLL", 2, 81, 1117, 4);
    Load();
    window.BuildJetFileList();
    std::vector<std::size_t> skipped;
    for (std::size_t i = 0; i < window.MDACFileList.size(); ++i)
        if (window.MDACFileList[i].SkipRegister) skipped.push_back(i);
    EXPECT_EQ(skipped, (std::vector<std::size_t>{1, 8, 10, 12, 13, 15, 27}));
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(window.JetFileList[i].SkipRegister, i >= 3) << i;
    const auto& view = form[lvwMDACFiles];
    EXPECT_EQ(view.items[17], (std::vector<std::wstring>{L"OLEDB32.DLL", L"2.81.1117",
                                                         L"C:\\Program Files\\Common Files\\System\\Ole DB\\OLEDB32.DLL"}));
    EXPECT_EQ(view.items[0], (std::vector<std::wstring>{L"MSADO15.DLL", L"N/A", L"Not found"}));
    EXPECT_TRUE(form.messages.empty());

    // Sorted by a column's text without regard to case, kept when the page is filled again.
    window.OnEvent(lvwMDACFiles, ui::Event::ColumnClick, 1);
    window.ShowMDACPage();
    EXPECT_EQ(view.items[0][0], L"OLEDB32.DLL");
    EXPECT_GT(ui::CompareItemText(L"MSADC", L"ado"), 0);
    EXPECT_EQ(ui::CompareItemText(L"N/A", L"n/a"), 0);
}

TEST_F(WindowTest, CommonFilesNotSetIsToldBeforeAnyFileIsExamined) {
    folders.answers.clear();
    int examinedBefore = -1;
    form.onMessage = [&] { examinedBefore = versions.sizeCalls; };
    Load();
    EXPECT_EQ(form.messages, (std::vector<std::wstring>{Text(IDS_COMMON_FILES_NOT_SET) + L"|LumoraRepair"}));
    EXPECT_EQ(examinedBefore, 0);
    EXPECT_EQ(window.MDACFileList[0].FilePath, L"Not found");
}

}  // namespace
