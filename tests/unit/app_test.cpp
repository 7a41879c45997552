// The window's logic on fakes: start-up in both product forms, every page filled afresh by
// its tab, the file lists, links, the clipboard and the report, the re-register commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <sstream>
#include <tuple>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "fakes/fake_folders.h"
#include "fakes/fake_modules.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_system.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_ui.h"
#include "fakes/fake_versions.h"
#include "fakes/fake_workers.h"
#include "platform/text_ids.h"
#include "probes/modAPI.h"

namespace {

using namespace ctl;
using Strings = std::vector<std::wstring>;
const std::wstring kSys = L"C:\\WINDOWS\\system32", kCommon = L"C:\\Program Files\\Common Files";
const wchar_t kNoDir[] = L"Directory not available!";
std::deque<std::int32_t> outcomes;  // what the next DllRegisterServer calls return; then 0
std::int32_t LR_WINAPI Registers() {
    const std::int32_t result = outcomes.empty() ? 0 : outcomes.front();
    return outcomes.empty() ? 0 : (outcomes.pop_front(), result);
}

// Windows XP, the Common Files folder set, the product not installed.
class AppTest : public ::testing::Test {
protected:
    AppTest() {
        modAPI::ResetWindowsVersionCacheForTests();
        folders.SetPath(modAPI::kFolderCommonFiles, kCommon);
        outcomes.clear();
    }
    void Load(bool product = false) {
        if (product) registry.AddKey(os::kHKeyClassesRoot, L".lma");
        window.Form_Load();
    }
    void Pick(int tab) {  // the user picks a tab (from 1) and the strip tells the window
        form[TabStrip1].SelectTab(tab);
        window.OnEvent(TabStrip1, ui::Event::Click, 0);
    }
    std::wstring T(unsigned id) { return texts.Text(id); }
    void PutText(const wchar_t* section, const wchar_t* name, const std::string& text, std::uint32_t type = os::regtype::kSz) {
        registry.Put(os::kHKeyLocalMachine, section, name, type, {text.c_str(), text.c_str() + text.size() + 1});
    }
    // A file the pages find, and whose short form loads and registers.
    void Place(const std::wstring& path) {
        versions.AddVersion(path, 1, 0, 0, 0);
        system.shortPaths[path] = L"~" + app::GetFile(path);
        modules.files[L"~" + app::GetFile(path)][L"DllRegisterServer"] = &Registers;
    }
    Strings Loaded() {
        Strings loaded;
        for (const auto& line : modules.log)
            if (line.rfind(L"load ", 0) == 0) loaded.push_back(line.substr(5));
        return loaded;
    }

