// The real window in-process: the Win32 toolkit makes frmLumoraRepair's controls from the
// layout inside this test program under Wine, on the real platform groups. Read through the
// toolkit's Control interface; keys, clicks and notifications go through the real message
// path (posted or sent to the control's HWND, then DoEvents). The rules themselves are the
// unit tests' business; this shows that the toolkit carries them out.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "platform/text_ids.h"
#include "testdlls/test_dlls.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/ui/form.h"

namespace {

using namespace ctl;

HWND TopWindow() { return FindWindowW(L"LumoraRepair", nullptr); }

// Polls for the state a step needs, up to `ms`; false when it never comes.
bool Until(const std::function<bool()>& state, DWORD ms = 60000) {
    for (const DWORD end = GetTickCount() + ms; !state(); Sleep(20))
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
    return true;
}

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

// Test DLLs the hostile test places where the pages look, by the folder they go to: the
// system folder, the MDAC folder below Common Files, the exe's folder and the one above the
// system folder.
struct Placed { const char* dll; int folder; const wchar_t* name; };
const Placed kPlaced[] = {
    {"pumps", 0, L"msjet40.dll"}, {"otherarch", 0, L"msjtes40.dll"}, {"denied", 1, L"ado\\MSADOX.DLL"},
    {"sfalse", 1, L"ado\\MSADOR15.DLL"}, {"withdep", 1, L"ado\\MSADRH15.DLL"}, {"withdep", 1, L"MSADC\\MSADCE.DLL"},
    {"lrdep", 1, L"MSADC\\lrdep.dll"}, {"decoy", 2, L"lrdep.dll"}, {"decoy", 3, L"lrdep.dll"}};
std::wstring PlacedPath(const Placed& p) {
    wchar_t sys[MAX_PATH] = {}, common[MAX_PATH] = {}, exe[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring folders[] = {std::wstring(sys) + L"\\", std::wstring(common) + L"\\System\\",
                                    std::wstring(exe).substr(0, std::wstring(exe).rfind(L'\\') + 1), std::wstring(sys) + L"\\..\\"};
    return folders[p.folder] + p.name;
}

class RealWindow : public testing::Test {
protected:
    // Every test starts from the prefix as Wine made it: a run stopped halfway may have left
    // the hostile test's files behind (Wine does not let a DLL that failed to load be removed
    // by the process that tried).
    void SetUp() override {
        for (const Placed& p : kPlaced) DeleteFileW(PlacedPath(p).c_str());
    }
    void Open(bool product) {
        TearDown();
        SetProduct(product);
        form = std::make_unique<win32::Form>(GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON,
                                             IDC_HAND_LINK);
        window = std::make_unique<app::frmLumoraRepair>(platform.services, *form);
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
        // The page follows from the tab timer: done once the page the tab names is up.
        const int page = picMDAC + n - 1;
        Until([&] { return form->DoEvents(), Shown(page); }, 5000);
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

    // The product's exe in its worker's part. No link is clicked here: the browser is the
    // end-to-end run's business.
    win32::PlatformServices platform{testdlls::ProductExe()};
    win32::Texts& texts = platform.texts;
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

// Hostile components where the pages look, under the search the program sets at start,
// through the real buttons: the ones that fail (other architecture, access denied, a helper
// missing) are named in the one warning, with the administrator line; S_FALSE, a helper
// beside the component and one running its own message loop are fine; a decoy of the helper
// beside the exe or in the current folder is never loaded.
TEST_F(RealWindow, HostileFilesAndComponentsThroughTheButtons) {
    ASSERT_TRUE(win32::RestrictDllSearch());
    wchar_t sys[MAX_PATH] = {}, common[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    const std::wstring jet = std::wstring(sys) + L"\\", mdac = std::wstring(common) + L"\\System\\";
    CreateDirectoryW((mdac + L"MSADC").c_str(), nullptr);
    for (const Placed& p : kPlaced) ASSERT_TRUE(CopyFileW(testdlls::TestDll(std::string(p.dll) + ".dll").c_str(), PlacedPath(p).c_str(), FALSE)) << p.dll;
    SetCurrentDirectoryW((std::wstring(sys) + L"\\..").c_str());  // the decoy's folder
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    Open(true);
    ClickTab(2);
    EXPECT_EQ((*form)[Label24].Caption(), L"1.0.0");
    boxText.clear();
    SetTimer(nullptr, 0, 50, CloseBox);
    PostMessageW(H(Command3), BM_CLICK, 0, 0);
    form->DoEvents();
    EXPECT_EQ(testdlls::Recorded(), L"msjet40.dll;");
    EXPECT_NE(boxText.find(jet + L"msjtes40.dll\r\n    0x800700C1"), std::wstring::npos) << boxText;
    // The system's text for the other architecture takes the file's name, never a raw insert.
    const std::size_t reason = boxText.find(L"0x800700C1  ");
    const std::wstring line = boxText.substr(reason, boxText.find(L"\r\n", reason) - reason);
    EXPECT_TRUE(line.find(L"msjtes40.dll") != std::wstring::npos && line.find(L'%') == std::wstring::npos) << line;
    EXPECT_EQ(boxText.find(L"msjet40.dll"), std::wstring::npos);
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

    for (const Placed& p : kPlaced) DeleteFileW(PlacedPath(p).c_str());
    RemoveDirectoryW((mdac + L"MSADC").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    RecordProperty("hostile_components", 7);  // with the decoy, for scripts/hostile.sh
}

// The window's own item in the system menu puts the report on the real clipboard; About shows
// the real message box, its lines parted by a lone CR.
TEST_F(RealWindow, SystemMenuReportAndAboutBox) {
    Open(false);
    if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
    SendMessageW(top, WM_SYSCOMMAND, 0x100, 0);
    form->DoEvents();
    std::wstring report;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) report = static_cast<const wchar_t*>(GlobalLock(data)), GlobalUnlock(data);
        CloseClipboard();
    }
    EXPECT_EQ(report.rfind(L"LumoraRepair 1.10.0.48\r\n", 0), 0u) << report.substr(0, 80);
    boxText.clear();
    SetTimer(nullptr, 0, 50, CloseBox);
    SendMessageW(H(cmdAbout), BM_CLICK, 0, 0);
    EXPECT_EQ(boxText.rfind(texts.Text(IDS_CAPTION_NOT_INSTALLED) + L"\rVersion 1.1\r\r", 0), 0u) << boxText.substr(0, 80);
    EXPECT_EQ(Focused(), cmdAbout);  // back where it was before the box
}

using testdlls::Recorded;

// A second thread, as a second user: on the Win32 threads the 32-bit build has, which know no
// std::thread.
class Thread {
public:
    explicit Thread(std::function<void()> run) : run_(std::move(run)) {
        handle_ = CreateThread(nullptr, 0, [](void* self) CALLBACK -> DWORD {
            return static_cast<Thread*>(self)->run_(), 0;
        }, this, 0, nullptr);
    }
    void join() { WaitForSingleObject(handle_, INFINITE), CloseHandle(handle_); }

private:
    std::function<void()> run_;
    HANDLE handle_;
};

// A message box by title, of this process or of another (a component's in its worker).
HWND Box(const wchar_t* title, bool ours) {
    const HWND box = FindWindowW(L"#32770", title);
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    return box && (owner == GetCurrentProcessId()) == ours ? box : nullptr;
}
int Workers() {
    int count = 0;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        count += lstrcmpiW(entry.szExeFile, L"LumoraRepair.exe") == 0;
    CloseHandle(snapshot);
    return count;
}

// Components that crash, end their process, take 10 s, never return or ask the user, through
// the real buttons, each call in a worker that is the product's exe. A user on a second
// thread finds the window answering, painting, switching pages and opening About while a
// component is in its call; each misbehaving file is named with what it did and every other
// one registered once, in order; closing the window during a call ends its worker at once.
TEST_F(RealWindow, ComponentsThatMisbehaveInTheirWorkers) {
    wchar_t sys[MAX_PATH] = {}, common[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    const std::wstring mdac = std::wstring(common) + L"\\System\\";
    const std::pair<const char*, std::wstring> placed[] = {
        {"ver_2_80_1022_3", mdac + L"ado\\MSADOR15.DLL"}, {"crash", mdac + L"ado\\MSADRH15.DLL"},
        {"exits", mdac + L"ado\\MSADOX.DLL"}, {"slow10", mdac + L"ado\\MSJRO.DLL"},
        {"hangs", mdac + L"MSADC\\MSADCE.DLL"}, {"asks", mdac + L"MSADC\\MSADCO.DLL"},
        {"ver_2_80_1022_3", mdac + L"MSADC\\MSADDS.DLL"}, {"hangs", std::wstring(sys) + L"\\msjet40.dll"}};
    CreateDirectoryW((mdac + L"MSADC").c_str(), nullptr);
    for (const auto& [from, to] : placed) ASSERT_TRUE(CopyFileW(testdlls::TestDll(std::string(from) + ".dll").c_str(), to.c_str(), FALSE));
    const DWORD no = 0;  // nor Wine's crash dialog, should a crash get past the worker
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog", REG_DWORD, &no, sizeof no);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    Open(true);
    window->RegisterTimeoutMs = 12000;  // more than 10 s; the product's is a minute
    const HWND tabs = H(TabStrip1), about = H(cmdAbout);
    std::wstring warning;
    std::atomic<bool> done{false};
    Thread user([&] {
        const auto inCall = [](const wchar_t* file) { return Recorded().ends_with(file); };
        EXPECT_TRUE(Until([&] { return inCall(L"MSJRO.DLL;"); }));
        DWORD_PTR result = 0;
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        EXPECT_TRUE(SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result));
        EXPECT_TRUE(Until([&] { return !GetUpdateRect(top, nullptr, FALSE); }, 5000)) << "no repaint";
        RECT r{};
        SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 5));
        PostMessageW(tabs, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 5, r.top + 5));
        EXPECT_TRUE(Until([&] { return Shown(picJET); }, 5000));
        PostMessageW(about, BM_CLICK, 0, 0);
        HWND box = nullptr;
        EXPECT_TRUE(Until([&] { return (box = Box(texts.Text(IDS_ABOUT).c_str(), true)) != nullptr; }, 5000));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(inCall(L"MSJRO.DLL;")) << "all that while the component was in its call";
        // Waited for past a call's time while it asks the user.
        EXPECT_TRUE(Until([&] { return (box = Box(L"lrtest", false)) != nullptr; }));
        Sleep(window->RegisterTimeoutMs + 1000);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Until([&] {
            if (const HWND asks = Box(L"lrtest", false)) PostMessageW(asks, WM_COMMAND, IDOK, 0);  // never left up
            return (box = Box(L"LumoraRepair", true)) != nullptr || done;
        }, 600000);
        wchar_t text[4096] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 4096);
        warning = text;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    PostMessageW(H(Command1), BM_CLICK, 0, 0);
    form->DoEvents();
    done = true;
    user.join();
    EXPECT_EQ(Recorded(), L"MSADOR15.DLL;MSADRH15.DLL;MSADOX.DLL;MSJRO.DLL;MSADCE.DLL;MSADCO.DLL;MSADDS.DLL;");
    // The write through null is an access violation; the 32-bit Wine under qemu-user reports
    // it as an illegal instruction (0xC000001D). Either way the code and the crash are named.
    const std::wstring crash = sizeof(void*) == 8 ? L"0xC0000005  " : L"0xC000001D  ";
    for (const std::wstring& named : {mdac + L"ado\\MSADRH15.DLL\r\n    " + crash + texts.Text(IDS_COMPONENT_CRASHED),
                                      mdac + L"ado\\MSADOX.DLL\r\n    0x00000007  " + texts.Text(IDS_COMPONENT_EXITED),
                                      mdac + L"MSADC\\MSADCE.DLL\r\n    " + texts.Text(IDS_COMPONENT_TIMED_OUT)})
        EXPECT_NE(warning.find(named), std::wstring::npos) << testing::PrintToString(warning);
    for (const wchar_t* fine : {L"MSADOR15", L"MSJRO", L"MSADCO", L"MSADDS"}) EXPECT_EQ(warning.find(fine), std::wstring::npos);

    // Closed during a call that never returns: the worker ends at once, and then the window.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    ClickTab(2);
    Thread closer([&] {
        if (Until([] { return Recorded() == L"msjet40.dll;"; })) PostMessageW(top, WM_CLOSE, 0, 0);
    });
    PostMessageW(H(Command3), BM_CLICK, 0, 0);
    form->DoEvents();
    closer.join();
    EXPECT_FALSE(IsWindow(top));
    EXPECT_TRUE(Until([] { return Workers() == 0; }, 5000)) << "a worker outlived its run";
    for (const auto& entry : placed) DeleteFileW(entry.second.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
}

}  // namespace
