// The real window in-process: the Win32 toolkit makes frmLumoraRepair's controls from the
// layout inside this test program under Wine, on the real platform groups, as the program's
// entry makes them. Read through the toolkit's controls; keys, clicks and notifications go
// through the real message path (posted or sent to the control's HWND, then DoEvents). The
// rules themselves are the unit tests' business; this shows that the toolkit carries them out.
#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "platform/text_ids.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/ui/control.h"
#include "platform/win32/ui/form.h"
#include "snapshots/snapshots.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace ctl;
using testdlls::Recorded;
using testdlls::Until;

bool IsClass(HWND h, const wchar_t* name) {
    wchar_t found[64] = {};
    GetClassNameW(h, found, 64);
    return lstrcmpW(found, name) == 0;
}

// The window in the product form asked for (HKCR\.lma: the prefix belongs to this test run),
// an MDAC older than the one offered (its link shown), its registration workers the product's exe.
struct ShownWindow {
    explicit ShownWindow(bool product) {
        // The last window's end posted WM_QUIT: taken off the queue so this one's DoEvents runs.
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {}
        const wchar_t mdac[] = L"2.70.7713.4";
        const wchar_t* key = L"Software\\Microsoft\\DataAccess";
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"FullInstallVer", REG_SZ, mdac, sizeof mdac);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
        if (product) RegSetValueW(HKEY_CLASSES_ROOT, L".lma", REG_SZ, L"", 0);
        window.Form_Initialize();
        if (!form.Create(window, app::kClientWidth, app::kClientHeight)) return;
        window.Form_Load();
        form.Show();
        form.DoEvents();
        top = FindWindowW(L"LumoraRepair", nullptr);
    }
    win32::PlatformServices platform{testdlls::ProductExe()};
    win32::Form form{GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK};
    app::frmLumoraRepair window{platform.services, form};
    HWND top = nullptr;  // none when the window could not be made
};

// The next message box (#32770) or popup menu (#32768) is handed to `look` from a timer that
// runs inside its modal loop, then closed.
void OnNext(const wchar_t* kind, std::function<void(HWND)> look) {
    static std::function<void(HWND)> pending;
    static const wchar_t* wanted = nullptr;
    pending = std::move(look);
    wanted = kind;
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) CALLBACK -> void {
        // A box is this thread's active window; a menu never is.
        const HWND up = lstrcmpW(wanted, L"#32770") == 0 ? GetActiveWindow() : FindWindowW(wanted, nullptr);
        if (!IsClass(up, wanted) || !IsWindowVisible(up)) return;
        KillTimer(nullptr, timer);
        pending(up);
        if (IsClass(up, L"#32768")) EndMenu();
        else PostMessageW(up, WM_CLOSE, 0, 0);
    });
}

