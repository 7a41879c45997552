// The window's logic on fakes: start-up in both product forms, every page filled afresh by
// its tab, the file lists, links, the clipboard and the report, the re-register commands.
#include <gtest/gtest.h>

#include <deque>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/command_line.h"
#include "fakes/fake_folders.h"
#include "fakes/fake_output.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_system.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_ui.h"
#include "fakes/fake_versions.h"
#include "fakes/fake_workers.h"
#include "platform/text_ids.h"
#include "probes/modAPI.h"
#include "platform/ui.h"

namespace {

using namespace ctl;
using Strings = std::vector<std::wstring>;
using E = ui::Event;
const std::wstring kSys = L"C:\\WINDOWS\\system32", kCommon = L"C:\\Program Files\\Common Files";
const wchar_t kNoDir[] = L"Directory not available!";
constexpr std::int32_t kDenied = static_cast<std::int32_t>(0x80070005u);
std::deque<std::int32_t> outcomes;  // what the next DllRegisterServer calls return; then 0
std::int32_t LR_WINAPI Registers() {
    if (outcomes.empty()) return 0;
    const std::int32_t result = outcomes.front();
    outcomes.pop_front();
    return result;
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
        window.OnEvent(TabStrip1, E::Click, 0);
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

// Both product forms, each in its own language: caption, advertising, tabs and buttons; the
// MDAC page in front and filled; the list views' style added to what they have, their
// headers; the About text; Esc. Tahoma when the icon-title face begins with it (a control
// refusing it is passed over); icons on the re-register buttons from Windows XP on. The report
// in the system menu: every page in tab order, filled afresh, without the rows a page hid, with
// its file list.
TEST_F(AppTest, StartUpAndTheReport) {
    PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", "2.81.1117.0");
    versions.AddVersion(kSys + L"\\MSVBVM60.DLL", 6, 0, 98, 2);
    for (const bool product : {false, true}) {
        SCOPED_TRACE(product);
        modAPI::ResetWindowsVersionCacheForTests();
        system.iconTitleFace = product ? L"Tahom" : L"Tahoma Bold", texts.german = product;
        system.version = product ? os::OsVersion{1, 4, 90, 0} : os::OsVersion{2, 5, 1, 0};
        if (product) registry.AddKey(os::kHKeyClassesRoot, L".lma");
        fakes::FakeForm f(app::Layout());
        f[TabStrip1].refusesFont = true;
        f[lvwJetFiles].extendedStyle = 0x1;  // a style of the toolkit's own
        app::frmLumoraRepair w(services, f);
        w.Form_Load();
        w.OnEvent(cmdAbout, E::Click, 0);
        const std::wstring about = L"\rVersion 1.1\r\rCopyright (C) 2026 Lumora Research GmbH", l = product ? L"de " : L"en ";
        EXPECT_EQ(f.messages, Strings{(product ? T(100) + about : T(133) + about + L"\r\r\r" + T(134) + L"\r" + T(135)) +
                                      L"|" + T(IDS_ABOUT)});
        EXPECT_EQ(f.Caption(), T(product ? IDS_CAPTION_INSTALLED : IDS_CAPTION_NOT_INSTALLED));
        EXPECT_EQ(f[lblLumoraAd].visible + f[lblLumoraAdLink].visible, product ? 0 : 2);
        EXPECT_EQ(f[lblLumoraAd].caption + f[lblLumoraAdLink].caption, product ? L"" : T(IDS_AD_LINE) + T(IDS_AD_DOWNLOAD));
        Strings tabs{L"MDAC", L"JET", T(IDS_TAB_WINDOWS)};
        if (product) tabs.push_back(T(IDS_TAB_COMPONENTS));
        EXPECT_EQ(f[TabStrip1].tabs, tabs);
        EXPECT_EQ(f[cmdQuit].caption + f[cmdAbout].caption, T(IDS_EXIT) + T(IDS_ABOUT));
        EXPECT_EQ(f[lvwMDACFiles].extendedStyle + f[lvwJetFiles].extendedStyle, 0x4020u + 0x4021u);
        for (const int id : {lvwMDACFiles, lvwJetFiles})
            EXPECT_EQ(f[id].columns, (Strings{T(IDS_COLUMN_FILE_NAME), T(IDS_COLUMN_FILE_VERSION),
                                              T(IDS_COLUMN_REGISTRATION), T(IDS_COLUMN_PATH)}));
        EXPECT_EQ(f.systemMenu, (std::vector<std::pair<int, std::wstring>>{{0x100, T(IDS_MENU_COPY_REPORT)}}));
        EXPECT_EQ(f[cmdQuit].fontName == L"Tahoma", !product);
        const std::pair<int, int> icon = product ? std::pair{-1, -1} : std::pair{1, 1};
        EXPECT_TRUE(f[Command1].icon == icon && f[Command3].icon == icon && f[Command2].icon.first == -1);

        w.OnEvent(Form, E::SystemMenu, 0x100);
        const std::wstring& r = f.clipboard;
        const std::wstring head = l + L"137\t" + l + L"138\t" + l + L"216\t" + l + L"139\r\n";
        EXPECT_EQ(r.substr(0, r.find(L"\r\n\r\n[MDAC]\r\n")), L"LumoraRepair 1.10.0.48\r\n" + l + L"203 07.12.2026 06:30");
        // 2.81 hides the available version's row.
        EXPECT_NE(r.find(L"[MDAC]\r\n" + l + L"107 2.81.1117.0\r\n" + l + L"120\r\n" + head + L"MSADO15.DLL\tN/A\t" + l + L"220\tNot found\r\n"),
                  std::wstring::npos) << r;
        const std::size_t jet = r.find(L"[JET]\r\n" + l + L"121 " + l + L"102\r\n" + l + L"122 4.0.8618\r\n" + l + L"129\r\n" +
                                       head + L"msjet40.dll\tN/A\t\tNot found\r\n"),
                          windows = r.find(L"[" + l + L"130]\r\n" + l + L"105\r\n" + l + L"101 Windows "),
                          others = r.find(L"[" + l + L"131]\r\n" + l + L"112\r\n" + l + L"113 6.0.98\r\n");
        EXPECT_TRUE(r.find(L"[MDAC]") < jet && jet < windows && windows < others) << r;
        EXPECT_EQ(others != std::wstring::npos, product);
        w.OnCancel();
        EXPECT_TRUE(f.unloaded);
    }
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
            for (const int page : pages)
                EXPECT_TRUE(form[page].visible == (page == pages[tab - 1]) && form[page].z <= form[pages[tab - 1]].z) << tab;
            EXPECT_EQ(form.focus, cmdQuit);
            for (const Row& r : rows)
                EXPECT_TRUE(r.tab != tab || form[r.id].caption == (r.value ? r.value : T(r.text))) << form[r.id].design.name;
        }
    }
    // A mouse press raises the switch twice, by the click and by the timer: only one acts.
    window.OnEvent(TabStrip1, E::MouseDown, 0);
    Pick(3);
    form[Label1].caption.clear();
    window.OnEvent(TabTimer, E::Timer, 0);
    EXPECT_FALSE(form[TabTimer].enabled);
    EXPECT_EQ(form[Label1].caption, L"");
}

