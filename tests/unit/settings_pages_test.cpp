// The Windows settings page and the Other components page.
#include "unit/window_fixture.h"

#include "platform/text_ids.h"

namespace {

using namespace ctl;
const wchar_t kNoDirectory[] = L"Directory not available!";

class SettingsPageTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        folders.SetPath(modAPI::kFolderMyDocuments, L"C:\\Data");
        folders.SetPath(modAPI::kFolderAppData, L"C:\\Users\\u\\AppData\\Roaming");
        folders.SetPath(modAPI::kFolderCommonAppData, L"C:\\ProgramData");
        folders.existing = {L"C:\\Data\\", L"C:\\Users\\u\\AppData\\Roaming\\", L"C:\\TEMP\\",
                            L"C:\\ProgramData\\Microsoft\\HTML Help\\"};
    }
};

TEST_F(SettingsPageTest, ShowsVersionLanguageCodePageExplorerAndFolders) {
    texts.language = fakes::FakeTexts::German;
    system.langId = 1031;
    registry.PutText(os::kHKeyLocalMachine, L"Software\\Microsoft\\Internet Explorer", L"Version", 1,
                     std::string("8.0.6001.18702", 15));
    Load();
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label1].caption, German(IDS_WINDOWS_VERSION));
    EXPECT_EQ(form[Label2].caption, L"Windows XP");
    EXPECT_EQ(form[Label3].caption, German(IDS_USER_LANGUAGE));
    EXPECT_EQ(form[Label4].caption, L"1031");
    EXPECT_EQ(form[Label6].caption, German(IDS_ANSI_CODE_PAGE));
    EXPECT_EQ(form[Label5].caption, L"1252");
    EXPECT_EQ(form[Frame1].caption, L"Windows-Informationen");
    EXPECT_EQ(form[Label14].caption, German(IDS_IE_VERSION));
    EXPECT_EQ(form[Label13].caption, L"8.0.6001.18702");
    EXPECT_EQ(form[Frame2].caption, L"Einstellungen f\u00fcr Systemordner");
    EXPECT_EQ(form[Label28].caption, L"Eigene Dateien:");
    EXPECT_EQ(form[Label29].caption, L"C:\\Data\\");
    EXPECT_EQ(form[Label31].caption, L"Anwendungsdaten:");
    EXPECT_EQ(form[Label30].caption, L"C:\\Users\\u\\AppData\\Roaming\\");
    EXPECT_EQ(form[Label33].caption, L"Tempor\u00e4re Dateien:");
    EXPECT_EQ(form[Label32].caption, L"C:\\TEMP\\");
    EXPECT_EQ(form[Label26].caption, German(IDS_HTML_HELP_DIRECTORY));
    EXPECT_EQ(form[Label27].caption, L"C:\\ProgramData\\Microsoft\\HTML Help\\");
}

TEST_F(SettingsPageTest, EveryWindowsNameAndNotAvailableForAnUnknownSystem) {
    const std::pair<os::OsVersion, const wchar_t*> cases[] = {
        {{1, 4, 0, 0}, L"Windows 95"},   {{1, 4, 10, 0}, L"Windows 98"},         {{2, 4, 0, 0}, L"Windows NT 4.0"},
        {{2, 5, 0, 0}, L"Windows 2000"}, {{1, 4, 90, 0}, L"Windows Me"},         {{2, 5, 1, 0}, L"Windows XP"},
        {{2, 5, 2, 0}, L"Windows Server 2003"}, {{2, 6, 1, 0}, L"Windows Vista"}, {{2, 10, 0, 0}, L"Not available"},
    };
    for (const auto& [version, name] : cases) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = version;
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair w(services, f);
        w.Form_Load();
        w.ShowWindowsPage();
        EXPECT_EQ(f[Label2].caption, name);
    }
    texts.language = fakes::FakeTexts::German;
    window.Form_Load();
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label2].caption, L"Nicht vorhanden");
}