class RealWindow : public testing::Test {
protected:
    void Open(bool product) {
        shown = std::make_unique<ShownWindow>(product);
        ASSERT_NE(top = shown->top, nullptr);
    }
    HWND H(int id) { return static_cast<win32::Control&>(shown->form[id]).Hwnd(); }
    bool Shown(int id) { return (GetWindowLongW(H(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    int Focused() { return GetDlgCtrlID(GetFocus()); }
    // A key as the message loop gets it from the keyboard, the modifiers asked for held.
    void Key(WPARAM vk, bool ctrl = false, bool shift = false) {
        BYTE state[256] = {};
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageW(GetFocus() ? GetFocus() : top, WM_KEYDOWN, vk, 1);
        shown->form.DoEvents();
    }
    // A mouse click on tab n (from 1), as the tab strip receives it; the page follows from the
    // tab timer. `pump`: this thread runs the window's messages meanwhile.
    bool ClickTab(int n, bool pump = true) {
        RECT r{};
        SendMessageW(H(TabStrip1), TCM_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(H(TabStrip1), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(H(TabStrip1), WM_LBUTTONUP, 0, at);
        return Until([&] { return (pump ? shown->form.DoEvents() : void()), Shown(picMDAC + n - 1); }, 5000);
    }
    // The next address the real shell handed to Wine's browser, the script CMake made that notes
    // each one; the window opens it from a timer, so its messages run meanwhile.
    std::wstring Opened() {
        const std::filesystem::path noted = testdlls::BuildPath(LR_BROWSER_DIR "/opened.txt");
        std::wstring line;
        Until([&] {
            shown->form.DoEvents();
            std::wifstream in(noted);
            return std::getline(in, line) && !in.eof();
        }, 30000);
        std::filesystem::remove(noted);
        return line;
    }

    std::unique_ptr<ShownWindow> shown;
    HWND top = nullptr;
};

// What the toolkit carries out. A header click reaches its list (the order it sorts in is the
// snapshots'); pages by mouse and keyboard and the tab order across containers; links by a
// click, Enter and Space through the real shell to Wine's browser (the addresses are the unit
// tests'); Ctrl+A and Ctrl+C onto the real clipboard and the list's context menu; Enter on the
// focused button (About: the real message box, its lines parted by a lone CR, the focus back
// after it); link colour and the hand cursor; the window's own item in the system menu (the
// report on the real clipboard); a handler (About's box) still has its window when the window
// is closed meanwhile, which goes when the handler returns. Esc is the misbehaving components' test's.
TEST_F(RealWindow, ListPagesKeysLinksAndBoxes) {
    // Wine opens web addresses with the first program of this list: the script that notes them.
    const std::wstring script = L"" LR_BROWSER_DIR "/browser.sh";
    const auto bytes = static_cast<DWORD>((script.size() + 1) * sizeof(wchar_t));
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers", REG_SZ, script.c_str(), bytes);
    std::filesystem::remove(testdlls::BuildPath(LR_BROWSER_DIR "/opened.txt"));
    Open(false);
    ui::ListView& view = shown->form.ListOf(lvwMDACFiles);
    NMLISTVIEW note{};
    note.hdr = {H(lvwMDACFiles), static_cast<UINT_PTR>(lvwMDACFiles), static_cast<UINT>(LVN_COLUMNCLICK)};
    note.iSubItem = 1;
    SendMessageW(GetParent(H(lvwMDACFiles)), WM_NOTIFY, lvwMDACFiles, reinterpret_cast<LPARAM>(&note));
    EXPECT_TRUE(view.Sorted());
    EXPECT_EQ(view.SortKey(), 1);

    // The prefix's Windows is newer than XP: the re-register buttons carry the icon.
    BUTTON_IMAGELIST images{};
    SendMessageW(H(Command1), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    EXPECT_NE(images.himl, nullptr);
    const auto front = [&](int page, int focus) {
        for (int p : {picMDAC, picJET, picWindows}) EXPECT_EQ(Shown(p), p == page) << "page " << page;
        EXPECT_EQ(Focused(), focus) << "page " << page;
    };
    EXPECT_TRUE(ClickTab(2));
    front(picJET, cmdQuit);
    const auto text = [&](int id) { return shown->platform.texts.Text(id); };
    PostMessageW(H(Label23), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(H(Label23), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Opened(), text(IDS_URL_COMPONENTS_DOWNLOAD)) << "a click on a link";
    // Ctrl+Tab round to the first, Ctrl+Shift+Tab back; Tab from cmdQuit to the tab strip, the
    // MDAC page's link, its list, Shift+Tab back.
    struct Step { int ctrl, shift, page, focus; };
    for (const Step& step : {Step{1, 0, picWindows, cmdQuit}, {1, 0, picMDAC, cmdQuit}, {1, 1, picWindows, cmdQuit},
                             {1, 0, picMDAC, cmdQuit}, {0, 0, picMDAC, TabStrip1}, {0, 0, picMDAC, Label19},
                             {0, 0, picMDAC, lvwMDACFiles}, {0, 1, picMDAC, Label19}}) {
        Key(VK_TAB, step.ctrl, step.shift);
        front(step.page, step.focus);
    }
    for (const WPARAM key : {VK_RETURN, VK_SPACE}) {
        Key(key);
        EXPECT_EQ(Opened(), text(IDS_URL_MDAC_DOWNLOAD)) << "key " << key << " on the focused link";
    }

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    SetFocus(H(lvwMDACFiles));
    Key('A', true);
    Key('C', true);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(EnumClipboardFormats(0), UINT{CF_UNICODETEXT}) << "Ctrl+A, Ctrl+C: the list as Unicode text";
    EmptyClipboard();
    CloseClipboard();
    bool menu = false;
    OnNext(L"#32768", [&](HWND) { menu = true; });
    PostMessageW(H(lvwMDACFiles), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 30));
    PostMessageW(H(lvwMDACFiles), WM_RBUTTONUP, 0, MAKELPARAM(10, 30));
    shown->form.DoEvents();
    EXPECT_TRUE(menu) << "the list's context menu";
    // The report's text is the snapshots'; here the system menu's command puts it on the clipboard.
    SendMessageW(top, WM_SYSCOMMAND, 0x100, 0);
    shown->form.DoEvents();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

    std::wstring about;
    SetFocus(H(cmdAbout));
    OnNext(L"#32770", [&](HWND box) { about = win32::WindowText(GetDlgItem(box, 0xFFFF)); });
    Key(VK_RETURN);
    EXPECT_EQ(about.rfind(text(IDS_CAPTION_NOT_INSTALLED) + L"\rVersion 1.1\r\r", 0), 0u) << about.substr(0, 80);
    EXPECT_EQ(Focused(), cmdAbout);

    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(top, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(H(lblLumoraAdLink)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    DeleteDC(dc);
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_LINK));
    for (const int label : {lblLumoraAd, lblLumoraAdLink}) {
        SetCursor(nullptr);
        SendMessageW(top, WM_SETCURSOR, reinterpret_cast<WPARAM>(H(label)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == hand, label == lblLumoraAdLink) << label;
    }

    bool aliveDuring = false;
    OnNext(L"#32770", [&](HWND) {
        SendMessageW(top, WM_CLOSE, 0, 0);
        aliveDuring = IsWindow(top);
    });
    SendMessageW(H(cmdAbout), BM_CLICK, 0, 0);
    EXPECT_TRUE(aliveDuring);
    EXPECT_FALSE(IsWindow(top));
}

// A second thread, as a second user: on the Win32 threads the 32-bit build has, which know no
// std::thread.
struct Thread {
    std::function<void()> run;
    static DWORD CALLBACK Main(void* self) {
        static_cast<Thread*>(self)->run();
        return 0;
    }
    HANDLE handle = CreateThread(nullptr, 0, Main, this, 0, nullptr);
    void join() {
        WaitForSingleObject(handle, INFINITE);
        CloseHandle(handle);
    }
};

// Components that crash, end their process, take 10 s, never return or ask the user (a box
// titled "lrtest"), through the real buttons, each call in a worker that is the product's exe;
// one answering S_FALSE and one running its own message loop are fine. A user on a second
// thread finds the window answering, painting and switching pages while a component is in its
// call; each misbehaving file is named with what it did and every other one registered once,
// in order; Esc during a call ends its worker at once, and then the window.
TEST_F(RealWindow, ComponentsThatMisbehaveInTheirWorkers) {
    const std::wstring mdac = std::wstring(_wgetenv(L"CommonProgramFiles")) + L"\\System\\";
    const std::pair<const char*, std::wstring> placed[] = {
        {"sfalse", mdac + L"ado\\MSADOR15.DLL"}, {"crash", mdac + L"ado\\MSADRH15.DLL"},
        {"exits", mdac + L"ado\\MSADOX.DLL"}, {"slow10", mdac + L"ado\\MSJRO.DLL"},
        {"hangs", mdac + L"MSADC\\MSADCE.DLL"}, {"asks", mdac + L"MSADC\\MSADCO.DLL"},
        {"pumps", mdac + L"MSADC\\MSADDS.DLL"}, {"hangs", testdlls::SystemFile(L"msjet40.dll")}};
    CreateDirectoryW((mdac + L"MSADC").c_str(), nullptr);
    for (const auto& [from, to] : placed)
        ASSERT_TRUE(CopyFileW(testdlls::TestDll(std::string(from) + ".dll").c_str(), to.c_str(), FALSE));
    const DWORD no = 0;  // nor Wine's crash dialog, should a crash get past the worker
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog", REG_DWORD, &no, sizeof no);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    Open(false);
    shown->window.RegisterTimeoutMs = 12000;  // more than 10 s; the product's is a minute
    std::wstring warning;
    std::atomic<bool> done{false};
    Thread user{[&] {
        const auto inCall = [] { return Recorded().ends_with(L"MSJRO.DLL;"); };
        EXPECT_TRUE(Until(inCall));
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        EXPECT_TRUE(SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr));
        EXPECT_TRUE(Until([&] { return !GetUpdateRect(top, nullptr, FALSE); }, 5000)) << "no repaint";
        EXPECT_TRUE(ClickTab(2, false));
        EXPECT_TRUE(inCall()) << "all that while the component was in its call";
        // Waited for past a call's time while it asks the user.
        EXPECT_TRUE(Until([] { return FindWindowW(L"#32770", L"lrtest") != nullptr; }));
        Sleep(shown->window.RegisterTimeoutMs + 1000);
        HWND box = nullptr;
        Until([&] {
            // Dismissed, and again should a first close not reach it: never left up.
            if (const HWND asks = FindWindowW(L"#32770", L"lrtest")) PostMessageW(asks, WM_COMMAND, IDOK, 0);
            return (box = FindWindowW(L"#32770", L"LumoraRepair")) != nullptr || done;
        }, 600000);
        warning = win32::WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }};
    PostMessageW(H(Command1), BM_CLICK, 0, 0);
    shown->form.DoEvents();
    done = true;
    user.join();
    EXPECT_EQ(Recorded(), L"MSADOR15.DLL;MSADRH15.DLL;MSADOX.DLL;MSJRO.DLL;MSADCE.DLL;MSADCO.DLL;MSADDS.DLL;");
    // The write through null is an access violation; the 32-bit Wine under qemu-user reports
    // it as an illegal instruction (0xC000001D). Either way the code and the crash are named;
    // the others fine.
    const std::wstring crash = sizeof(void*) == 8 ? L"0xC0000005  " : L"0xC000001D  ";
    const auto text = [&](int id) { return shown->platform.texts.Text(id); };
    const std::wstring ado = L"\r\n\r\n" + mdac + L"ado\\";
    EXPECT_EQ(warning, text(IDS_REGISTER_FAILED) + ado + L"MSADRH15.DLL\r\n    " + crash + text(IDS_COMPONENT_CRASHED) +
                           ado + L"MSADOX.DLL\r\n    0x00000007  " + text(IDS_COMPONENT_EXITED) + L"\r\n\r\n" + mdac +
                           L"MSADC\\MSADCE.DLL\r\n    " + text(IDS_COMPONENT_TIMED_OUT));

    // Esc during a call that never returns: the worker ends at once, and then the window.
    EXPECT_TRUE(ClickTab(2));
    Thread closer{[&] {
        if (Until([] { return Recorded().ends_with(L"msjet40.dll;"); })) PostMessageW(top, WM_KEYDOWN, VK_ESCAPE, 1);
    }};
    PostMessageW(H(Command3), BM_CLICK, 0, 0);
    shown->form.DoEvents();
    closer.join();
    EXPECT_FALSE(IsWindow(top));
    // A component's file is kept from deletion while a worker has it loaded.
    for (const auto& [from, to] : placed)
        EXPECT_TRUE(Until([&] { return DeleteFileW(to.c_str()) != 0; }, 5000)) << "a worker outlived its run: " << to;
    RecordProperty("hostile_components", 8);  // for scripts/hostile.sh
}

// A component that registers its class to itself (testdlls: jetprovider, as the Jet provider):
// not registered before the Jet command, this file right after it (the class's server as it
// was loaded, by its short path). ctest runs it in English and German.
TEST_F(RealWindow, ReRegisterShowsTheClassReachingItsFile) {
    const std::wstring provider = testdlls::SystemFile(L"msjetoledb40.dll");
    ASSERT_TRUE(CopyFileW(testdlls::TestDll("jetprovider.dll").c_str(), provider.c_str(), FALSE));
    RegDeleteKeyExW(HKEY_CLASSES_ROOT, L"Microsoft.Jet.OLEDB.4.0\\CLSID", KEY_WOW64_32KEY, 0);
    Open(false);
    EXPECT_TRUE(ClickTab(2));
    ui::ListView& view = shown->form.ListOf(lvwJetFiles);
    const auto verdict = [&] {
        for (int i = 0; i < view.ItemCount(); ++i)
            if (view.ItemText(i, 0) == L"msjetoledb40.dll") return view.ItemText(i, 2) + L"|" + view.ItemText(i, 3);
        return std::wstring(L"no row");
    };
    const auto text = [&](int id) { return shown->platform.texts.Text(id) + L"|" + provider; };
    EXPECT_EQ(verdict(), text(IDS_REACH_NOT_REGISTERED));
    PostMessageW(H(Command3), BM_CLICK, 0, 0);
    shown->form.DoEvents();
    EXPECT_EQ(verdict(), text(IDS_REACH_THIS_FILE));
    SendMessageW(top, WM_CLOSE, 0, 0);
    DeleteFileW(provider.c_str());
}

// A group box is transparent inside.
bool Hollow(HWND h) { return IsClass(h, L"Button") && (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX; }

// Where a label or button draws its text, on the screen, measured with its own font as it
// draws it (a static breaks lines between words, a button centres); `problem` says what is
// wrong inside the window itself.
RECT TextExtent(HWND h, std::wstring& problem) {
    const std::wstring text = win32::WindowText(h);
    RECT r{}, client{};
    const bool button = IsClass(h, L"Button");
    if (text.empty() || (!button && !IsClass(h, L"Static"))) return r;
    GetClientRect(h, &client);
    HDC dc = GetDC(h);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
    r.right = button ? 0 : client.right;
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (button ? DT_SINGLELINE : DT_WORDBREAK));
    ReleaseDC(h, dc);
    BUTTON_IMAGELIST images{};
    int cx = 0;
    int cy = 0;
    if (Hollow(h)) OffsetRect(&r, 8, 0);  // a group box's caption
    else if (button) OffsetRect(&r, (client.right - r.right) / 2, (client.bottom - r.bottom) / 2);
    if (button && SendMessageW(h, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)) && images.himl &&
        ImageList_GetIconSize(images.himl, &cx, &cy) && r.left < images.margin.left + cx)
        problem = L"over its icon";
    if (r.right > client.right || r.bottom > client.bottom) problem += L"cut";
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A file list: every column but the last as wide as its widest text, header included, and
// all of them inside the view; the last takes the rest (its cells show the rest as a tip).
void ExpectColumnsFit(ui::ListView& list, HWND view, const std::wstring& where) {
    RECT client{};
    GetClientRect(view, &client);
    int used = 0;
    for (int column = 0; column < list.ColumnCount(); ++column) {
        const int width = static_cast<int>(SendMessageW(view, LVM_GETCOLUMNWIDTH, column, 0));
        used += width;
        if (column == list.ColumnCount() - 1) break;
        std::vector<std::wstring> cells{list.ColumnCaption(column + 1)};  // captions count from 1
        for (int row = 0; row < list.ItemCount(); ++row) cells.push_back(list.ItemText(row, column));
        for (const std::wstring& cell : cells) {
            const LPARAM text = reinterpret_cast<LPARAM>(cell.c_str());
            const int needs = static_cast<int>(SendMessageW(view, LVM_GETSTRINGWIDTHW, 0, text));
            EXPECT_GE(width, needs + 12) << where << ", column " << column << " \"" << cell << "\"";
        }
    }
    EXPECT_EQ(used, client.right) << where << ": the last column takes the rest";
}

void ExpectReadable(ShownWindow& window, const std::wstring& where) {
    const HWND top = window.top;
    std::vector<HWND> shown;
    EnumChildWindows(top, [](HWND h, LPARAM p) CALLBACK -> BOOL {
        if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&shown));
    int texts = 0;
    for (auto h = shown.begin(); h != shown.end(); ++h) {
        if (IsClass(*h, WC_LISTVIEWW))
            ExpectColumnsFit(window.form.ListOf(ui::ListViewId{GetDlgCtrlID(*h)}), *h, where);
        std::wstring problem;
        const RECT text = TextExtent(*h, problem);
        if (IsRectEmpty(&text)) continue;
        ++texts;
        // The enumeration goes down the z-order, each window followed by its own: of those
        // before h, the ones that are not its ancestors are drawn over it.
        for (auto other = shown.begin(); other != h; ++other) {
            RECT r{}, both{};
            GetWindowRect(*other, &r);
            if (!Hollow(*other) && !IsChild(*other, *h) && IntersectRect(&both, &text, &r))
                problem += L" under id " + std::to_wstring(GetDlgCtrlID(*other));
        }
        EXPECT_EQ(problem, L"") << where << ", id " << GetDlgCtrlID(*h) << " \"" << win32::WindowText(*h) << "\"";
    }
    EXPECT_GT(texts, 0) << where;
}

// The fakes' snapshots, rendered from the real toolkit with the real texts and resources on
// the same made-up machines, in the language of the run.
TEST(RealSnapshots, EveryPageTheListsAndTheReport) {
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    win32::Texts texts;
    for (const bool product : {false, true})
        for (const snapshots::State state : snapshots::kStates) {
            const std::string name = snapshots::Name(state, product, german);
            SCOPED_TRACE(name);
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {}
            snapshots::Machine machine(state, product, texts);
            win32::Form form{GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK};
            app::frmLumoraRepair window{machine.services, form};
            window.Form_Initialize();
            ASSERT_TRUE(form.Create(window, app::kClientWidth, app::kClientHeight));
            window.Form_Load();
            form.Show();
            form.DoEvents();
            snapshots::Expect(name, snapshots::Tour(window, {form, [&] { form.DoEvents(); }}));
        }
}

// No text a user must read is covered or cut, on every page, both product forms, at 96, 120
// and 144 DPI. ctest runs it in English and German, in the test prefix and in one with Wine's
// default fonts alone (tests/wine.cmake). The DPI is taken when a process starts, so each DPI
// is a run of this same test in a child.
TEST(Readable, EveryTextInEverySetting) {
    wchar_t setting[64] = {}, fonts[16] = L"test", exe[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"LR_FONTS", fonts, 16)) lstrcpyW(fonts, L"test");  // "plain": Wine's own alone
    if (!GetEnvironmentVariableW(L"LR_READABLE_DPI", setting, 64)) {
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        for (const DWORD dpi : {96u, 120u, 144u}) {
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
            SetEnvironmentVariableW(L"LR_READABLE_DPI", std::to_wstring(dpi).c_str());
            EXPECT_EQ(_wspawnl(_P_WAIT, exe, exe, L"--gtest_filter=Readable.*", nullptr), 0) << dpi << " DPI";
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
        return;
    }
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), _wtoi(setting)) << "the DPI took";
    LOGFONTW tahoma{0, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"};
    const auto none = [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) CALLBACK -> int { return 0; };
    EXPECT_EQ(EnumFontFamiliesExW(screen, &tahoma, none, 0, 0) == 0, lstrcmpW(fonts, L"plain") != 0) << "the fonts";
    ReleaseDC(nullptr, screen);
    for (const bool product : {true, false}) {
        ShownWindow shown(product);
        ASSERT_NE(shown.top, nullptr);
        const std::wstring where = std::wstring(setting) + L" DPI, " + (product ? L"installed" : L"not installed");
        for (int tab = 0; tab < shown.form.TabsOf(TabStrip1).TabCount(); ++tab) {
            SendMessageW(GetDlgItem(shown.top, TabStrip1), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
            shown.form.DoEvents();
            ExpectReadable(shown, where + L" page " + std::to_wstring(tab + 1));
        }
    }
}

}  // namespace