// The installed MDAC version against the available 2.80.1022.3, dotted numbers part by part,
// compared as shown (blanks around it and a multi-string's second text do not count): only a
// newer one hides the row, and once hidden it stays hidden. Windows up to 2003 by the version
// code; code 8 (every system since Vista) by its true version, "Windows Vista" when that cannot
// be asked; anything else text 102. A temporary folder that fails or is cut off shows as missing.
TEST_F(AppTest, MdacRowWindowsNameAndTemporaryFolder) {
    for (const auto& [installed, shown, type] :
         {std::tuple{"2.80.1022.3", true, os::regtype::kSz}, std::tuple{"2.8", true, os::regtype::kSz},
          std::tuple{" 2.80.1022.3 ", true, os::regtype::kSz}, std::tuple{"2.80.1022.3", true, os::regtype::kMultiSz},
          std::tuple{"10.0.19041.1", false, os::regtype::kSz}, std::tuple{"2.50", false, os::regtype::kSz}}) {
        PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", installed + std::string(type != os::regtype::kSz, '\0'), type);
        window.ShowMDACPage();
        EXPECT_EQ(form[Label19].visible && form[Label21].visible, shown) << installed;
    }
    struct Case { std::int32_t code; os::TrueOsVersion truth; const wchar_t* name; };
    for (const Case& c : {Case{7, {}, L"Windows Server 2003"}, Case{0, {}, L"en 102"}, Case{8, {}, L"Windows Vista"},
                          Case{8, {10, 0, 19045, 1}, L"Windows 10"}, Case{8, {10, 0, 22000, 1}, L"Windows 11"},
                          Case{8, {6, 1, 7601, 2}, L"Windows Server 2008 R2"}}) {
        window.WindowsVersion = c.code, system.trueVersion = c.truth;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label2].caption, c.name) << c.truth.major << "." << c.truth.minor << "." << c.truth.build;
    }
    folders.existing = {L"C:\\TEMP\\"};
    for (const std::uint32_t length : {8u, 0u, 8u, 512u}) {
        system.tempPathLength = length;
        window.ShowWindowsPage();
        EXPECT_EQ(form[Label32].caption, length == 8 ? L"C:\\TEMP\\" : kNoDir) << length;
    }
}

