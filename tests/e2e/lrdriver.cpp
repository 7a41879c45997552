// lrdriver: starts LumoraRepair.exe under Wine and drives it from outside, for what only the
// real exe shows: its start in the user's language and product form, Esc and the close box
// ending it, the Windows name under Wine's version settings, and how every page looks.
//
//   lrdriver.exe [product yes|no] [winver SETTING] start EXE COMMAND [ARGS] ...
//   lrdriver.exe [place DLL TARGET] ... run CODE EXE "ARGS" [line FILE TEXT] ...
//
// Commands run in order and stop at the first failure (exit code 1). Every step waits for the
// state it acts on (the window up, the page painted) and every check polls for
// up to ten seconds: a loaded machine slows a run down but does not change its outcome. Control ids are those of
// app/control_ids.h.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>  // gdiplus.h needs it; the build is lean
#include <gdiplus.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// Until `done` comes true, or the step fails: a failed step throws what went wrong as a
// std::wstring, which ends the run.
void Poll(const std::function<bool()>& done, const std::wstring& what, DWORD timeout = 10000) {
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > timeout) throw std::wstring{what};
}

// Paths come as Unix paths from CMake; Wine maps the root to drive Z:.
std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

void SetUserText(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), bytes);
}

// Wine's per-program Windows version; removed again when the driver ends.
const wchar_t kWindowsSetting[] = L"Software\\Wine\\AppDefaults\\LumoraRepair.exe";

// A window and each of its child windows.
void ForEach(HWND parent, std::function<void(HWND)> visit) {
    visit(parent);
    const WNDENUMPROC call = [](HWND h, LPARAM p) CALLBACK -> BOOL {
        (*reinterpret_cast<std::function<void(HWND)>*>(p))(h);
        return TRUE;
    };
    EnumChildWindows(parent, call, reinterpret_cast<LPARAM>(&visit));
}

// The program under test: its process and main window.
PROCESS_INFORMATION g_process{};
HWND g_window = nullptr;

bool Ended() { return WaitForSingleObject(g_process.hProcess, 0) == WAIT_OBJECT_0; }

DWORD ExitCode() {
    DWORD code = 0;
    GetExitCodeProcess(g_process.hProcess, &code);
    return code;
}

// The visible top-level windows of the program: its own, a message box (#32770).
std::vector<HWND> Windows(const wchar_t* windowClass = nullptr) {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, windowClass, nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == g_process.dwProcessId && IsWindowVisible(h)) found.push_back(h);
    }
    return found;
}

// The program under test, started with a command line.
void Launch(const std::wstring& exe, const std::wstring& args) {
    std::wstring path = WindowsPath(exe), line = L"\"" + path + L"\" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &g_process))
        throw std::wstring{L"cannot start " + path};
}

// The program's window up.
void Start(const std::wstring& exe) {
    Launch(exe, L"");
    // A start on a loaded machine (Wine reading a changed version setting, a busy wineserver)
    // can take more than a step's ten seconds; a program that ended says so at once.
    Poll([&] { return !Windows(L"LumoraRepair").empty() || Ended(); }, L"no window of LumoraRepair", 60000);
    if (Ended()) throw std::wstring{L"the program ended before its window, with code " + std::to_wstring(ExitCode())};
    g_window = Windows(L"LumoraRepair")[0];
}

HWND Control(int id) {
    HWND found = nullptr;
    ForEach(g_window, [&](HWND h) { found = found ? found : GetDlgCtrlID(h) == id ? h : nullptr; });
    if (!found) throw std::wstring{L"no control " + std::to_wstring(id)};
    return found;
}

// Every window of the program painted: no update region is left in any of them.
void Painted() {
    Poll([&] {
        bool clean = true;
        for (HWND top : Windows())
            ForEach(top, [&](HWND h) { clean = clean && !(IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)); });
        return clean;
    }, L"the program's windows are never painted");
}

// What the program shows (its window with any message box or menu over it) as a PNG.
void SaveScreen(const std::wstring& file) {
    Painted();
    RECT area{}, one{};
    for (HWND window : Windows())
        if (GetWindowRect(window, &one)) UnionRect(&area, &area, &one);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    HDC display = GetDC(nullptr), memory = CreateCompatibleDC(display);
    HBITMAP bitmap = CreateCompatibleBitmap(display, area.right - area.left, area.bottom - area.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, display, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    Gdiplus::GpBitmap* image = nullptr;
    using namespace Gdiplus::DllExports;
    const bool saved = GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok &&
                       GdipSaveImageToFile(image, file.c_str(), &png, nullptr) == Gdiplus::Ok;
    if (image) GdipDisposeImage(image);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, display);
    if (!saved) throw std::wstring{L"cannot save " + file};
}

// A key for the program's message box if one is up, else for its window: posted as the
// keyboard's would be, through the program's message loop.
void Key(const std::wstring& name) {
    const std::map<std::wstring, WPARAM> keys = {{L"return", VK_RETURN}, {L"esc", VK_ESCAPE}};
    const auto key = keys.find(name);
    if (key == keys.end()) throw std::wstring{L"unknown key " + name};
    const std::vector<HWND> boxes = Windows(L"#32770");
    PostMessageW(boxes.empty() ? g_window : boxes[0], WM_KEYDOWN, key->second, 1);
}