    fakes::FakeTexts texts;
    fakes::FakeSystem system;
    fakes::FakeRegistry registry;
    fakes::FakeVersions versions;
    fakes::FakeFolders folders;
    fakes::FakeShell shell;
    fakes::FakeModules modules;
    fakes::FakeWorkers workers{modules};
    os::Services services{texts, system, registry, versions, folders, shell, modules, workers};
    fakes::FakeForm form{app::Layout()};
    app::frmLumoraRepair window{services, form};
};

// Caption, advertising, tabs and buttons by product form; the MDAC page in front and filled;
// the list views' style added to what they have, their headers; the report in the system
// menu; the About text. Tahoma when the icon-title face begins with it (a control refusing
// it is passed over); icons on the re-register buttons from Windows XP on; the system
// directory; Esc.
TEST_F(AppTest, StartUp) {
    struct Case { bool product; const wchar_t* face; os::OsVersion version; bool tahoma, icons; };
    for (const Case& c : {Case{false, L"Tahoma Bold", {2, 5, 1, 0}, true, true}, Case{true, L"Tahom", {1, 4, 90, 0}, false, false},
                          Case{true, L"tahoma", {2, 5, 0, 0}, false, false}}) {
        SCOPED_TRACE(c.face);
        modAPI::ResetWindowsVersionCacheForTests();
        system.iconTitleFace = c.face, system.version = c.version, texts.german = c.product;
        if (c.product) registry.AddKey(os::kHKeyClassesRoot, L".lma");
        fakes::FakeForm f(app::Layout());
        f[TabStrip1].refusesFont = true;
        f[lvwJetFiles].extendedStyle = 0x1;  // a style of the toolkit's own
        app::frmLumoraRepair w(services, f);
        w.Form_Load();
        w.OnEvent(cmdAbout, ui::Event::Click, 0);
        const std::wstring about = L"\rVersion 1.1\r\rCopyright (C) 2026 Lumora Research GmbH";
        EXPECT_EQ(f.messages, Strings{(c.product ? T(100) + about : T(133) + about + L"\r\r\r" + T(134) + L"\r" + T(135)) +
                                      L"|" + T(IDS_ABOUT)});
        EXPECT_EQ(f.Caption(), T(c.product ? IDS_CAPTION_INSTALLED : IDS_CAPTION_NOT_INSTALLED));
        EXPECT_EQ(f[lblLumoraAd].visible + f[lblLumoraAdLink].visible, c.product ? 0 : 2);
        EXPECT_EQ(f[lblLumoraAd].caption + f[lblLumoraAdLink].caption, c.product ? L"" : T(IDS_AD_LINE) + T(IDS_AD_DOWNLOAD));
        Strings tabs{L"MDAC", L"JET", T(IDS_TAB_WINDOWS)};
        if (c.product) tabs.push_back(T(IDS_TAB_COMPONENTS));
        EXPECT_EQ(f[TabStrip1].tabs, tabs);
        EXPECT_EQ(f[cmdQuit].caption + f[cmdAbout].caption, T(IDS_EXIT) + T(IDS_ABOUT));
        EXPECT_TRUE(f[picMDAC].visible && !f[picJET].visible && !f[picWindows].visible);
        EXPECT_GT(f[picMDAC].z, f[picComponents].z);
        EXPECT_EQ(f[lvwMDACFiles].ItemCount(), 28);
        EXPECT_EQ(f[lvwMDACFiles].extendedStyle + f[lvwJetFiles].extendedStyle, 0x4020u + 0x4021u);
        for (const int id : {lvwMDACFiles, lvwJetFiles})
            EXPECT_EQ(f[id].columns, (Strings{T(IDS_COLUMN_FILE_NAME), T(IDS_COLUMN_FILE_VERSION), T(IDS_COLUMN_PATH)}));
        EXPECT_EQ(f.systemMenu, (std::vector<std::pair<int, std::wstring>>{{0x100, T(IDS_MENU_COPY_REPORT)}}));
        EXPECT_EQ(f[cmdQuit].fontName == L"Tahoma", c.tahoma);
        const std::pair<int, int> icon = c.icons ? std::pair{1, 1} : std::pair{-1, -1};
        EXPECT_TRUE(f[Command1].icon == icon && f[Command3].icon == icon && f[Command2].icon.first == -1);
    }
    Load();
    EXPECT_EQ(window.SystemDirectory, kSys);
    window.OnCancel();
    EXPECT_TRUE(form.unloaded);
}

// Every page by its tab: in front, the others hidden, cmdQuit focused, and filled afresh each
// time, its captions in the user's language (switched between the rounds) and its values.
TEST_F(AppTest, EveryPageFilledAfreshOnItsTab) {
    PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", "2.50.4403.12");
    PutText(L"Software\\Microsoft\\Internet Explorer", L"Version", "8.0.6001.18702");
    versions.AddVersion(kSys + L"\\msjet40.dll", 4, 0, 9511, 0);
    versions.AddVersion(kSys + L"\\MSVBVM60.DLL", 6, 0, 98, 2);
    versions.AddVersion(kSys + L"\\vbscript.DLL", 5, 6, 0, 880);
    versions.AddVersion(kSys + L"\\actbar2.ocx", 2, 5, 1, 7);
    versions.AddVersion(kSys + L"\\msxml.dll", 8, 0, 6, 3);
    folders.SetPath(modAPI::kFolderMyDocuments, L"C:\\Data");
    folders.SetPath(modAPI::kFolderAppData, L"C:\\AppData");  // set, but not on disk
    folders.SetPath(modAPI::kFolderCommonAppData, L"C:\\ProgramData");
    folders.existing = {L"C:\\Data\\", L"C:\\TEMP\\", L"C:\\ProgramData\\Microsoft\\HTML Help\\"};
    Load(true);
    struct Row { int tab, id; unsigned text; const wchar_t* value = nullptr; };  // a text id, or the value shown
    const Row rows[] = {
        {1, Label7, IDS_MDAC_INSTALLED_VERSION}, {1, Label8, 0, L"2.50.4403.12"}, {1, Label19, IDS_MDAC_AVAILABLE_VERSION},
        {1, Label22, IDS_MDAC_FILES}, {1, Command1, IDS_REREGISTER_MDAC}, {1, Label20, IDS_MDAC_AVAILABLE_VERSION},
        {2, Label25, IDS_JET_INSTALLED_VERSION}, {2, Label23, IDS_JET_AVAILABLE_VERSION}, {2, Label24, 0, L"4.0.9511"},
        {2, Label9, IDS_JET_FILES}, {2, Command3, IDS_REREGISTER_JET}, {3, Frame1, IDS_WINDOWS_SETTINGS_FRAME},
        {3, Label1, IDS_WINDOWS_VERSION}, {3, Label2, 0, L"Windows XP"}, {3, Label3, IDS_USER_LANGUAGE}, {3, Label4, 0, L"1031"},
        {3, Label6, IDS_ANSI_CODE_PAGE}, {3, Label5, 0, L"1252"}, {3, Label14, IDS_IE_VERSION}, {3, Label13, 0, L"8.0.6001.18702"},
        {3, Frame2, IDS_SYSTEM_FOLDERS_FRAME}, {3, Label28, IDS_MY_DOCUMENTS}, {3, Label29, 0, L"C:\\Data\\"},
        {3, Label31, IDS_APPLICATION_DATA}, {3, Label30, 0, kNoDir}, {3, Label33, IDS_TEMPORARY_FILES}, {3, Label32, 0, L"C:\\TEMP\\"},
        {3, Label26, IDS_HTML_HELP_DIRECTORY}, {3, Label27, 0, L"C:\\ProgramData\\Microsoft\\HTML Help\\"},
        {4, Frame3, IDS_OTHER_COMPONENTS_FRAME}, {4, Label18, IDS_VB6_RUNTIME}, {4, Label17, 0, L"6.0.98"},
        {4, Label15, IDS_VBSCRIPT_VERSION}, {4, Label16, 0, L"5.6.0 (Build 880)"}, {4, Label34, 0, L"2.5.1 (Build 7)"},
        {4, Label36, IDS_NOT_AVAILABLE}, {4, Label38, 0, L"8.0.6"}, {4, Command2, IDS_REREGISTER_COMPONENTS},
    };
    const int pages[] = {picMDAC, picJET, picWindows, picComponents};
    for (const bool german : {false, true}) {
        texts.german = german;
        for (const int tab : {2, 3, 4, 1}) {
            form.focus = 0;
            const int reads = versions.sizeCalls;
            Pick(tab);
            EXPECT_EQ(versions.sizeCalls - reads, (std::vector{28, 6, 0, 5}[tab - 1])) << "each file read once";
            for (const int page : pages) EXPECT_EQ(form[page].visible, page == pages[tab - 1]) << tab;
            for (const int page : pages) EXPECT_TRUE(page == pages[tab - 1] || form[page].z < form[pages[tab - 1]].z) << tab;
            EXPECT_EQ(form.focus, cmdQuit);
            for (const Row& r : rows)
                EXPECT_TRUE(r.tab != tab || form[r.id].caption == (r.value ? r.value : T(r.text))) << form[r.id].design.name;
        }
    }
    // A mouse press raises the switch twice, by the click and by the timer: only one acts.
    window.OnEvent(TabStrip1, ui::Event::MouseDown, 0);
    EXPECT_TRUE(form[TabTimer].enabled);
    Pick(3);
    form[Label1].caption.clear();
    window.OnEvent(TabTimer, ui::Event::Timer, 0);
    EXPECT_FALSE(form[TabTimer].enabled);
    EXPECT_EQ(form[Label1].caption, L"");
}

// The installed MDAC version against the available 2.80.1022.3, dotted numbers part by
// part, compared as shown (blanks around it and a multi-string's second NUL do not count):
// only a newer one hides the row, and once hidden it stays hidden.
TEST_F(AppTest, MdacRowHiddenOnlyByANewerVersion) {
    for (const auto& [installed, shown, type] :
         {std::tuple{"2.80.1022.3", true, os::regtype::kSz}, std::tuple{"2.8", true, os::regtype::kSz},
          std::tuple{"2.71.9030.0", true, os::regtype::kSz}, std::tuple{"", true, os::regtype::kSz},
          std::tuple{" 2.80.1022.3 ", true, os::regtype::kSz}, std::tuple{"2.80.1022.3", true, os::regtype::kMultiSz},
          std::tuple{"10.0.19041.1", false, os::regtype::kSz}, std::tuple{"2.50", false, os::regtype::kSz}}) {
        // A multi-string ends in two NULs.
        PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", type == os::regtype::kSz ? installed : installed + std::string(1, '\0'), type);
        window.ShowMDACPage();
        EXPECT_EQ(form[Label19].visible && form[Label21].visible, shown) << installed;
    }
}

// Up to 2003 by the version code; code 8 (every system since Vista) by its true version,
// "Windows Vista" when that cannot be asked; anything else text 102. A temporary folder
// that fails or is cut off shows as missing, never as the last value.
TEST_F(AppTest, WindowsNamesAndTheTemporaryFolder) {
    struct Case { std::int32_t code; os::TrueOsVersion truth; const wchar_t* name; };
    const Case cases[] = {
        {7, {}, L"Windows Server 2003"}, {0, {}, L"en 102"}, {8, {}, L"Windows Vista"}, {8, {6, 0, 6002, 1}, L"Windows Vista"},
        {8, {6, 1, 7601, 1}, L"Windows 7"}, {8, {6, 2, 9200, 1}, L"Windows 8"}, {8, {6, 3, 9600, 1}, L"Windows 8.1"},
        {8, {10, 0, 19045, 1}, L"Windows 10"}, {8, {10, 0, 22000, 1}, L"Windows 11"}, {8, {6, 0, 6002, 3}, L"Windows Server 2008"},
        {8, {6, 1, 7601, 2}, L"Windows Server 2008 R2"}, {8, {6, 2, 9200, 3}, L"Windows Server 2012"},
        {8, {6, 3, 9600, 3}, L"Windows Server 2012 R2"}, {8, {10, 0, 14393, 3}, L"Windows Server 2016"},
        {8, {10, 0, 17763, 3}, L"Windows Server 2019"}, {8, {10, 0, 20348, 2}, L"Windows Server 2022"},
        {8, {10, 0, 26100, 3}, L"Windows Server 2025"},
    };
    folders.existing = {L"C:\\TEMP\\"};
    for (const Case& c : cases) {
        window.WindowsVersion = c.code, system.trueVersion = c.truth;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label2].caption, c.name) << c.truth.major << "." << c.truth.minor << "." << c.truth.build;
    }
    for (const std::uint32_t length : {8u, 0u, 8u, 512u}) {
        system.tempPathLength = length;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label32].caption, length == 8 ? L"C:\\TEMP\\" : kNoDir) << length;
    }
}