// Each file examined below its base folder: found with three version parts, or "Not found"
// and "N/A"; the skip marks as the tables set them; ordered by the column clicked, refills too.
// Ctrl+C copies the selected rows under the headers (nothing when none is selected), Ctrl+A and
// the context menu select every row; a clipboard that cannot be had is said. Without the
// Common Files folder the user is told, and the files are looked for below nothing.
TEST_F(AppTest, FileListsSortedAndCopied) {
    versions.AddVersion(kCommon + L"\\System\\Ole DB\\OLEDB32.DLL", 2, 81, 1117, 4);
    versions.AddVersion(kSys + L"\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.ShowJetPage();
    window.BuildComponentFileList();
    std::wstring skips;
    for (const auto* list : {&window.MDACFileList, &window.JetFileList, &window.ComponentFileList})
        for (const auto& entry : *list) skips += entry.SkipRegister ? L'x' : L'-';
    EXPECT_EQ(skips, L"-x------x-x-xx-x-----------x" L"---xxx" L"---");
    const auto& view = form[lvwMDACFiles];
    EXPECT_EQ(view.items[17], (Strings{L"OLEDB32.DLL", L"2.81.1117", L"", kCommon + L"\\System\\Ole DB\\OLEDB32.DLL"}));
    EXPECT_EQ(view.items[0], (Strings{L"MSADO15.DLL", L"N/A", L"en 220", L"Not found"}));
    EXPECT_EQ(app::GetFile(L"C:\\a/b\\c/d.dll") + L"|" + app::GetFile(L"d.dll"), L"c/d.dll|d.dll");
    window.OnEvent(lvwMDACFiles, E::ColumnClick, 1);  // by version
    EXPECT_EQ(view.items[0][0], L"OLEDB32.DLL");
    versions.AddVersion(kCommon + L"\\System\\ado\\MSADO15.DLL", 2, 0, 0, 0);
    window.ShowMDACPage();
    EXPECT_EQ(view.items[0][0] + L" " + view.items[1][0], L"MSADO15.DLL OLEDB32.DLL");

    window.OnEvent(lvwJetFiles, E::Copy, 0);
    EXPECT_EQ(form.clipboard, L"");
    form[lvwJetFiles].selected = {2, 0};
    window.OnEvent(lvwJetFiles, E::Copy, 0);
    EXPECT_EQ(form.clipboard, L"en 137\ten 138\ten 216\ten 139\r\nmsjet40.dll\t4.0.8618\t\t" + kSys + L"\\msjet40.dll\r\n"
                              L"msjetoledb40.dll\tN/A\ten 220\tNot found\r\n");
    window.OnEvent(lvwMDACFiles, E::SelectAll, 0);
    form.menuChoice = 1;
    window.OnEvent(lvwJetFiles, E::ContextMenu, 0);
    EXPECT_EQ(view.selected.size() + form[lvwJetFiles].selected.size(), 28u + 6u);
    form.clipboardFails = true, form.menuChoice = 2;
    window.OnEvent(lvwJetFiles, E::ContextMenu, 0);
    folders.answers.clear();
    window.BuildMDACFileList();
    EXPECT_EQ(form.messages, (Strings{L"en 204|LumoraRepair", T(IDS_COMMON_FILES_NOT_SET) + L"|LumoraRepair"}));
    EXPECT_EQ(window.MDACFileList[17].FilePath, L"Not found");
}

// Each class applications create by name, read in the 32-bit view: through its current version,
// its path expanded, quoted, short, without a folder (the system folder's), in another case;
// its file missing; another file; no registration, or a CLSID that names a key elsewhere. A
// file shows its classes' worst verdict, one without a class none; the report names each class
// with the file the registry names. A re-register run shows the state after it, on its page.
TEST_F(AppTest, EachClassReachesItsFileOrSaysWhy) {
    const std::wstring ado = kCommon + L"\\System\\ado\\", db = kCommon + L"\\System\\Ole DB\\";
    const auto put = [&](const std::wstring& key, const std::wstring& text, std::uint32_t type = os::regtype::kSz) {
        registry.Put(os::kHKeyClassesRoot, key, L"", type, {text.begin(), text.end()});
    };
    const auto server = [&](const std::wstring& name, const std::wstring& path, std::uint32_t type = os::regtype::kSz) {
        put(name + L"\\CLSID", L"{" + name + L"}");
        put(L"CLSID\\{" + name + L"}\\InprocServer32", path, type);
    };
    server(L"ADODB.Connection", L"D:\\App\\msado15.dll");
    server(L"ADODB.Recordset", L"D:\\Old\\msado15.dll");
    put(L"ADODB.Recordset\\CurVer", L"ADODB.Recordset.6.0");
    server(L"ADODB.Recordset.6.0", ado + L"MSADO15.DLL");
    server(L"ADOR.Recordset", L"%CommonProgramFiles%\\System\\ado\\msador15.dll", os::regtype::kExpandSz);
    registry.environment[L"CommonProgramFiles"] = kCommon;
    server(L"ADOX.Catalog", L"C:\\PROGRA~1\\COMMON~1\\System\\ado\\MSADOX.DLL");
    system.longPaths[L"C:\\PROGRA~1\\COMMON~1\\System\\ado\\MSADOX.DLL"] = ado + L"MSADOX.DLL";
    server(L"JRO.JetEngine", L"C:\\PROGRA~1\\COMMON~1\\System\\ado\\MSJRO.DLL");
    system.longPaths[L"C:\\PROGRA~1\\COMMON~1\\System\\ado"] = kCommon + L"\\System\\ado";
    put(L"MSDASQL\\CLSID", L"{A}\\B");
    put(L"CLSID\\{A}\\B\\InprocServer32", db + L"MSDASQL.DLL");
    server(L"MSDAORA", L"\"" + db + L"MSDAORA.DLL\"");
    server(L"Microsoft.Jet.OLEDB.4.0", L"msjetoledb40.dll");
    for (const wchar_t* file : {L"MSADO15.DLL", L"MSADOR15.DLL", L"MSADOX.DLL"}) Place(ado + file);
    for (const wchar_t* file : {L"MSDAORA.DLL", L"MSDASQL.DLL", L"OLEDB32.DLL"}) Place(db + file);
    Place(kSys + L"\\msjetoledb40.dll");
    Load();
    const auto column = [&](int view) {
        std::wstring shown;
        for (const Strings& row : form[view].items) shown += row.at(2).empty() ? L"-;" : row.at(2).substr(3) + L";";
        return shown;
    };
    // MSADO15 MSADER15 MSADOR15 MSADRH15 MSADOMD MSADOX MSJRO, ... MSADDS (15), ... MSDASQL (23), MSDAORA (25)
    EXPECT_EQ(column(lvwMDACFiles), L"218;-;217;-;-;217;219;-;-;-;-;-;-;-;220;-;-;-;-;-;-;-;220;-;217;-;-;-;");
    registry.accessAsked.clear();
    Pick(2);
    EXPECT_EQ(column(lvwJetFiles), L"-;-;217;-;-;-;");
    EXPECT_TRUE(registry.accessAsked.empty()) << "read again though the registrations did not change";
    Pick(1);
    registry.accessAsked.clear();
    registry.classesChanged = true;
    Pick(2);
    const auto view32 = std::count(registry.accessAsked.begin(), registry.accessAsked.end(),
                                   os::kKeyQueryValue | os::kKeyWow64_32Key);
    EXPECT_EQ(static_cast<std::size_t>(view32), registry.accessAsked.size());
    EXPECT_FALSE(registry.accessAsked.empty());
    EXPECT_EQ(window.JetClasses.at(0).registered, kSys + L"\\msjetoledb40.dll");
    window.CopyReport();
    for (const std::wstring& line : Strings{L"en 221\r\nADODB.Connection\tMSADO15.DLL\ten 218\tD:\\App\\msado15.dll\r\n",
                                     L"ADODB.Recordset\tMSADO15.DLL\ten 217\t" + ado + L"MSADO15.DLL\r\n",
                                     L"MSDataShape\tMSADDS.DLL\ten 220\t\r\nMSDASQL\tMSDASQL.DLL\ten 220\t\r\n"})
        EXPECT_NE(form.clipboard.find(line), std::wstring::npos) << form.clipboard;

    registry.DeleteKey(os::kHKeyClassesRoot, L"Microsoft.Jet.OLEDB.4.0\\CLSID");
    window.OnEvent(Command3, E::Click, 0);
    EXPECT_EQ(column(lvwJetFiles), L"-;-;220;-;-;-;");
    registry.DeleteKey(os::kHKeyClassesRoot, L"ADODB.Connection\\CLSID");
    window.OnEvent(Command1, E::Click, 0);
    EXPECT_EQ(column(lvwMDACFiles).substr(0, 4), L"220;");
}

// Hovering underlines one link at a time, the surfaces take it off, a click too; the
// advertising link is underlined as laid out and keeps it. A click notes the address and
// starts the timer: the browser gets it from the timer, never inside the click.
TEST_F(AppTest, LinksUnderlineOneAtATimeAndOpenFromTheTimer) {
    Load();
    texts.german = true;
    const std::tuple<int, ui::Event, const char*> steps[] = {  // underlined after: Label19, Label23, the advertising link
        {Label19, E::MouseMove, "101"}, {picMDAC, E::MouseMove, "001"}, {Label19, E::MouseMove, "101"},
        {Label19, E::Click, "001"}, {Label19, E::MouseMove, "101"}, {Label23, E::MouseMove, "011"},
        {lblLumoraAdLink, E::MouseMove, "001"}, {Label23, E::MouseMove, "011"}, {Form, E::MouseMove, "001"},
        {lblLumoraAdLink, E::Click, "001"}, {Label23, E::MouseMove, "011"}, {picJET, E::MouseMove, "001"},
        {Label23, E::MouseMove, "011"}, {Label23, E::Click, "001"}};
    for (const auto& [id, event, underlined] : steps) {
        const std::size_t opened = shell.opened.size();
        window.OnEvent(id, event, 0);
        std::string now;
        for (const int link : {Label19, Label23, lblLumoraAdLink}) now += form[link].underline ? '1' : '0';
        EXPECT_EQ(now, underlined) << form[id].design.name;
        EXPECT_EQ(shell.opened.size(), opened);
        if (event == E::Click) window.OnEvent(ShellExecuteTimer, E::Timer, 0);
    }
    EXPECT_EQ(shell.opened, (Strings{L"de 117", L"http://www.lumora.com", L"de 118"}));
}

// Each command over its page's files, in order, skip marks kept, each by its short path (a
// found file without one by its full path): its button and link away, the hourglass, the bar
// up to the list's length, each name shown while its file registers; then the page restored.
// The MDAC and components lists are read at the click, the Jet list is the page's; a file the
// page listed and the click no longer finds is named "Not found", with why it cannot be opened.
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
    versions.files.erase(kCommon + app::kMDACFiles[3].suffix);
    system.openErrors[kCommon + app::kMDACFiles[2].suffix] = static_cast<std::int32_t>(0x80070020u);
    const std::wstring gone = L"en 210\r\n\r\n" + kCommon + L"\\System\\ado\\MSADOR15.DLL\r\n    Not found  "
                              L"0x80070020  text of -2147024864 for MSADOR15.DLL\r\n\r\n" + kCommon +
                              L"\\System\\ado\\MSADRH15.DLL\r\n    Not found|LumoraRepair";
    versions.files.erase(kSys + app::kJetFiles[1].suffix);
    for (const Command& c : commands) {
        SCOPED_TRACE(form[c.button].design.name);
        modules.loaded.clear();
        form.refreshes = form.focus = 0;
        form.warnings.clear();
        form.onDoEvents = [&] {
            EXPECT_FALSE(form[c.button].visible || (c.link && form[c.link].visible));
            EXPECT_EQ(form.pointer, ui::Pointer::Hourglass);
            EXPECT_TRUE(!form[c.bar].progressValue || form[c.bar].visible == (c.button != Command2)) << "Command2's never";
        };
        window.OnEvent(c.button, E::Click, 0);
        Strings expected;
        for (int i = 0; i < c.count; ++i) {
            const std::wstring name = app::GetFile(c.rows[i].suffix);
            if (!c.rows[i].skipRegister && !(c.button == Command1 && (i == 2 || i == 3)))
                expected.push_back(name == L"gridex20.ocx" ? kSys + L"\\" + name : L"~" + name);
        }
        EXPECT_EQ(modules.loaded, expected);
        EXPECT_EQ(form.warnings, c.button == Command1 ? Strings{gone} : Strings{});
        EXPECT_EQ(form.refreshes, (c.button == Command1) + (c.name ? c.count : 0));
        EXPECT_EQ(form[c.bar].progressMax * 100 + form[c.bar].progressValue, c.count * 101);
        EXPECT_TRUE(!form[c.bar].visible && form[c.button].visible && (!c.link || form[c.link].visible));
        EXPECT_EQ(c.name ? form[c.name].caption : L"", L"");
        EXPECT_EQ(form.pointer, ui::Pointer::Default);
        EXPECT_EQ(form.focus, c.button == Command2 ? 0 : cmdQuit);
    }
    form[Label19].visible = false;  // a link hidden before the run stays hidden after it
    bool nested = false;            // a run inside another keeps the outer one's hourglass
    form.onDoEvents = [&] {
        if (!std::exchange(nested, true)) window.Command2_Click();
        EXPECT_EQ(form.pointer, ui::Pointer::Hourglass);
    };
    window.Command1_Click();
    EXPECT_FALSE(form[Label19].visible);
}

