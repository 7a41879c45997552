// The benchmark's harness, run under wine64 by bench/bench.py. Every command measures two or
// three things side by side, alternating (the order swapped every round), and prints one
// line per sample: "<group> <what> <milliseconds>". The figures are made by bench.py from
// these lines.
//
//   lrbench startup ROUNDS EXE_A EXE_B   time from CreateProcess to the visible window whose
//                                        visible list view holds 28 rows; then "ready <what>"
//                                        and a line read from standard input before closing
//   lrbench report ROUNDS EXE FILE       EXE /report FILE until it ends, against EXE's start-up
//                                        as above
//   lrbench pages ROUNDS                 each page's fill in process against its bare calls,
//                                        and the MDAC page's with its registration check
//                                        against without it (MDACcheck)
//   lrbench register ROUNDS EXE          the MDAC command (its workers EXE) against
//                                        regsvr32 /s per file, and against its floor: a bare
//                                        load, call, free loop, what its rules ask besides
//                                        (list rebuild, short paths) and one process start
//   lrbench noop                         ends at once: the process the floor starts
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/ui/form.h"

namespace {

double Now() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

double Time(const std::function<void()>& work) {
    const double start = Now();
    work();
    return Now() - start;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "lrbench: %s (error %lu)\n", what, GetLastError());
    std::exit(1);
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// --- start-up -------------------------------------------------------------------------

struct Found {
    DWORD pid;
    HWND top = nullptr;
};

// The process's visible top-level window with a visible list view of 28 rows in it.
BOOL CALLBACK FindReadyWindow(HWND top, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    if (pid != found->pid || !IsWindowVisible(top)) return TRUE;
    bool ready = false;
    EnumChildWindows(top, [](HWND child, LPARAM p) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, WC_LISTVIEWW) != 0 || !IsWindowVisible(child)) return TRUE;
        if (SendMessageW(child, LVM_GETITEMCOUNT, 0, 0) != 28) return TRUE;
        *reinterpret_cast<bool*>(p) = true;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&ready));
    if (!ready) return TRUE;
    found->top = top;
    return FALSE;
}

// Started as a user starts it; ready when it waits for input with its list on screen.
void StartOnce(const char* tag, const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        Fail("cannot start the program");
    WaitForInputIdle(pi.hProcess, 20000);
    Found found{pi.dwProcessId};
    while (EnumWindows(FindReadyWindow, reinterpret_cast<LPARAM>(&found)), !found.top) {
        if (Now() - start > 20000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            Fail("the window with its 28 rows did not show");
        Sleep(0);
    }
    const double ms = Now() - start;
    // Wine answers no private memory for another process: bench.py reads the running
    // program's from Linux while we wait for its line.
    std::printf("ready %s\n", tag);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin)) Fail("no answer on standard input");
    PostMessageW(found.top, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) Fail("the program did not end on WM_CLOSE");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("startup %s %.3f\n", tag, ms);
    std::fflush(stdout);
}

// The command line's report: from CreateProcess until the process has ended.
void ReportOnce(const std::wstring& exe, const std::wstring& file) {
    // Its summary lines go to NUL, not into the lines bench.py reads from us.
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = nul;
    si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\" /report \"" + file + L"\"";
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        Fail("cannot start the program");
    CloseHandle(nul);
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) Fail("the report did not end");
    const double ms = Now() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("report report %.3f\n", ms);
    std::fflush(stdout);
}

// --- the window in process ------------------------------------------------------------

struct Window {
    explicit Window(std::wstring workerExe = {}) : platform(std::move(workerExe)) { Open(); }
    win32::PlatformServices platform;
    win32::Form form{GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK};
    app::frmLumoraRepair window{platform.services, form};

    void Open() {
        window.Form_Initialize();
        if (!form.Create(window, app::kClientWidth, app::kClientHeight)) Fail("cannot make the window");
        window.Form_Load();
        form.Show();
        form.DoEvents();
    }
    // As the tab strip shows a page.
    void Front(int page) {
        for (int p : {ctl::picMDAC, ctl::picJET, ctl::picWindows, ctl::picComponents}) form[p].SetVisible(p == page);
        form[page].BringToFront();
        form.DoEvents();
    }
};

