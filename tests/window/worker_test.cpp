// The re-register commands with their calls in workers that are the product's own exe,
// through the real buttons, with components that crash, end their process, never return,
// take 10 s or ask the user: the window answers during each call (a tab switch, a repaint,
// the About box), each misbehaving file is named with what it did, every other file is
// registered once and in order, and closing the window during a call ends its worker at
// once. A driver thread plays the user while the window's thread runs the command.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "fakes/fake_shell.h"
#include "platform/text_ids.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/modules_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "platform/win32/workers_win32.h"
#include "platform/win32/ui/form.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace ctl;
using testdlls::Recorded;

// Polls for a state the step needs; false when it never comes.
bool Until(const std::function<bool()>& state, DWORD ms = 30000) {
    for (const DWORD end = GetTickCount() + ms; !state(); Sleep(20))
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
    return true;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A message box by title, of this process or of another.
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

class WorkerRuns : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
        wchar_t sys[MAX_PATH] = {}, common[MAX_PATH] = {};
        GetSystemDirectoryW(sys, MAX_PATH);
        GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
        jet = std::wstring(sys) + L"\\";
        mdac = std::wstring(common) + L"\\System\\";
        CreateDirectoryW((mdac + L"MSADC").c_str(), nullptr);
        // No crash dialog of Wine's debugger for a component the worker does not catch.
        const DWORD no = 0;
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog", REG_DWORD, &no, sizeof no);
    }
    void TearDown() override {
        window.reset();
        form.reset();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_TRUE(Until([] { return Workers() == 0; })) << "a worker outlived its run";
        for (const std::wstring& file : placed) DeleteFileW(file.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    }
    void Place(const char* dll, const std::wstring& to) {
        ASSERT_TRUE(CopyFileW(testdlls::TestDll(std::string(dll) + ".dll").c_str(), to.c_str(), FALSE)) << dll;
        placed.push_back(to);
    }
    void Open() {
        form = std::make_unique<win32::Form>(GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON,
                                             IDC_HAND_LINK);
        window = std::make_unique<app::frmLumoraRepair>(services, *form);
        window->Form_Initialize();
        ASSERT_TRUE(form->Create(*window, app::kClientWidth, app::kClientHeight));
        window->Form_Load();
        form->Show();
        form->DoEvents();
        top = FindWindowW(L"LumoraRepair", nullptr);
        ASSERT_NE(top, nullptr);
    }
    HWND H(int id) {
        std::pair<int, HWND> found{id, nullptr};
        EnumChildWindows(top, [](HWND h, LPARAM p) {
            auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
            if (GetDlgCtrlID(h) != f->first) return TRUE;
            f->second = h;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        return found.second;
    }
    bool Shown(int id) { return (GetWindowLongW(H(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    // The window answers a message sent from another thread (a hung one would not), and
    // paints what it is told to.
    bool Answers() {
        DWORD_PTR result = 0;
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) &&
               Until([&] { return !GetUpdateRect(top, nullptr, FALSE); }, 5000);
    }
    void ClickTab(int n) {
        RECT r{};
        SendMessageTimeoutW(H(TabStrip1), TCM_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&r),
                            SMTO_BLOCK, 5000, nullptr);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(H(TabStrip1), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(H(TabStrip1), WM_LBUTTONUP, 0, at);
    }
    // Clicks the button and lets the command run on this thread while `user` plays the user
    // on another; the warning at the end is read and closed there. Returns its text.
    std::wstring Run(int button, const std::function<void()>& user) {
        std::wstring warning;
        std::atomic<bool> done{false};
        std::thread driver([&] {
            user();
            HWND box = nullptr;
            Until([&] {
                if (const HWND asks = Box(L"lrtest", false)) PostMessageW(asks, WM_COMMAND, IDOK, 0);  // never left up
                return (box = Box(L"LumoraRepair", true)) != nullptr || done;
            }, 600000);
            if (!box) return;
            wchar_t text[4096] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 4096);
            warning = text;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        PostMessageW(H(button), BM_CLICK, 0, 0);
        form->DoEvents();
        done = true;
        driver.join();
        return warning;
    }

    win32::Texts texts;
    win32::System system;
    win32::Registry registry;
    win32::VersionResources versions;
    win32::Folders folders;
    win32::Modules modules;
    win32::Workers workers{testdlls::ProductExe()};
    fakes::FakeShell shell;
    os::Services services{texts, system, registry, versions, folders, shell, modules, workers};
    std::unique_ptr<win32::Form> form;
    std::unique_ptr<app::frmLumoraRepair> window;
    HWND top = nullptr;
    std::wstring jet, mdac;
    std::vector<std::wstring> placed;
};

TEST_F(WorkerRuns, MisbehavingComponentsAreNamedAndTheOthersRegisterInOrder) {
    const std::pair<const char*, const wchar_t*> files[] = {
        {"ver_2_80_1022_3", L"ado\\MSADOR15.DLL"}, {"crash", L"ado\\MSADRH15.DLL"},
        {"ver_2_80_1022_3", L"ado\\MSADOMD.DLL"},  {"exits", L"ado\\MSADOX.DLL"},
        {"ver_2_80_1022_3", L"ado\\MSJRO.DLL"},    {"hangs", L"MSADC\\MSADCE.DLL"},
        {"ver_2_80_1022_3", L"MSADC\\MSADCF.DLL"}, {"asks", L"MSADC\\MSADCO.DLL"},
        {"ver_2_80_1022_3", L"MSADC\\MSADDS.DLL"}};
    for (const auto& [dll, name] : files) Place(dll, mdac + name);
    Open();
    window->RegisterTimeoutMs = 4000;  // the product's is a minute

    const std::wstring warning = Run(Command1, [&] {
        // In the call that never returns: the window answers, pages switch.
        ASSERT_TRUE(Until([] { return EndsWith(Recorded(), L"MSADCE.DLL;"); }));
        EXPECT_TRUE(Answers());
        ClickTab(2);
        EXPECT_TRUE(Until([&] { return Shown(picJET); }));
        EXPECT_TRUE(EndsWith(Recorded(), L"MSADCE.DLL;")) << "all that while in the call";
        ClickTab(1);
        // The component asking the user is waited for past the time a call may take.
        HWND asks = nullptr;
        ASSERT_TRUE(Until([&] { return (asks = Box(L"lrtest", false)) != nullptr; }));
        Sleep(window->RegisterTimeoutMs + 2000);
        EXPECT_TRUE(Answers());
        PostMessageW(asks, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Recorded(), L"MSADOR15.DLL;MSADRH15.DLL;MSADOMD.DLL;MSADOX.DLL;MSJRO.DLL;MSADCE.DLL;MSADCF.DLL;MSADCO.DLL;"
                          L"MSADDS.DLL;");
    for (const std::wstring& named :
         {mdac + L"ado\\MSADRH15.DLL\r\n    0xC0000005  " + texts.Text(IDS_COMPONENT_CRASHED),
          mdac + L"ado\\MSADOX.DLL\r\n    0x00000007  " + texts.Text(IDS_COMPONENT_EXITED),
          mdac + L"MSADC\\MSADCE.DLL\r\n    " + texts.Text(IDS_COMPONENT_TIMED_OUT)})
        EXPECT_NE(warning.find(named), std::wstring::npos) << testing::PrintToString(warning);
    for (const wchar_t* fine : {L"MSADOR15", L"MSADOMD", L"MSJRO", L"MSADCF", L"MSADCO", L"MSADDS"})
        EXPECT_EQ(warning.find(fine), std::wstring::npos) << testing::PrintToString(fine);
    EXPECT_TRUE(Shown(Command1));
    EXPECT_FALSE(Shown(ProgressBar1));
    PostMessageW(top, WM_CLOSE, 0, 0);
    form->DoEvents();
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(WorkerRuns, ALongCallKeepsTheWindowAndClosingItEndsTheWorker) {
    Place("slow10", jet + L"msjet40.dll");
    Place("ver_2_80_1022_3", jet + L"msjtes40.dll");
    Open();
    ClickTab(2);
    ASSERT_TRUE(Until([&] { form->DoEvents(); return Shown(picJET); }, 5000));

    // Ten seconds in one call, the About box opened and closed meanwhile; no warning.
    const std::wstring warning = Run(Command3, [&] {
        ASSERT_TRUE(Until([] { return Recorded() == L"msjet40.dll;"; }));
        PostMessageW(H(cmdAbout), BM_CLICK, 0, 0);
        HWND about = nullptr;
        ASSERT_TRUE(Until([&] { return (about = Box(texts.Text(IDS_ABOUT).c_str(), true)) != nullptr; }));
        PostMessageW(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Until([&] { return !IsWindow(about); }));
        EXPECT_TRUE(Answers());
        EXPECT_EQ(Recorded(), L"msjet40.dll;") << "all that while in the call";
    });
    EXPECT_EQ(warning, L"");
    EXPECT_EQ(Recorded(), L"msjet40.dll;msjtes40.dll;");

    // Closed in a call that never returns: the worker ends at once, nothing after it runs.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    ASSERT_TRUE(Until([] { return Workers() == 0; }));  // the file is no longer in use
    Place("hangs", jet + L"msjet40.dll");
    std::thread user([&] {
        if (Until([] { return Recorded() == L"msjet40.dll;"; })) PostMessageW(top, WM_CLOSE, 0, 0);
    });
    PostMessageW(H(Command3), BM_CLICK, 0, 0);
    form->DoEvents();
    user.join();
    EXPECT_FALSE(IsWindow(top));
    EXPECT_TRUE(Until([] { return Workers() == 0; }, 5000));
    EXPECT_EQ(Recorded(), L"msjet40.dll;");
}

}  // namespace