// Each file examined below its base folder: found with three version parts, or "Not found"
// and "N/A"; the skip marks as the tables set them; ordered by the column clicked, refills too.
// Without the Common Files folder the user is told, and the files are looked for below nothing.
TEST_F(AppTest, FileLists) {
    versions.AddVersion(kCommon + L"\\System\\Ole DB\\OLEDB32.DLL", 2, 81, 1117, 4);
    Load();
    window.BuildJetFileList();
    window.BuildComponentFileList();
    std::wstring skips;
    for (const auto* list : {&window.MDACFileList, &window.JetFileList, &window.ComponentFileList})
        for (const auto& entry : *list) skips += entry.SkipRegister ? L'x' : L'-';
    EXPECT_EQ(skips, L"-x------x-x-xx-x-----------x" L"---xxx" L"---");
    const auto& view = form[lvwMDACFiles];
    EXPECT_EQ(view.items[17], (Strings{L"OLEDB32.DLL", L"2.81.1117", kCommon + L"\\System\\Ole DB\\OLEDB32.DLL"}));
    EXPECT_EQ(view.items[0], (Strings{L"MSADO15.DLL", L"N/A", L"Not found"}));
    EXPECT_TRUE(form.messages.empty());
    EXPECT_EQ(app::GetFile(L"C:\\a/b\\c/d.dll") + L"|" + app::GetFile(L"d.dll"), L"c/d.dll|d.dll");

    window.OnEvent(lvwMDACFiles, ui::Event::ColumnClick, 1);  // by version
    EXPECT_EQ(view.items[0][0], L"OLEDB32.DLL");
    versions.AddVersion(kCommon + L"\\System\\ado\\MSADO15.DLL", 2, 0, 0, 0);
    window.ShowMDACPage();
    EXPECT_EQ(view.items[0][0] + L" " + view.items[1][0], L"MSADO15.DLL OLEDB32.DLL");
    EXPECT_GT(ui::CompareItemText(L"MSADC", L"ado"), 0);
    EXPECT_EQ(ui::CompareItemText(L"N/A", L"n/a"), 0);

    folders.answers.clear();  // Common Files not set: told before any file is examined
    int examinedBefore = -1;
    form.onMessage = [&] { examinedBefore = versions.sizeCalls; };
    const int reads = versions.sizeCalls;
    window.BuildMDACFileList();
    EXPECT_EQ(form.messages, Strings{T(IDS_COMMON_FILES_NOT_SET) + L"|LumoraRepair"});
    EXPECT_EQ(examinedBefore, reads);
    EXPECT_EQ(window.MDACFileList[17].FilePath, L"Not found");
}