// Tab N (from 1) by TCM_SETCURFOCUS, which notifies the program as a click does; done once
// its page is up.
void SelectTab(int n) {
    HWND tabs = Control(1001), page = Control(1001 + n);
    SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(n - 1), 0);
    Poll([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == n - 1 && IsWindowVisible(page); }, L"not selected");
}

void Run(const std::vector<std::wstring>& args) {
    std::size_t i = 0;
    const auto next = [&] {
        if (i >= args.size()) throw std::wstring{L"missing argument"};
        return args[i++];
    };
    const auto expect = [&](HWND hwnd) {
        const std::wstring text = next();
        wchar_t actual[512] = {};
        Poll([&] {
            // The text the window manager keeps: no message to the program, which may be busy.
            GetWindowTextW(hwnd, actual, 512);
            return text == actual;
        }, L"the text never reads \"" + text + L"\"");
    };
    const auto control = [&] { return Control(std::stoi(next())); };
    // The commands of one step.
    const std::map<std::wstring, std::function<void()>> steps = {
        {L"winver", [&] { SetUserText(kWindowsSetting, L"Version", next()); }},
        {L"start", [&] { Start(next()); }},
        {L"caption", [&] { expect(g_window); }},
        {L"label", [&] { expect(control()); }},
        {L"tab", [&] { SelectTab(std::stoi(next())); }},
        {L"key", [&] { Key(next()); }},
        // Posted: the button's handler may show a box and wait for it.
        {L"click", [&] { PostMessageW(control(), BM_CLICK, 0, 0); }},
        {L"box", [&] { Poll([&] { return !Windows(L"#32770").empty(); }, L"no message box"); }},
        {L"shot", [&] { SaveScreen(WindowsPath(next())); }},
        {L"close", [&] { PostMessageW(g_window, WM_CLOSE, 0, 0); }},  // as the close box does
        {L"exited", [&] { Poll([&] { return Ended(); }, L"the program is still running"); }},
    };
    while (i < args.size()) {
        const std::wstring command = args[i++];
        if (const auto step = steps.find(command); step != steps.end()) {
            step->second();
        } else if (command == L"product") {
            // Each scenario names the form it wants; the prefix belongs to this test run alone.
            if (next() == L"no") SHDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
            else RegSetValueW(HKEY_CLASSES_ROOT, L".lma", REG_SZ, L"", 0);
        } else if (command == L"place") {
            // A stand-in component: one of our test DLLs under a listed file's name.
            const std::wstring from = WindowsPath(next()), to = next();
            CreateDirectoryW(to.substr(0, to.rfind(L'\\')).c_str(), nullptr);
            if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) throw std::wstring{L"cannot place " + to};
        } else if (command == L"run") {
            // As a script starts it, with a command line: no window of the program ever shows
            // (looked for until it ends), and its exit code is CODE.
            const std::wstring code = next(), exe = next();
            Launch(exe, next());
            for (DWORD start = GetTickCount(); !Ended(); Sleep(5)) {
                if (!Windows().empty()) throw std::wstring{L"a window of the program showed"};
                if (GetTickCount() - start > 60000) throw std::wstring{L"the program is still running"};
            }
            if (std::to_wstring(ExitCode()) != code) throw std::wstring{L"exit code " + std::to_wstring(ExitCode())};
        } else if (command == L"line") {
            // The report file: UTF-16 little-endian with its mark, and a line that starts with TEXT.
            std::ifstream in(std::filesystem::path(WindowsPath(next())), std::ios::binary);
            const std::wstring start = next();
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            if (bytes.compare(0, 2, "\xFF\xFE") != 0) throw std::wstring{L"no UTF-16 mark"};
            const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            if (text.find(L"\r\n" + start) == std::wstring::npos) throw std::wstring{L"no line " + start};
        } else if (command == L"screenshots") {
            const std::wstring folder = WindowsPath(next()), tag = next();
            SetCursorPos(0, 0);
            const int count = static_cast<int>(SendMessageW(Control(1001), TCM_GETITEMCOUNT, 0, 0));
            for (int n = 1; n <= count; ++n) {
                SelectTab(n);
                SaveScreen(folder + L"\\" + tag + L"page" + std::to_wstring(n) + L".png");
            }
            SelectTab(1);  // back on the page the program starts with
        } else {
            throw std::wstring{L"unknown command " + command};
        }
        std::printf("ok     %ls\n", command.c_str());
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);  // each step shows at once, also in a run that times out
    Gdiplus::GdiplusStartupInput gdiplus;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &gdiplus, nullptr);
    int result = 0;
    try {
        Run(std::vector<std::wstring>(argv + 1, argv + argc));
        std::printf("all passed\n");
    } catch (const std::wstring& failure) {
        std::printf("FAILED %ls\n", failure.c_str());
        result = 1;
    }
    if (g_process.hProcess && !Ended()) TerminateProcess(g_process.hProcess, 1);  // nothing outlives the driver
    SHDeleteKeyW(HKEY_CURRENT_USER, kWindowsSetting);
    return result;
}
