// The window's logic on fakes: start-up in both product forms, every page filled afresh by
// its tab, the file lists, links, the clipboard and the report, the re-register commands.
#include <gtest/gtest.h>

#include <deque>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/command_line.h"
#include "fakes/fake_output.h"
#include "fakes/fake_services.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_ui.h"
#include "platform/text_ids.h"
#include "probes/modAPI.h"
#include "snapshots/snapshots.h"
#include "platform/ui.h"

namespace {

using namespace ctl;
using Strings = std::vector<std::wstring>;
using E = ui::Event;
const std::wstring kSys = L"C:\\WINDOWS\\system32";
const std::wstring kCommon = L"C:\\Program Files\\Common Files";
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
class AppTest : public ::testing::Test, protected fakes::FakeServices {
protected:
    AppTest() : FakeServices(texts) {
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
    void PutText(const wchar_t* key, const wchar_t* name, const std::string& text,
                 std::uint32_t type = os::regtype::kSz) {
        registry.Put(os::kHKeyLocalMachine, key, name, type, {text.c_str(), text.c_str() + text.size() + 1});
    }
    // A file the pages find, and whose short form loads and registers.
    void Place(const std::wstring& path) {
        versions.AddVersion(path, 1, 0, 0, 0);
        system.shortPaths[path] = L"~" + app::GetFile(path);
        modules.files[L"~" + app::GetFile(path)][L"DllRegisterServer"] = &Registers;
    }

    fakes::FakeTexts texts;  // bound by the services at once, read only later
    fakes::FakeForm form{app::Layout()};
    app::frmLumoraRepair window{services, form};
};

// What the snapshots do not show, in both product forms: the list views' style added to what
// they have; the report's item in the system menu; Tahoma when the icon-title face begins with
// it (a control refusing it is passed over); icons on the re-register buttons from Windows XP
// on; Esc.
TEST_F(AppTest, StylesFontsIconsAndEsc) {
    for (const bool product : {false, true}) {
        SCOPED_TRACE(product);
        modAPI::ResetWindowsVersionCacheForTests();
        system.iconTitleFace = product ? L"Tahom" : L"Tahoma Bold";
        system.version = product ? os::OsVersion{1, 4, 90, 0} : os::OsVersion{2, 5, 1, 0};
        fakes::FakeForm f(app::Layout());
        f[TabStrip1].refusesFont = true;
        f[lvwJetFiles].extendedStyle = 0x1;  // a style of the toolkit's own
        app::frmLumoraRepair w(services, f);
        w.Form_Load();
        EXPECT_EQ(f[lvwMDACFiles].extendedStyle, 0x4020u);
        EXPECT_EQ(f[lvwJetFiles].extendedStyle, 0x4021u);
        EXPECT_EQ(f.systemMenu, (std::vector<std::pair<int, std::wstring>>{{0x100, T(IDS_MENU_COPY_REPORT)}}));
        EXPECT_EQ(f[cmdQuit].fontName == L"Tahoma", !product);
        const std::pair<int, int> icon = product ? std::pair{-1, -1} : std::pair{1, 1};
        EXPECT_EQ(f[Command1].icon, icon);
        EXPECT_EQ(f[Command3].icon, icon);
        EXPECT_EQ(f[Command2].icon.first, -1);
        w.OnCancel();
        EXPECT_TRUE(f.unloaded);
    }
}

// Every page by its tab: in front, the others hidden, cmdQuit focused, and filled afresh each
// time: each of its files read once, its captions in the user's language, switched between
// the rounds. A mouse press raises the switch twice, by the click and by the timer: only one acts.
TEST_F(AppTest, EveryPageFilledAfreshOnItsTab) {
    Load(true);
    const int pages[] = {picMDAC, picJET, picWindows, picComponents};
    const int reads[] = {28, 6, 0, 5};
    const int headings[] = {Label7, Label25, Label1, Label18};
    const unsigned headingTexts[] = {IDS_MDAC_INSTALLED_VERSION, IDS_JET_INSTALLED_VERSION, IDS_WINDOWS_VERSION,
                                     IDS_VB6_RUNTIME};
    for (const bool german : {false, true}) {
        texts.german = german;
        for (const int tab : {2, 3, 4, 1}) {
            SCOPED_TRACE(tab);
            form.focus = 0;
            const int before = versions.sizeCalls;
            Pick(tab);
            const int front = pages[tab - 1];
            EXPECT_EQ(versions.sizeCalls - before, reads[tab - 1]);
            for (const int page : pages) EXPECT_EQ(form[page].visible, page == front);
            EXPECT_GT(form[front].z, form[TabStrip1].z) << "over the tab strip it lies on";
            EXPECT_EQ(form.focus, cmdQuit);
            EXPECT_EQ(form[headings[tab - 1]].caption, T(headingTexts[tab - 1]));
        }
    }
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
    using os::regtype::kSz;
    for (const auto& [installed, shown, type] :
         {std::tuple{"2.80.1022.3", true, kSz}, std::tuple{"2.8", true, kSz}, std::tuple{" 2.80.1022.3 ", true, kSz},
          std::tuple{"2.80.1022.3", true, os::regtype::kMultiSz}, std::tuple{"10.0.19041.1", false, kSz},
          std::tuple{"2.50", false, kSz}}) {
        const std::string second(type != kSz, '\0');  // a multi-string ends with two
        PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", installed + second, type);
        window.ShowMDACPage();
        EXPECT_EQ(form[Label19].visible, shown) << installed;
        EXPECT_EQ(form[Label21].visible, shown) << installed;
    }
    struct Case { std::int32_t code; os::TrueOsVersion truth; const wchar_t* name; };
    for (const Case& c : {Case{7, {}, L"Windows Server 2003"}, Case{0, {}, L"en 102"}, Case{8, {}, L"Windows Vista"},
                          Case{8, {10, 0, 19045, 1}, L"Windows 10"}, Case{8, {10, 0, 22000, 1}, L"Windows 11"},
                          Case{8, {6, 1, 7601, 2}, L"Windows Server 2008 R2"}}) {
        window.WindowsVersion = c.code;
        system.trueVersion = c.truth;
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

// The skip marks as the tables set them (rows and their order are the snapshots'). Ctrl+C
// copies the selected rows under the headers (nothing when none is selected), Ctrl+A and the
// context menu select every row; a clipboard that cannot be had is said. Without the
// Common Files folder the user is told (by the page, not by a report of it), and the files
// are looked for below nothing.
TEST_F(AppTest, FileListsCopied) {
    versions.AddVersion(kCommon + L"\\System\\Ole DB\\OLEDB32.DLL", 2, 81, 1117, 4);
    versions.AddVersion(kSys + L"\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.ShowJetPage();
    window.BuildComponentFileList();
    std::wstring skips;
    for (const auto* list : {&window.MDACFileList, &window.JetFileList, &window.ComponentFileList})
        for (const auto& entry : *list) skips += entry.SkipRegister ? L'x' : L'-';
    EXPECT_EQ(skips, L"-x------x-x-xx-x-----------x" L"---xxx" L"---");
    EXPECT_EQ(app::GetFile(L"C:\\a/b\\c/d.dll"), L"c/d.dll");
    EXPECT_EQ(app::GetFile(L"d.dll"), L"d.dll");
    const auto& view = form[lvwMDACFiles];

    window.OnEvent(lvwJetFiles, E::Copy, 0);
    EXPECT_EQ(form.clipboard, L"");
    form[lvwJetFiles].selected = {2, 0};
    window.OnEvent(lvwJetFiles, E::Copy, 0);
    const std::wstring copied = L"en 137\ten 138\ten 216\ten 139\r\n"
                                L"msjet40.dll\t4.0.8618\t\t" + kSys + L"\\msjet40.dll\r\n"
                                L"msjetoledb40.dll\tN/A\ten 220\tNot found\r\n";
    EXPECT_EQ(form.clipboard, copied);
    window.OnEvent(lvwMDACFiles, E::SelectAll, 0);
    form.menuChoice = 1;
    window.OnEvent(lvwJetFiles, E::ContextMenu, 0);
    EXPECT_EQ(view.selected.size(), 28u);
    EXPECT_EQ(form[lvwJetFiles].selected.size(), 6u);
    form.clipboardFails = true;
    form.menuChoice = 2;
    window.OnEvent(lvwJetFiles, E::ContextMenu, 0);
    folders.answers.clear();
    window.BuildMDACFileList();
    EXPECT_EQ(form.messages, (Strings{L"en 204|LumoraRepair", T(IDS_COMMON_FILES_NOT_SET) + L"|LumoraRepair"}));
    EXPECT_EQ(window.MDACFileList[17].FilePath, L"Not found");
    form.clipboardFails = false;
    window.CopyReport();
    EXPECT_EQ(form.messages.size(), 2u) << "the report's fill of the page showed its box";
}

// The classes are read in the 32-bit view, and again only when the system says they may have
// changed (each way a class names its server, and the verdicts, are the snapshots'). A
// re-register run shows the state after it, on its page.
TEST_F(AppTest, ClassesReadInThe32BitViewWhenChangedAndAfterARun) {
    const auto put = [&](const std::wstring& key, const std::wstring& text) {
        registry.Put(os::kHKeyClassesRoot, key, L"", os::regtype::kSz, {text.begin(), text.end()});
    };
    const std::pair<std::wstring, std::wstring> servers[] = {
        {L"ADOR.Recordset", kCommon + L"\\System\\ado\\MSADOR15.DLL"},
        {L"Microsoft.Jet.OLEDB.4.0", kSys + L"\\msjetoledb40.dll"}};
    for (const auto& [name, path] : servers) {
        put(name + L"\\CLSID", L"{" + name + L"}");
        put(L"CLSID\\{" + name + L"}\\InprocServer32", path);
        Place(path);
    }
    Load();
    const auto verdict = [&](ui::ListViewId view, int row) { return form[view].items.at(row).at(2); };
    EXPECT_EQ(verdict(lvwMDACFiles, 2), T(IDS_REACH_THIS_FILE));
    registry.accessAsked.clear();
    Pick(2);
    EXPECT_EQ(verdict(lvwJetFiles, 2), T(IDS_REACH_THIS_FILE));
    EXPECT_TRUE(registry.accessAsked.empty()) << "read again though the registrations did not change";
    Pick(1);
    registry.accessAsked.clear();
    registry.classesChanged = true;
    Pick(2);
    const auto view32 = std::count(registry.accessAsked.begin(), registry.accessAsked.end(),
                                   os::kKeyQueryValue | os::kKeyWow64_32Key);
    EXPECT_EQ(static_cast<std::size_t>(view32), registry.accessAsked.size());
    EXPECT_FALSE(registry.accessAsked.empty());
    registry.DeleteKey(os::kHKeyClassesRoot, L"Microsoft.Jet.OLEDB.4.0\\CLSID");
    window.OnEvent(Command3, E::Click, 0);
    EXPECT_EQ(verdict(lvwJetFiles, 2), T(IDS_REACH_NOT_REGISTERED));
    registry.DeleteKey(os::kHKeyClassesRoot, L"ADOR.Recordset\\CLSID");
    window.OnEvent(Command1, E::Click, 0);
    EXPECT_EQ(verdict(lvwMDACFiles, 2), T(IDS_REACH_NOT_REGISTERED));
}

// Hovering underlines one link at a time, the surfaces take it off, a click too; the
// advertising link is underlined as laid out and keeps it. A click notes the address and
// starts the timer: the browser gets it from the timer, never inside the click.
TEST_F(AppTest, LinksUnderlineOneAtATimeAndOpenFromTheTimer) {
    Load();
    texts.german = true;
    // Underlined after each step: Label19, Label23, the advertising link.
    const std::tuple<int, ui::Event, const char*> steps[] = {
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
// found file without one by its full path), the window painted before the files are examined
// and at each name it shows (what the user sees of a run is the snapshots'). The MDAC and
// components lists are read at the click, the Jet list is the page's. A link hidden before a
// run stays hidden after it; a run inside another keeps the outer one's hourglass.
TEST_F(AppTest, EachCommandRegistersItsFilesInOrder) {
    struct Command { int button, name; std::wstring base; const app::FileListRow* rows; int count; };
    const Command commands[] = {{Command1, Label11, kCommon, app::kMDACFiles, 28},
                                {Command3, 0, kSys, app::kJetFiles, 6},
                                {Command2, Label12, kSys, app::kComponentFiles, 3}};
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
        modules.loaded.clear();
        form.refreshes = 0;
        window.OnEvent(c.button, E::Click, 0);
        Strings expected;
        for (int i = 0; i < c.count; ++i) {
            const std::wstring name = app::GetFile(c.rows[i].suffix);
            if (c.rows[i].skipRegister || (c.button == Command1 && i == 2)) continue;
            expected.push_back(name == L"gridex20.ocx" ? kSys + L"\\" + name : L"~" + name);
        }
        EXPECT_EQ(modules.loaded, expected);
        EXPECT_EQ(form.refreshes, 1 + (c.name ? c.count : 0));
    }
    // The links are back after their runs (the snapshots' machine hides the MDAC one).
    EXPECT_TRUE(form[Label19].visible);
    EXPECT_TRUE(form[Label20].visible);
    form[Label19].visible = false;
    bool nested = false;
    form.onDoEvents = [&] {
        if (!std::exchange(nested, true)) window.Command2_Click();
        EXPECT_EQ(form.pointer, ui::Pointer::Hourglass);
    };
    window.Command1_Click();
    EXPECT_FALSE(form[Label19].visible);
}

// The Jet command's calls in workers, on made-up workers and clock: how a call failed or what
// the component did to its worker is named once, after the run (the administrator's note for a
// type library's access denied; plain access denied is the snapshots'), and the run goes on,
// with a fresh worker when the old one is gone. A call has a minute of time in which it has
// neither answered nor shown a window of its own; an answer that came while the window's
// thread was held in a modal loop counts. Closing the window ends the worker and the run at
// once, and nothing is said. Without workers the calls run in the window's process.
using WorkerRunsTest = AppTest;
TEST_F(WorkerRunsTest, WhatAComponentDoesIsNamedAndTheRunGoesOn) {
    for (const auto& row : app::kJetFiles) Place(kSys + row.suffix);  // three of them register
    Load();
    window.ShowJetPage();
    const Strings one = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll", L"send ~msjetoledb40.dll", L"closed"};
    Strings fresh = one;
    fresh.insert(fresh.begin() + 3, {L"closed", L"start"});
    Strings killed = one;
    killed.insert(killed.begin() + 3, {L"killed", L"start"});
    const Strings closed = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll", L"killed"};
    using os::CallEnd;
    const std::uint32_t never = 0xFFFFFFFFu;
    const std::int32_t crash = static_cast<std::int32_t>(0xC0000005u);
    const std::int32_t typeLib = static_cast<std::int32_t>(0x8002801Cu);
    const std::wstring typeLibDenied = L"0x8002801C  text of -2147319780 for msjtes40.dll\r\n\r\nen 211";
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
        {{CallEnd::Returned, 0, never}, {}, true, true, 0, 60000, L"en 215", killed},
        {{CallEnd::Returned, 0, never, 120000}, {}, true, true, 0, 180000, L"en 215", killed},  // asks until 120 s
        {{CallEnd::Returned, 0, 3000}, {}, true, true, 0, 65000, L"", one, 64000},  // an About box held 64 s
        {{CallEnd::Returned, 0, never}, {kDenied}, true, true, 5000, 5000, L"", closed},  // msjet40.dll failed
        {{}, {}, false, true, 0, 0, L"0x8007007F  en 212", one},  // no entry point
        {{}, {0, typeLib}, true, false, 0, 0, typeLibDenied, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        workers.log.clear();
        form.warnings.clear();
        form.unloaded = false;
        workers.now = 0;
        workers.startFails = !c.worker;
        outcomes = c.codes;
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
TEST(Unattended, ReportIsCopyReportsTextAndItsCodeTellsTheState) {
    using snapshots::State;
    // The machine, the notice a missing Common Files folder adds, what writing the file answers,
    // the exit code, the console's lines.
    const std::tuple<State, std::wstring, std::uint32_t, int, Strings> cases[] = {
        {State::Every, L"", 0, 0, {L"en 301 C:\\work\\r.txt\r\n", L"en 303 0\r\n"}},
        {State::Mixed, L"", 0, 2, {L"en 301 C:\\work\\r.txt\r\n", L"en 303 20\r\n"}},
        {State::Every, L"", 5, 4, {L"en 302 C:\\work\\r.txt  text of 5 for C:\\work\\r.txt\r\n"}},
        {State::None, L"\r\nen 140\r\n", 0, 2, {L"en 140\r\n", L"en 301 C:\\work\\r.txt\r\n", L"en 303 34\r\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        const auto& [state, notice, writeError, code, console] = c;
        fakes::FakeTexts texts;
        snapshots::Machine machine(state, false, texts);
        if (!notice.empty()) machine.folders.answers.erase(modAPI::kFolderCommonFiles);
        fakes::FakeForm form(app::Layout());
        app::frmLumoraRepair window(machine.services, form);
        fakes::FakeOutput output;
        output.writeError = writeError;
        EXPECT_EQ(window.RunUnattended(app::ParseCommandLine({L"/report", L"r.txt"}), output), code);
        EXPECT_EQ(output.lines, console);
        EXPECT_EQ(machine.versions.sizeCalls, 34);  // each MDAC and Jet file read once: no page filled twice
        EXPECT_TRUE(form.messages.empty());
        window.OnEvent(Form, E::SystemMenu, 0x100);
        EXPECT_EQ(output.files[L"r.txt"], writeError ? "" : app::ReportFileBytes(form.clipboard + notice));
    }
}

// /register runs the buttons' procedure: every file of the list in order, in workers, each
// file's outcome after the facts; failures and a component's window that no one can answer
// (ended at the time limit) named, with their own code. Without /report no file is written;
// without Common Files no box is shown.
TEST_F(AppTest, UnattendedRegisterNamesEveryFilesOutcome) {
    for (const auto& row : app::kJetFiles) Place(kSys + row.suffix);
    for (const auto& row : app::kMDACFiles) Place(kCommon + row.suffix);
    versions.files.erase(kSys + L"\\msjet40.dll");
    workers.scripts = {{L"~msjetoledb40.dll", {os::CallEnd::Returned, 0, 0xFFFFFFFFu, 0xFFFFFFFFu}}};
    outcomes = {kDenied};
    fakes::FakeOutput output;
    EXPECT_EQ(window.RunUnattended(app::ParseCommandLine({L"/register", L"jet", L"/report", L"r.txt"}), output), 3);
    EXPECT_TRUE(form.warnings.empty());
    EXPECT_EQ(output.lines.at(0), L"Jet: en 304 0, en 305 2\r\n");
    const std::wstring each = L"\r\nen 306\r\n" + kSys + L"\\msjet40.dll\ten 309\r\n" +
                              kSys + L"\\msjtes40.dll\t0x80070005  text of -2147024891 for msjtes40.dll\r\n" +
                              kSys + L"\\msjetoledb40.dll\ten 310\r\n" +
                              kSys + L"\\mswstr10.dll\ten 308\r\n" +
                              kSys + L"\\msjint40.dll\ten 308\r\n" +
                              kSys + L"\\msjter40.dll\ten 308\r\n";
    const std::string tail = app::ReportFileBytes(each).substr(2);
    const std::string& written = output.files[L"r.txt"];
    EXPECT_EQ(written.substr(written.size() - tail.size()), tail);

    EXPECT_EQ(window.RunUnattended(app::ParseCommandLine({L"-REGISTER", L"mdac"}), output), 0);
    EXPECT_EQ(output.lines.back(), L"MDAC: en 304 21, en 305 0\r\n");
    EXPECT_EQ(output.files.size(), 1u);
    folders.answers.clear();
    window.RunUnattended(app::ParseCommandLine({L"/register", L"mdac"}), output);
    EXPECT_TRUE(form.messages.empty()) << "no Common Files told in a box without a window";
}

}  // namespace