// Hovering underlines one link at a time, the surfaces take it off, a click too; the
// advertising link is underlined as laid out and keeps it.
TEST_F(AppTest, HoverUnderlinesOneLinkAtATime) {
    Load();
    using E = ui::Event;
    const std::tuple<int, ui::Event, const char*> steps[] = {  // underlined after: Label19, Label23, the advertising link
        {Label19, E::MouseMove, "101"}, {picMDAC, E::MouseMove, "001"}, {Label19, E::MouseMove, "101"},
        {Label19, E::Click, "001"}, {Label19, E::MouseMove, "101"}, {Label23, E::MouseMove, "011"},
        {lblLumoraAdLink, E::MouseMove, "001"}, {Label23, E::MouseMove, "011"}, {Form, E::MouseMove, "001"},
        {lblLumoraAdLink, E::Click, "001"}, {Label23, E::MouseMove, "011"}, {picJET, E::MouseMove, "001"},
        {Label23, E::MouseMove, "011"}, {Label23, E::Click, "001"}};
    for (const auto& [id, event, underlined] : steps) {
        window.OnEvent(id, event, 0);
        std::string now;
        for (const int link : {Label19, Label23, lblLumoraAdLink}) now += form[link].underline ? '1' : '0';
        EXPECT_EQ(now, underlined) << form[id].design.name;
    }
}