std::string SystemDirectory() {
    char buffer[MAX_PATH] = {};
    GetSystemDirectoryA(buffer, MAX_PATH);
    return buffer;
}

std::string Folder(int id) {
    char buffer[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, 0, buffer)) ? buffer : "";
}

std::vector<std::string> Paths(const std::string& base, const app::FileListRow* rows, std::size_t count) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < count; ++i) paths.push_back(base + Narrow(rows[i].suffix));
    return paths;
}

// What a page cannot do without: the version resource of each file, read as the reader
// reads it (size, data, root block).
void BareVersions(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        if (!size) continue;
        std::vector<BYTE> data(size);
        void* block = nullptr;
        UINT length = 0;
        if (GetFileVersionInfoA(path.c_str(), handle, size, data.data())) VerQueryValueA(data.data(), "\\", &block, &length);
    }
}

void BareRegistryText(const char* key, const char* value) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return;
    char data[512];
    DWORD size = sizeof data, type = 0;
    RegQueryValueExA(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
}

bool BareFolderTest(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

void Pages(int rounds) {
    Window w;
    const std::string system = SystemDirectory();
    const auto mdac = Paths(Folder(CSIDL_PROGRAM_FILES_COMMON), app::kMDACFiles, std::size(app::kMDACFiles));
    const auto jet = Paths(system, app::kJetFiles, std::size(app::kJetFiles));
    std::vector<std::string> components;
    for (const char* file : {"\\MSVBVM60.DLL", "\\vbscript.DLL", "\\actbar2.ocx", "\\gridex20.ocx", "\\msxml.dll"})
        components.push_back(system + file);

    struct Page {
        const char* name;
        int page;
        std::function<void()> fill, bare;
    };
    const Page pages[] = {
        {"MDAC", ctl::picMDAC, [&] { w.window.ShowMDACPage(); },
         [&] {
             BareRegistryText("Software\\Microsoft\\DataAccess", "FullInstallVer");
             Folder(CSIDL_PROGRAM_FILES_COMMON);
             BareVersions(mdac);
         }},
        // The same fill with the registration check against without it.
        {"MDACcheck", ctl::picMDAC, [&] { w.window.ShowMDACPage(); },
         [&] {
             w.window.CheckRegistrations = false;
             w.window.ShowMDACPage();
             w.window.CheckRegistrations = true;
         }},
        {"JET", ctl::picJET, [&] { w.window.ShowJetPage(); }, [&] { BareVersions(jet); }},
        {"Windows", ctl::picWindows, [&] { w.window.ShowWindowsPage(); },
         [&] {
             GetUserDefaultLangID();
             GetACP();
             BareRegistryText("Software\\Microsoft\\Internet Explorer", "Version");
             BareFolderTest(Folder(CSIDL_PERSONAL) + "\\");
             BareFolderTest(Folder(CSIDL_APPDATA) + "\\");
             char temp[512];
             GetTempPathA(512, temp);
             BareFolderTest(temp);
             BareFolderTest(Folder(CSIDL_COMMON_APPDATA) + "\\Microsoft\\HTML Help\\");
         }},
        {"Components", ctl::picComponents, [&] { w.window.ShowComponentsPage(); }, [&] { BareVersions(components); }},
    };
    for (const Page& page : pages) {
        w.Front(page.page);
        page.fill(), page.bare();  // once untimed: every file's first read
        for (int round = 0; round < rounds; ++round) {
            for (int turn = 0; turn < 2; ++turn) {
                const bool fill = (turn == 0) == (round % 2 == 0);
                const double ms = Time(fill ? page.fill : page.bare);
                std::printf("pages %s.%s %.4f\n", page.name, fill ? "fill" : "bare", ms);
                w.form.DoEvents();  // its painting belongs to no figure
            }
        }
    }
}

// --- re-registration ------------------------------------------------------------------

constexpr wchar_t kCallsKey[] = L"Software\\LumoraRepairTests";

// Our test DLLs note each registration; the count shows that a run registered every file.
int RegisteredCount() {
    wchar_t calls[8192] = {};
    DWORD size = sizeof calls - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, kCallsKey, L"Calls", RRF_RT_REG_SZ, nullptr, calls, &size);
    int count = 0;
    for (const wchar_t* p = calls; *p; ++p) count += *p == L';';
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kCallsKey, L"Calls");
    return count;
}