// The Jet command's calls in workers, on made-up workers and clock: how a call failed or what
// the component did to its worker is named once, after the run (the administrator's note for
// access denied), and the run goes on, with a fresh worker when the old one is gone. A call
// has a minute of time in which it has neither answered nor shown a window of its own; an
// answer that came while the window's thread was held in a modal loop counts. Closing the
// window ends the worker and the run at once, and nothing is said. Without workers the calls
// run in the window's process.
using WorkerRunsTest = AppTest;
TEST_F(WorkerRunsTest, WhatAComponentDoesIsNamedAndTheRunGoesOn) {
    for (const auto& row : app::kJetFiles) Place(kSys + row.suffix);  // three of them register
    Load();
    window.ShowJetPage();
    const Strings one = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll", L"send ~msjetoledb40.dll", L"closed"};
    Strings fresh = one, killed = one, closed = one;
    fresh.insert(fresh.begin() + 3, {L"closed", L"start"});
    killed.insert(killed.begin() + 3, {L"killed", L"start"});
    closed.resize(3), closed.push_back(L"killed");
    using os::CallEnd;
    const std::int32_t crash = static_cast<std::int32_t>(0xC0000005u), typeLib = static_cast<std::int32_t>(0x8002801Cu);
    const std::uint32_t never = 0xFFFFFFFFu;
    const std::wstring denied = L"0x80070005  text of -2147024891 for msjtes40.dll\r\n\r\nen 211",
                       typeLibDenied = L"0x8002801C  text of -2147319780 for msjtes40.dll\r\n\r\nen 211";
    struct Case {
        fakes::FakeWorkers::Script script;
        std::deque<std::int32_t> codes;  // what the DllRegisterServer calls return, in order
        bool entry, worker;
        std::uint32_t closeAt, endsAt;
        std::wstring warning;  // what is said of msjtes40.dll
        const Strings& workers;
        std::uint32_t modal = 0;  // how long the window's thread is held at its first message step after 1 s
    } const cases[] = {
        {{CallEnd::Crashed, crash, 5}, {}, true, true, 0, 5, L"0xC0000005  en 213", fresh},
        {{CallEnd::Returned, 0, 59000}, {}, true, true, 0, 59000, L"", one},
        {{CallEnd::Returned, 0, never}, {}, true, true, 0, 60000, L"en 215", killed},
        {{CallEnd::Returned, 0, 170000, 120000}, {}, true, true, 0, 170000, L"", one},  // asks the user until 120 s
        {{CallEnd::Returned, 0, never, 120000}, {}, true, true, 0, 180000, L"en 215", killed},
        {{CallEnd::Returned, 0, 3000}, {}, true, true, 0, 65000, L"", one, 64000},       // an About box held 64 s
        {{CallEnd::Returned, 0, never}, {kDenied}, true, true, 5000, 5000, L"", closed},  // msjet40.dll failed before
        {{}, {0, kDenied}, true, true, 0, 0, denied, one},
        {{}, {0, typeLib}, true, true, 0, 0, typeLibDenied, one},
        {{}, {}, false, true, 0, 0, L"0x8007007F  en 212", one},  // no entry point
        {{CallEnd::Crashed, crash, 5}, {0, kDenied}, true, false, 0, 0, denied, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        workers.log.clear(), form.warnings.clear(), form.unloaded = false;
        workers.now = 0, workers.startFails = !c.worker, outcomes = c.codes;
        workers.scripts = {{L"~msjtes40.dll", c.script}};
        modules.files[L"~msjtes40.dll"].clear();
        if (c.entry) modules.files[L"~msjtes40.dll"][L"DllRegisterServer"] = &Registers;
        form.onDoEvents = [&] {
            form.unloaded = form.unloaded || (c.closeAt && workers.now == c.closeAt);
            if (c.modal && workers.now == 1000) workers.now += c.modal;
        };
        window.Command3_Click();
        const std::wstring named = L"en 210\r\n\r\n" + kSys + L"\\msjtes40.dll\r\n    " + c.warning + L"|LumoraRepair";
        EXPECT_EQ(form.warnings, c.warning.empty() ? Strings{} : Strings{named});
        EXPECT_EQ(workers.log, c.workers);
        EXPECT_EQ(workers.now, c.endsAt);
    }
}

// The command line's modes on the window never shown: no message box; the report file holds
// what "Copy report" copies, and its code says whether every listed file is there and reached
// by its classes; a file that cannot be written says so on the console.
TEST_F(AppTest, UnattendedReportIsCopyReportsTextAndItsCodeTellsTheState) {
    struct Case {
        bool everyFile, classes, commonFiles;
        std::uint32_t writeError;
        int code;
        Strings console;
    } const cases[] = {
        {true, true, true, 0, 0, {L"en 301 C:\\work\\r.txt\r\n", L"en 303 0\r\n"}},
        {true, false, true, 0, 2, {L"en 301 C:\\work\\r.txt\r\n", L"en 303 8\r\n"}},  // no class registered
        {true, true, true, 5, 4, {L"en 302 C:\\work\\r.txt  text of 5 for C:\\work\\r.txt\r\n"}},
        {false, true, false, 0, 2, {L"en 140\r\n", L"en 301 C:\\work\\r.txt\r\n", L"en 303 34\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        fakes::FakeRegistry reg;
        fakes::FakeVersions vers;
        fakes::FakeFolders dirs;
        if (c.commonFiles) dirs.SetPath(modAPI::kFolderCommonFiles, kCommon);
        os::Services s{texts, system, reg, vers, dirs, shell, modules, workers};
        for (const auto& [base, rows, count] : {std::tuple{kCommon, app::kMDACFiles, 28}, {kSys, app::kJetFiles, 6}})
            for (int i = 0; i < count && c.everyFile; ++i) {
                const std::wstring path = base + rows[i].suffix;
                vers.AddVersion(path, 1, 0, 0, 0);
                for (const app::CreatedClass& created : app::kCreatedClasses) {
                    if (!c.classes || ui::CompareItemText(created.file, app::GetFile(path))) continue;
                    const std::wstring clsid = std::wstring(L"{") + created.name + L"}";
                    reg.Put(os::kHKeyClassesRoot, std::wstring(created.name) + L"\\CLSID", L"", os::regtype::kSz, {clsid.begin(), clsid.end()});
                    reg.Put(os::kHKeyClassesRoot, L"CLSID\\" + clsid + L"\\InprocServer32", L"", os::regtype::kSz, {path.begin(), path.end()});
                }
            }
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair w(s, f);
        fakes::FakeOutput output;
        output.writeError = c.writeError;
        EXPECT_EQ(w.RunUnattended(app::ParseCommandLine({L"/report", L"r.txt"}), output), c.code);
        EXPECT_EQ(output.lines, c.console);
        EXPECT_EQ(vers.sizeCalls, 34);  // each MDAC and Jet file read once: no page filled twice
        EXPECT_TRUE(f.messages.empty() && f.warnings.empty() && output.boxes.empty());
        w.OnEvent(Form, E::SystemMenu, 0x100);
        const std::wstring notice = c.commonFiles ? L"" : L"\r\nen 140\r\n";
        EXPECT_EQ(output.files[L"r.txt"], c.writeError ? "" : app::ReportFileBytes(f.clipboard + notice));
    }
}

// /register runs the buttons' procedure: every file of the list in order, in workers, each
// file's outcome after the facts; failures and a component's window that no one can answer
// (ended at the time limit) named, with their own code. Without /report no file is written.
TEST_F(AppTest, UnattendedRegisterNamesEveryFilesOutcome) {
    for (const auto& row : app::kJetFiles) Place(kSys + row.suffix);
    for (const auto& row : app::kMDACFiles) Place(kCommon + row.suffix);
    versions.files.erase(kSys + L"\\msjet40.dll");
    workers.scripts = {{L"~msjetoledb40.dll", {os::CallEnd::Returned, 0, 0xFFFFFFFFu, 0xFFFFFFFFu}}};
    outcomes = {kDenied};
    fakes::FakeOutput output;
    EXPECT_EQ(window.RunUnattended(app::ParseCommandLine({L"/register", L"jet", L"/report", L"r.txt"}), output), 3);
    EXPECT_EQ(workers.now, 60000u);
    EXPECT_TRUE(form.messages.empty() && form.warnings.empty());
    EXPECT_EQ(output.lines.at(0), L"Jet: en 304 0, en 305 2\r\n");
    const std::string file = app::ReportFileBytes(kSys + L"\\msjet40.dll\ten 309\r\n" + kSys + L"\\msjtes40.dll\t0x80070005  text of -2147024891 for msjtes40.dll\r\n" +
                              kSys + L"\\msjetoledb40.dll\ten 310\r\n" + kSys + L"\\mswstr10.dll\ten 308\r\n" + kSys +
                              L"\\msjint40.dll\ten 308\r\n" + kSys + L"\\msjter40.dll\ten 308\r\n");
    const std::string& written = output.files[L"r.txt"];
    EXPECT_EQ(written.substr(written.size() - file.size() + 2), file.substr(2));
    EXPECT_NE(written.find(app::ReportFileBytes(L"\r\nen 306\r\n" + kSys).substr(2)), std::string::npos);

    output.lines.clear();
    outcomes.clear();
    EXPECT_EQ(window.RunUnattended(app::ParseCommandLine({L"-REGISTER", L"mdac"}), output), 0);
    EXPECT_EQ(output.lines, Strings{L"MDAC: en 304 21, en 305 0\r\n"});
    EXPECT_EQ(output.files.size(), 1u);
}

}  // namespace