// A click notes the address and starts the timer; the browser gets it from the timer, never
// inside the click (which lets messages run), in the user's language at the click.
TEST_F(AppTest, LinksOpenFromTheTimer) {
    Load();
    std::size_t opened = 0;
    form.onDoEvents = [&] { EXPECT_EQ(shell.opened.size(), opened) << "opened inside the click"; };
    for (const bool german : {false, true}) {
        texts.german = german;
        for (const int link : {Label19, Label23, lblLumoraAdLink}) {
            window.OnEvent(link, ui::Event::Click, 0);
            EXPECT_TRUE(form[ShellExecuteTimer].enabled);
            window.OnEvent(ShellExecuteTimer, ui::Event::Timer, 0);
            EXPECT_FALSE(form[ShellExecuteTimer].enabled);
            opened = shell.opened.size();
        }
    }
    EXPECT_EQ(shell.opened, (Strings{L"en 117", L"en 118", L"http://www.lumora.com", L"de 117", L"de 118", L"http://www.lumora.com"}));
}

Strings Lines(const std::wstring& text) {
    Strings lines;
    std::wstringstream in(text);
    for (std::wstring line; std::getline(in, line);) {
        EXPECT_EQ(line.back(), L'\r') << "lines end in CR LF";
        lines.push_back(line.substr(0, line.size() - 1));
    }
    return lines;
}