// A process started and ended: the least a worker of the command's costs.
void StartProcess() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" noop";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        Fail("cannot start a process");
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void Register(int rounds, const std::wstring& product) {
    Window w(product);
    w.Front(ctl::picMDAC);
    std::vector<std::string> files;
    const auto all = Paths(Folder(CSIDL_PROGRAM_FILES_COMMON), app::kMDACFiles, std::size(app::kMDACFiles));
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!app::kMDACFiles[i].skipRegister) files.push_back(all[i]);
    const std::string regsvr32 = SystemDirectory() + "\\regsvr32.exe";

    const std::function<void()> ways[] = {
        [&] { w.window.Command1_Click(); },
        [&] {
            for (const std::string& file : files) {
                std::string command = "\"" + regsvr32 + "\" /s \"" + file + "\"";
                STARTUPINFOA si{};
                si.cb = sizeof si;
                PROCESS_INFORMATION pi{};
                if (!CreateProcessA(regsvr32.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                    &pi))
                    Fail("cannot start regsvr32");
                WaitForSingleObject(pi.hProcess, INFINITE);
                CloseHandle(pi.hThread);
                CloseHandle(pi.hProcess);
            }
        },
        // The floor: a bare load, call, free loop, what the command's rules ask besides
        // (the list rebuilt before the run, each file's short path) and one process start.
        // Its parts are reported too.
        [&] {
            const double rules = Time([&] {
                w.window.BuildMDACFileList();
                for (const std::string& file : files)
                    w.platform.system.ShortPathName(std::wstring(file.begin(), file.end()));
            });
            const double bare = Time([&] {
                for (const std::string& file : files) {
                    HMODULE module = LoadLibraryA(file.c_str());
                    if (!module) continue;
                    if (auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
                            reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer"))))
                        entry();
                    FreeLibrary(module);
                }
            });
            const double start = Time(StartProcess);
            std::printf("register rules %.3f\nregister bare %.3f\nregister start %.3f\n", rules, bare, start);
        },
    };
    const char* const names[] = {"command", "regsvr32", "floor"};
    constexpr int kWays = 3;
    RegisteredCount();
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < kWays; ++turn) {
            const int way = (round % 2 == 0) ? turn : kWays - 1 - turn;
            const double ms = Time(ways[way]);
            w.form.DoEvents();
            const int count = RegisteredCount();
            if (count != static_cast<int>(files.size())) {
                std::fprintf(stderr, "lrbench: %s registered %d of %zu files\n", names[way], count, files.size());
                std::exit(1);
            }
            std::printf("register %s %.3f\n", names[way], ms);
            std::fflush(stdout);
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring what = argc > 1 ? argv[1] : L"";
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 0;
    if (what == L"startup" && argc == 5 && rounds > 0) {
        for (int round = 0; round < rounds; ++round) {
            const bool aFirst = round % 2 == 0;
            StartOnce(aFirst ? "a" : "b", aFirst ? argv[3] : argv[4]);
            StartOnce(aFirst ? "b" : "a", aFirst ? argv[4] : argv[3]);
        }
    } else if (what == L"report" && argc == 5 && rounds > 0) {
        for (int round = 0; round < rounds; ++round) {
            if (round % 2 == 0) ReportOnce(argv[3], argv[4]);
            StartOnce("start", argv[3]);
            if (round % 2 != 0) ReportOnce(argv[3], argv[4]);
        }
    } else if (what == L"pages" && rounds > 0) {
        Pages(rounds);
    } else if (what == L"register" && argc == 4 && rounds > 0) {
        Register(rounds, argv[3]);
    } else if (what == L"noop") {
        return 0;
    } else {
        std::fprintf(stderr,
                     "usage: lrbench startup ROUNDS EXE_A EXE_B | report ROUNDS EXE FILE | pages ROUNDS | "
                     "register ROUNDS EXE | noop\n");
        return 2;
    }
    return 0;
}
