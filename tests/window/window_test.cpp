// The real window in-process: the Win32 toolkit makes frmLumoraRepair's controls from the
// layout inside this test program under Wine, on the real platform groups. Read through the
// toolkit's Control interface; keys, clicks and notifications go through the real message
// path (posted or sent to the control's HWND, then DoEvents). The rules themselves are the
// unit tests' business; this shows that the toolkit carries them out.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "fakes/fake_shell.h"
#include "testdlls/test_dlls.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/modules_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "platform/win32/ui/form.h"

namespace {

using namespace ctl;

HWND TopWindow() { return FindWindowW(L"LumoraRepair", nullptr); }

// A window's end posts WM_QUIT; taken off the queue so the next window's DoEvents runs.
void DrainQueue() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

HWND Child(HWND top, int id) {
    std::pair<int, HWND> found{id, nullptr};
    EnumChildWindows(top, [](HWND h, LPARAM p) CALLBACK -> BOOL {
        auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
        if (GetDlgCtrlID(h) != f->first) return TRUE;
        f->second = h;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

class RealWindow : public testing::Test {
protected:
    void Open(bool product) {
        TearDown();
        SetProduct(product);
        form = std::make_unique<win32::Form>(GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON,
                                             IDC_HAND_LINK);
        window = std::make_unique<app::frmLumoraRepair>(services, *form);
        window->Form_Initialize();
        ASSERT_TRUE(form->Create(*window, app::kClientWidth, app::kClientHeight));
        window->Form_Load();
        form->Show();
        form->DoEvents();
        top = TopWindow();
        ASSERT_NE(top, nullptr);
    }
    void TearDown() override {
        window.reset();
        form.reset();
        DrainQueue();
    }
    // The form each test asks for; the prefix belongs to this test run alone.
    static void SetProduct(bool on) {
        HKEY key = nullptr;
        if (!on) RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
        else if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".lma", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0)
            RegCloseKey(key);
    }

    HWND H(int id) { return Child(top, id); }
    bool Shown(int id) { return (GetWindowLongW(H(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    int Focused() { return GetDlgCtrlID(GetFocus()); }
    // A key as the message loop gets it from the keyboard, modifiers held meanwhile.
    void Key(WPARAM vk, bool ctrl = false, bool shift = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageW(GetFocus() ? GetFocus() : top, WM_KEYDOWN, vk, 1);
        form->DoEvents();
        state[VK_CONTROL] = state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }
    // A mouse click on the middle of tab n (from 1), as the tab strip receives it.
    void ClickTab(int n) {
        RECT r{};
        SendMessageW(H(TabStrip1), TCM_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(H(TabStrip1), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(H(TabStrip1), WM_LBUTTONUP, 0, at);
        form->DoEvents();
        Sleep(50);  // the tab timer's millisecond
        form->DoEvents();
    }
    void ColumnClick(int view, int column) {
        NMLISTVIEW note{};
        note.hdr = {H(view), static_cast<UINT_PTR>(view), static_cast<UINT>(LVN_COLUMNCLICK)};
        note.iSubItem = column;
        SendMessageW(GetParent(H(view)), WM_NOTIFY, static_cast<WPARAM>(view), reinterpret_cast<LPARAM>(&note));
    }
    std::wstring Row(ui::Control& view, int row) {
        return view.ItemText(row, 0) + L"|" + view.ItemText(row, 1) + L"|" + view.ItemText(row, 2);
    }

    win32::Texts texts;
    win32::System system;
    win32::Registry registry;
    win32::VersionResources versions;
    win32::Folders folders;
    win32::Modules modules;
    fakes::FakeShell shell;  // the browser is the end-to-end run's business
    os::Services services{texts, system, registry, versions, folders, shell, modules};
    std::unique_ptr<win32::Form> form;
    std::unique_ptr<app::frmLumoraRepair> window;
    HWND top = nullptr;
};

TEST_F(RealWindow, BothProductFormsOpenOnTheMdacPage) {
    for (const bool product : {true, false}) {
        SCOPED_TRACE(product);
        Open(product);
        EXPECT_EQ((*form)[TabStrip1].TabCount(), product ? 4 : 3);
        EXPECT_TRUE(Shown(picMDAC));
        EXPECT_FALSE(Shown(picJET));
        EXPECT_EQ(Focused(), cmdQuit);
        // The prefix's Windows is newer than XP: the re-register buttons carry the icon.
        BUTTON_IMAGELIST images{};
        SendMessageW(H(Command1), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
        EXPECT_NE(images.himl, nullptr);
    }
    Key(VK_ESCAPE);  // the cancel key
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(RealWindow, EveryPageByMouseAndKeyboard) {
    Open(true);
    const int pages[] = {picMDAC, picJET, picWindows, picComponents};
    const auto front = [&](int page) {
        for (int p : pages) EXPECT_EQ(Shown(p), p == page) << "page " << page;
        EXPECT_EQ(Focused(), cmdQuit) << "page " << page;
    };
    ClickTab(2);
    front(picJET);
    Key(VK_TAB, true);
    front(picWindows);
    Key(VK_TAB, true);
    front(picComponents);
    Key(VK_TAB, true);  // round to the first
    front(picMDAC);
    Key(VK_TAB, true, true);
    front(picComponents);
    ClickTab(1);
    front(picMDAC);

    // Tab walks the tab order across containers: cmdQuit, the tab strip, the MDAC page's
    // link, its list. (Enter and Space on the link are the end-to-end run's.)
    Key(VK_TAB);
    EXPECT_EQ(Focused(), TabStrip1);
    Key(VK_TAB);
    EXPECT_EQ(Focused(), Label19);
    Key(VK_TAB);
    EXPECT_EQ(Focused(), lvwMDACFiles);
    for (int i = 0; i < 3; ++i) Key(VK_TAB, false, true);
    EXPECT_EQ(Focused(), cmdQuit);
    // Enter presses the focused button: cmdQuit closes the window.
    Key(VK_RETURN);
    EXPECT_FALSE(IsWindow(top));
}

// Wine's own MDAC files, read row by row; a header click sorts by that column's text and
// each row keeps its cells; a refill of the page keeps the order.
TEST_F(RealWindow, ListIsFilledSortedAndRefilled) {
    Open(true);
    ui::Control& view = (*form)[lvwMDACFiles];
    ASSERT_EQ(view.ItemCount(), 28);
    std::map<std::wstring, std::wstring> rows;
    for (int i = 0; i < 28; ++i) rows[view.ItemText(i, 0)] = Row(view, i);
    EXPECT_EQ(Row(view, 0), L"MSADO15.DLL|N/A|Not found");
    wchar_t common[MAX_PATH] = {};
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    EXPECT_EQ(rows[L"OLEDB32.DLL"],
              L"OLEDB32.DLL|2.81.1117|" + std::wstring(common) + L"\\System\\Ole DB\\OLEDB32.DLL");

    for (const int column : {2, 0, 1}) {
        ColumnClick(lvwMDACFiles, column);
        for (int i = 0; i < 28; ++i) {
            EXPECT_EQ(Row(view, i), rows[view.ItemText(i, 0)]);
            if (i > 0) {
                EXPECT_LE(ui::CompareItemText(view.ItemText(i - 1, column), view.ItemText(i, column)), 0);
            }
        }
    }
    EXPECT_EQ(view.ItemText(0, 1), L"2.81.1117");  // digits before "N/A"
    ClickTab(2);
    ClickTab(1);
    ASSERT_EQ(view.ItemCount(), 28);
    EXPECT_EQ(view.ItemText(0, 1), L"2.81.1117");
}

TEST_F(RealWindow, LinkLabelsAreBlueWithTheHandCursor) {
    Open(false);
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(top, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(H(lblLumoraAdLink)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    DeleteDC(dc);

    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_LINK));
    SetCursor(nullptr);
    SendMessageW(top, WM_SETCURSOR, reinterpret_cast<WPARAM>(H(lblLumoraAd)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), hand);
    EXPECT_TRUE(SendMessageW(top, WM_SETCURSOR, reinterpret_cast<WPARAM>(H(lblLumoraAdLink)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), hand);
}

// A handler that closes the window and then lets messages run still has its window; it goes
// when the handler returns.
TEST(RealToolkit, CloseInsideAHandlerWaitsForIt) {
    static const ui::ControlSpec kOneButton[] = {{7, "cmdGo", ui::Kind::Button, 0, {0, 0, 900, 300}, L"Go", 0, 0}};
    struct Sink : ui::EventSink {
        win32::Form* form = nullptr;
        HWND top = nullptr;
        bool aliveDuring = false;
        void OnEvent(int, ui::Event event, int) override {
            if (event != ui::Event::Click) return;
            form->Unload();
            PostMessageW(top, WM_CLOSE, 0, 0);
            form->DoEvents();
            aliveDuring = IsWindow(top) != FALSE;
        }
        void OnCancel() override {}
    } sink;
    win32::Form form(GetModuleHandleW(nullptr), kOneButton, IDI_APPLICATION_ICON, IDC_HAND_LINK);
    ASSERT_TRUE(form.Create(sink, 1440, 720));
    form.Show();
    sink.form = &form;
    sink.top = TopWindow();
    SendMessageW(Child(sink.top, 7), BM_CLICK, 0, 0);
    EXPECT_TRUE(sink.aliveDuring);
    EXPECT_FALSE(IsWindow(sink.top));
    DrainQueue();
}

// The message box a command shows, read and closed from a timer that runs inside its
// modal loop.
std::wstring boxText;
void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) CALLBACK -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (std::wstring(cls) != L"#32770") return TRUE;
        wchar_t text[2048] = {};
        GetDlgItemTextW(h, 0xFFFF, text, 2048);
        boxText = text;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return FALSE;
    }, 0);
    if (!boxText.empty()) KillTimer(nullptr, timer);
}

// A tab click posted from a timer: it fires inside a component's own message loop, which
// then dispatches the click to our window in the middle of the registration.
HWND tabsToClick = nullptr;
void CALLBACK ClickMdacTab(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    RECT r{};
    SendMessageW(tabsToClick, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(tabsToClick, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tabsToClick, WM_LBUTTONUP, 0, at);
}

// Hostile files and components where the pages look, under the search the program sets at
// start, through the real buttons: files that are no component show as not found and are
// passed over; the ones shown as present that fail (other architecture, access denied, a
// helper missing) are named in the one warning, with the administrator line; S_FALSE, a helper beside the component and
// a component running its own message loop (which switches our page meanwhile) are fine;
// a decoy of the helper beside the exe or in the current folder is never loaded.
TEST_F(RealWindow, HostileFilesAndComponentsThroughTheButtons) {
    ASSERT_TRUE(win32::RestrictDllSearch());
    wchar_t sys[MAX_PATH] = {}, common[MAX_PATH] = {}, exe[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring jet = std::wstring(sys) + L"\\", mdac = std::wstring(common) + L"\\System\\";
    const std::wstring exeDir = std::wstring(exe).substr(0, std::wstring(exe).rfind(L'\\') + 1);
    const auto write = [](const std::wstring& path, const std::string& bytes) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(f);
    };
    const std::pair<const char*, std::wstring> placed[] = {
        {"pumps", jet + L"msjet40.dll"}, {"otherarch", jet + L"msjtes40.dll"}, {"denied", mdac + L"ado\\MSADOX.DLL"},
        {"sfalse", mdac + L"ado\\MSADOR15.DLL"}, {"withdep", mdac + L"ado\\MSADRH15.DLL"},
        {"withdep", mdac + L"MSADC\\MSADCE.DLL"}, {"lrdep", mdac + L"MSADC\\lrdep.dll"},
        {"decoy", exeDir + L"lrdep.dll"}, {"decoy", std::wstring(sys) + L"\\..\\lrdep.dll"}};
    CreateDirectoryW((mdac + L"MSADC").c_str(), nullptr);
    for (const auto& [from, to] : placed) ASSERT_TRUE(CopyFileW(testdlls::TestDll(std::string(from) + ".dll").c_str(), to.c_str(), FALSE)) << from;
    SetCurrentDirectoryW((std::wstring(sys) + L"\\..").c_str());  // the decoy's folder
    write(jet + L"msjetoledb40.dll", "MZ not a DLL");
    write(jet + L"msjint40.dll", "");
    CreateDirectoryW((jet + L"mswstr10.dll").c_str(), nullptr);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    Open(true);
    ClickTab(2);
    ui::Control& jetView = (*form)[lvwJetFiles];
    std::map<std::wstring, std::wstring> shown;
    for (int i = 0; i < jetView.ItemCount(); ++i) shown[jetView.ItemText(i, 0)] = jetView.ItemText(i, 1);
    EXPECT_EQ(shown, (std::map<std::wstring, std::wstring>{
        {L"msjet40.dll", L"1.0.0"}, {L"msjtes40.dll", L"3.2.1"}, {L"msjetoledb40.dll", L"N/A"},
        {L"mswstr10.dll", L"N/A"}, {L"msjint40.dll", L"N/A"}, {L"msjter40.dll", L"N/A"}}));
    EXPECT_EQ((*form)[Label24].Caption(), L"1.0.0");

    boxText.clear();
    tabsToClick = H(TabStrip1);
    SetTimer(nullptr, 0, 100, ClickMdacTab);  // due while msjet40.dll runs its own loop
    SetTimer(nullptr, 0, 50, CloseBox);
    PostMessageW(H(Command3), BM_CLICK, 0, 0);
    form->DoEvents();
    EXPECT_EQ(testdlls::Recorded(), L"msjet40.dll;");
    EXPECT_NE(boxText.find(jet + L"msjtes40.dll\r\n    0x800700C1"), std::wstring::npos) << boxText;
    for (const wchar_t* name : {L"msjet40.dll", L"msjetoledb40", L"mswstr10", L"msjint40", L"msjter40"})
        EXPECT_EQ(boxText.find(name), std::wstring::npos) << name;
    EXPECT_TRUE(Shown(picMDAC)) << "the click dispatched inside the component switched the page";
    EXPECT_TRUE(Shown(Command3));
    EXPECT_FALSE(Shown(ProgressBar3));

    boxText.clear();
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    SetTimer(nullptr, 0, 50, CloseBox);
    PostMessageW(H(Command1), BM_CLICK, 0, 0);
    form->DoEvents();
    EXPECT_EQ(testdlls::Recorded(), L"MSADOR15.DLL;MSADOX.DLL;MSADCE.DLL;");
    EXPECT_NE(boxText.find(mdac + L"ado\\MSADRH15.DLL\r\n    0x8007007E"), std::wstring::npos) << boxText;
    EXPECT_NE(boxText.find(mdac + L"ado\\MSADOX.DLL\r\n    0x80070005"), std::wstring::npos);
    EXPECT_NE(boxText.find(texts.Text(211)), std::wstring::npos);
    EXPECT_EQ(boxText.find(L"MSADOR15"), std::wstring::npos);
    EXPECT_EQ(boxText.find(L"MSADCE"), std::wstring::npos);
    EXPECT_EQ(testdlls::Recorded(L"Loads"), L"") << "a decoy was loaded";
    EXPECT_TRUE(Shown(Command1));

    for (const auto& entry : placed) DeleteFileW(entry.second.c_str());
    for (const wchar_t* name : {L"msjetoledb40.dll", L"msjint40.dll"}) DeleteFileW((jet + name).c_str());
    RemoveDirectoryW((jet + L"mswstr10.dll").c_str());
    RemoveDirectoryW((mdac + L"MSADC").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    RecordProperty("hostile_files", 3);       // for scripts/hostile.sh
    RecordProperty("hostile_components", 7);  // with the decoy
}

}  // namespace