// Ctrl+C copies the selected rows under the headers (nothing when none is selected), Ctrl+A
// selects every row, the context menu offers the three, the system menu the report; a
// clipboard that cannot be had is said.
TEST_F(AppTest, CopySelectAllAndTheMenus) {
    versions.AddVersion(kSys + L"\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.ShowJetPage();
    window.OnEvent(lvwJetFiles, ui::Event::Copy, 0);
    EXPECT_EQ(form.clipboard, L"");
    form[lvwJetFiles].selected = {2, 0};
    window.OnEvent(lvwJetFiles, ui::Event::Copy, 0);
    EXPECT_EQ(form.clipboard, L"en 137\ten 138\ten 139\r\nmsjet40.dll\t4.0.8618\t" + kSys + L"\\msjet40.dll\r\n"
                              L"msjetoledb40.dll\tN/A\tNot found\r\n");
    window.OnEvent(lvwMDACFiles, ui::Event::SelectAll, 0);
    window.OnEvent(lvwMDACFiles, ui::Event::Copy, 0);
    EXPECT_EQ(Lines(form.clipboard).size(), 29u);
    form.menuChoice = 1;
    window.OnEvent(lvwJetFiles, ui::Event::ContextMenu, 0);
    EXPECT_EQ(form[lvwJetFiles].selected.size(), 6u);
    form.menuChoice = 2;
    window.OnEvent(lvwJetFiles, ui::Event::ContextMenu, 0);
    EXPECT_EQ(form.menus.back(), (Strings{L"en 200", L"en 201", L"en 202"}));
    EXPECT_EQ(Lines(form.clipboard).at(0), L"LumoraRepair 1.10.0.48");
    form.clipboardFails = true;
    window.OnEvent(Form, ui::Event::SystemMenu, 0x100);
    EXPECT_EQ(form.messages, Strings{L"en 204|LumoraRepair"});
}

// Every page the window has, in tab order, filled afresh, with its file list; the page on
// view stays.
TEST_F(AppTest, ReportHoldsEveryPageInTabOrderWithoutSwitchingThePage) {
    for (const bool installed : {true, false}) {
        if (installed) registry.AddKey(os::kHKeyClassesRoot, L".lma");
        else registry.DeleteKey(os::kHKeyClassesRoot, L".lma");
        PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", "2.81.1117.0");
        versions.AddVersion(kSys + L"\\MSVBVM60.DLL", 6, 0, 98, 2);
        texts.german = !installed;
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair w(services, f);
        w.Form_Load();
        w.CopyReport();
        const auto lines = Lines(f.clipboard);
        const auto at = [&lines](const std::wstring& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
        const std::wstring l = installed ? L"en " : L"de ";
        EXPECT_EQ(lines.at(1), l + L"203 07.12.2026 06:30");
        EXPECT_LT(at(L"[MDAC]"), at(L"[JET]"));
        EXPECT_LT(at(L"[JET]"), at(L"[" + l + L"130]"));
        EXPECT_EQ(at(l + L"107 2.81.1117.0"), at(L"[MDAC]") + 1);
        EXPECT_EQ(lines.at(at(L"[MDAC]") + 2), l + L"120") << "the hidden available-version row is left out";
        EXPECT_EQ(lines.at(at(L"[MDAC]") + 4), L"MSADO15.DLL\tN/A\tNot found");
        EXPECT_EQ(lines.at(at(L"[JET]") + 2), l + L"122 4.0.8618");
        EXPECT_EQ(lines.at(at(L"[JET]") + 5), L"msjet40.dll\tN/A\tNot found");
        EXPECT_LT(at(l + L"101 Windows XP"), at(l + L"124"));
        EXPECT_EQ(at(l + L"113 6.0.98") < static_cast<long>(lines.size()), installed);
        EXPECT_TRUE(f[picMDAC].visible && !f[picJET].visible && !f[picWindows].visible);
    }
}

// Each command over its page's files, in order, skip marks kept, each by its short path (a
// found file without one by its full path): its button and link away, the hourglass, each
// name shown while its file registers, the bar up to the list's length; then the page
// restored. The MDAC and components lists are read at the click, the Jet list is the page's.
TEST_F(AppTest, EachCommandRegistersItsFilesAndRestoresItsPage) {
    struct Command { int button, bar, name, link; std::wstring base; const app::FileListRow* rows; int count; };
    const Command commands[] = {{Command1, ProgressBar1, Label11, Label19, kCommon, app::kMDACFiles, 28},
                                {Command3, ProgressBar3, 0, 0, kSys, app::kJetFiles, 6},
                                {Command2, ProgressBar2, Label12, Label20, kSys, app::kComponentFiles, 3}};
    for (const Command& c : commands)
        for (int i = 0; i < c.count; ++i) Place(c.base + c.rows[i].suffix);
    system.shortPaths.erase(kSys + L"\\gridex20.ocx");
    modules.files[kSys + L"\\gridex20.ocx"][L"DllRegisterServer"] = &Registers;
    Load(true);
    window.ShowJetPage();
    versions.files.erase(kCommon + app::kMDACFiles[2].suffix);  // gone since the pages were shown
    versions.files.erase(kSys + app::kJetFiles[1].suffix);
    for (const Command& c : commands) {
        SCOPED_TRACE(form[c.button].design.name);
        modules.log.clear();
        form.refreshes = form.focus = 0;
        Strings names, expected;
        form.onDoEvents = [&] {
            EXPECT_FALSE(form[c.button].visible || (c.link && form[c.link].visible));
            EXPECT_EQ(form.pointer, ui::Pointer::Hourglass);
            if (form[c.bar].progressValue == 0) return;
            EXPECT_EQ(form[c.bar].visible, c.button != Command2) << "the components' bar is never shown";
            names.push_back(c.name ? form[c.name].caption : L"");
        };
        window.OnEvent(c.button, ui::Event::Click, 0);
        for (int i = 0; i < c.count; ++i) {
            const std::wstring name = app::GetFile(c.rows[i].suffix);
            if (c.rows[i].skipRegister || (c.button == Command1 && i == 2)) continue;
            expected.push_back(name == L"gridex20.ocx" ? kSys + L"\\" + name : L"~" + name);
        }
        EXPECT_EQ(Loaded(), expected);
        ASSERT_EQ(names.size(), static_cast<std::size_t>(c.count));
        if (c.name) {
            EXPECT_EQ(names[0] + L" " + names[2], app::GetFile(c.rows[0].suffix) + (c.count > 3 ? L" Not found" : L" gridex20.ocx"));
        }
        EXPECT_EQ(form.refreshes, (c.button == Command1) + (c.name ? c.count : 0));
        EXPECT_EQ(form[c.bar].progressMax * 100 + form[c.bar].progressValue, c.count * 101);
        EXPECT_FALSE(form[c.bar].visible);
        EXPECT_TRUE(form[c.button].visible && (!c.link || form[c.link].visible));
        EXPECT_EQ(c.name ? form[c.name].caption : L"", L"");
        EXPECT_EQ(form.pointer, ui::Pointer::Default);
        EXPECT_EQ(form.focus, c.button == Command2 ? 0 : cmdQuit);
        EXPECT_TRUE(form.warnings.empty());
    }
    form[Label19].visible = false;  // a link hidden before the run stays hidden after it
    form.onDoEvents = nullptr;
    window.Command1_Click();
    EXPECT_FALSE(form[Label19].visible);
}

// The files that failed named once, after the run, with the code and the reason (the
// administrator's note for access denied); a nested run keeps the hourglass of the outer
// one; closing stops the run after the entry at hand, and no message holds it up.
TEST_F(AppTest, FailuresAreNamedOnceAfterTheRunAndClosingStopsIt) {
    for (const auto& row : app::kJetFiles) Place(kSys + row.suffix);
    Load();
    window.ShowJetPage();
    modules.files[L"~msjtes40.dll"] = {};                  // no entry point
    modules.files.erase(L"~msjetoledb40.dll");             // listed, but no longer loads
    outcomes = {static_cast<std::int32_t>(0x80070005u)};   // access denied
    window.Command3_Click();
    const std::wstring head = L"en 210\r\n\r\n" + kSys;
    EXPECT_EQ(form.warnings, Strings{head + L"\\msjet40.dll\r\n    0x80070005  text of -2147024891 for msjet40.dll\r\n\r\n" + kSys +
                                     L"\\msjtes40.dll\r\n    0x8007007F  en 212\r\n\r\n" + kSys +
                                     L"\\msjetoledb40.dll\r\n    0x80070002  text of -2147024894 for msjetoledb40.dll\r\n\r\nen 211|LumoraRepair"});
    Place(kSys + L"\\msjtes40.dll");
    Place(kSys + L"\\msjetoledb40.dll");
    outcomes = {static_cast<std::int32_t>(0x8002801Cu)};  // the type library's registry access
    bool nested = false;
    form.onDoEvents = [&] {
        if (std::exchange(nested, true)) return;
        window.Command2_Click();
        EXPECT_EQ(form.pointer, ui::Pointer::Hourglass);
    };
    window.Command3_Click();
    EXPECT_EQ(form.warnings.back(), head + L"\\msjet40.dll\r\n    0x8002801C  text of -2147319780 for msjet40.dll\r\n\r\nen 211|LumoraRepair");

    form.warnings.clear(), modules.log.clear();
    outcomes = {static_cast<std::int32_t>(0x80004005u), static_cast<std::int32_t>(0x80004005u)};
    int pumped = 0;
    form.onDoEvents = [&] {
        if (++pumped == 2) form.Unload();  // the first comes before any entry
    };
    window.Command3_Click();
    EXPECT_EQ(Loaded(), Strings{L"~msjet40.dll"});
    EXPECT_TRUE(form[Command3].visible && !form[ProgressBar3].visible);
    EXPECT_EQ(form.pointer, ui::Pointer::Default);
    EXPECT_TRUE(form.warnings.empty());
}

// The re-register commands' calls in workers, on made-up workers and clock: what a component
// does to its worker is named and the run goes on with a fresh worker; a call has a minute,
// and while a window of its own is up, and a minute again after; closing the window ends the
// worker at once; without workers the calls run in the window's process.
using os::CallEnd;
using WorkerRunsTest = AppTest;
std::int32_t LR_WINAPI Denied() { return static_cast<std::int32_t>(0x80070005u); }

TEST_F(WorkerRunsTest, WhatAComponentDoesToItsWorkerIsNamedAndTheRunGoesOn) {
    const std::wstring sys = L"C:\\WINDOWS\\system32";
    for (const auto& row : app::kJetFiles) {  // three of them register
        versions.AddVersion(sys + row.suffix, 1, 0, 0, 0);
        system.shortPaths[sys + row.suffix] = L"~" + app::GetFile(row.suffix);
        modules.files[L"~" + app::GetFile(row.suffix)][L"DllRegisterServer"] = &Registers;
    }
    Load();
    window.ShowJetPage();
    const std::vector<std::wstring> one = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll",
                                           L"send ~msjetoledb40.dll", L"closed"};
    std::vector<std::wstring> fresh = one, killed = one, closed = one;
    fresh.insert(fresh.begin() + 3, {L"closed", L"start"});
    killed.insert(killed.begin() + 3, {L"killed", L"start"});
    closed.resize(3), closed.push_back(L"killed");
    const std::int32_t crash = static_cast<std::int32_t>(0xC0000005u);
    const std::uint32_t never = fakes::FakeWorkers::kNever;
    const std::wstring denied = L"0x80070005  text of -2147024891 for msjtes40.dll\r\n\r\nen 211";
    struct Case {
        fakes::FakeWorkers::Script script;
        bool denied, noWorker;
        std::uint32_t closeAt, endsAt;
        std::wstring warning;  // what is said of msjtes40.dll
        const std::vector<std::wstring>& workers;
    } const cases[] = {
        {{CallEnd::Crashed, crash, 5}, false, false, 0, 5, L"0xC0000005  en 213", fresh},
        {{CallEnd::Exited, 7, 5}, false, false, 0, 5, L"0x00000007  en 214", fresh},
        {{CallEnd::Returned, 0, 59000}, false, false, 0, 59000, L"", one},
        {{CallEnd::Returned, 0, never}, false, false, 0, 60000, L"en 215", killed},
        {{CallEnd::Returned, 0, 170000, 120000}, false, false, 0, 170000, L"", one},  // asks the user until 120 s
        {{CallEnd::Returned, 0, never, 120000}, false, false, 0, 180000, L"en 215", killed},
        {{CallEnd::Returned, 0, never}, false, false, 5000, 5000, L"", closed},
        {{}, true, false, 0, 0, denied, one},
        {{CallEnd::Crashed, crash, 5}, true, true, 0, 0, denied, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        modules.log.clear(), workers.log.clear(), form.warnings.clear(), form.unloaded = false;
        workers.now = 0;
        workers.scripts = {{L"~msjtes40.dll", c.script}};
        workers.startFails = c.noWorker;
        modules.files[L"~msjtes40.dll"][L"DllRegisterServer"] = c.denied ? &Denied : &Registers;
        form.onDoEvents = [&] { form.unloaded = form.unloaded || (c.closeAt && workers.now == c.closeAt); };
        window.Command3_Click();
        const std::wstring named = L"en 210\r\n\r\n" + sys + L"\\msjtes40.dll\r\n    " + c.warning + L"|LumoraRepair";
        EXPECT_EQ(form.warnings, c.warning.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{named});
        EXPECT_EQ(workers.log, c.workers);
        EXPECT_EQ(workers.now, c.endsAt);
        // The others registered once, in order, whatever the middle one did.
        std::vector<std::wstring> loads;
        for (const auto& line : modules.log)
            if (line.rfind(L"load ~msjet", 0) == 0) loads.push_back(line);
        std::vector<std::wstring> others = {L"load ~msjet40.dll", L"load ~msjetoledb40.dll"};
        if (c.closeAt) others.pop_back();
        EXPECT_EQ(loads, others);
        EXPECT_TRUE(form[ctl::Command3].visible);
    }
}

}  // namespace