// Code 8 covers every system since Vista; the true version names it.
TEST_F(SettingsPageTest, SystemsSinceVistaAreNamedByTheirTrueVersion) {
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

TEST_F(SettingsPageTest, MissingFoldersAndExplorerValue) {
    folders.answers.erase(modAPI::kFolderMyDocuments);            // lookup fails
    folders.existing.erase(L"C:\\ProgramData\\Microsoft\\HTML Help\\");  // no HTML Help below it
    folders.existing.erase(L"C:\\Users\\u\\AppData\\Roaming\\");   // set but not on disk
    Load();
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label29].caption, kNoDirectory);
    EXPECT_EQ(form[Label30].caption, kNoDirectory);
    EXPECT_EQ(form[Label27].caption, kNoDirectory);
    EXPECT_EQ(form[Label13].caption, L"");
    EXPECT_EQ(form[Label32].caption, L"C:\\TEMP\\");
}

TEST_F(SettingsPageTest, TemporaryRowNeverShowsAStaleValue) {
    Load();
    struct Case {
        std::uint32_t length;
        std::wstring path;
    };
    // Failure, an answer too long for the buffer, an empty text.
    const Case cases[] = {{0, L"C:\\TEMP\\"}, {512, L"C:\\TEMP\\"}, {600, L"C:\\TEMP\\"}, {3, L""}};
    for (const Case& c : cases) {
        system.tempPathLength = 8;
        system.tempPath = L"C:\\TEMP\\";
        window.ShowWindowsPage();
        ASSERT_EQ(form[Label32].caption, L"C:\\TEMP\\");
        system.tempPathLength = c.length;
        system.tempPath = c.path;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label32].caption, kNoDirectory) << c.length;
    }
    system.tempPathLength = 9;
    system.tempPath = L"C:\\OTHER\\";
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label32].caption, kNoDirectory);  // not on disk
}

TEST_F(SettingsPageTest, FolderCreatedBetweenTwoShowingsAppears) {
    folders.existing.erase(L"C:\\Data\\");
    Load();
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label29].caption, kNoDirectory);
    folders.existing.insert(L"C:\\Data\\");
    window.ShowWindowsPage();
    EXPECT_EQ(form[Label29].caption, L"C:\\Data\\");
}

TEST_F(WindowTest, ComponentsPageShowsFiveVersionsWithTheirBuildParts) {
    const std::wstring dir = L"C:\\WINDOWS\\system32";
    versions.AddVersion(dir + L"\\MSVBVM60.DLL", 6, 0, 98, 2);
    versions.AddVersion(dir + L"\\vbscript.DLL", 5, 6, 0, 880);
    versions.AddVersion(dir + L"\\actbar2.ocx", 2, 5, 0, 120);
    versions.AddVersion(dir + L"\\msxml.dll", 8, 100, 1052, 0);
    MarkProductInstalled();
    Load();
    window.ShowComponentsPage();
    EXPECT_EQ(form[Frame3].caption, English(IDS_OTHER_COMPONENTS_FRAME));
    EXPECT_EQ(form[Command2].caption, L"Re-register Components");
    EXPECT_FALSE(form[Command2].visible);
    EXPECT_EQ(form[Label18].caption, L"Visual Basic 6 Runtime:");
    EXPECT_EQ(form[Label17].caption, L"6.0.98");
    EXPECT_EQ(form[Label15].caption, L"VB Script Version:");
    EXPECT_EQ(form[Label16].caption, L"5.6.0 (Build 880)");
    EXPECT_EQ(form[Label34].caption, L"2.5.0 (Build 120)");
    EXPECT_EQ(form[Label36].caption, L"Not available");
    EXPECT_EQ(form[Label38].caption, L"8.100.1052");
    EXPECT_EQ(form[Label35].caption, L"ActiveBar2:");
    EXPECT_EQ(form[Label37].caption, L"GridEx20:");
    EXPECT_EQ(form[Label39].caption, L"Microsoft XML-Bibliothek:");

    texts.language = fakes::FakeTexts::German;
    versions.AddVersion(dir + L"\\gridex20.ocx", 2, 0, 0, 1);
    window.ShowComponentsPage();
    EXPECT_EQ(form[Label36].caption, L"2.0.0 (Build 1)");
    EXPECT_EQ(form[Label18].caption, L"Visual Basic 6-Runtime:");
    EXPECT_EQ(form[Label39].caption, L"Microsoft XML-Bibliothek:");
    versions.files.erase(dir + L"\\msxml.dll");
    window.ShowComponentsPage();
    EXPECT_EQ(form[Label38].caption, L"Nicht vorhanden");
}

}  // namespace
