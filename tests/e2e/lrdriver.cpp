// lrdriver: starts LumoraRepair.exe under Wine and drives it from outside as a user does, for
// what only the real exe shows: its start in the user's language and product form, links
// opened through the real shell, the real message box, clipboard and system menu, the true
// Windows name under Wine's version settings, and how every page looks.
//
//   lrdriver.exe [product yes|no] [winver SETTING] [browser DIR] start EXE COMMAND [ARGS] ...
//
// Commands run in order and stop at the first failure (exit code 1). Checks poll for up to
// ten seconds. Arguments may carry \uXXXX escapes, so German texts pass through any locale.
// Control ids are those of app/control_ids.h (docs/testing.md lists them).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include <winternl.h>

namespace {

struct Failure {
    std::wstring message;
};

std::wstring Unescape(const std::wstring& arg) {
    std::wstring out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg.compare(i, 2, L"\\u") == 0 && i + 6 <= arg.size()) {
            out += static_cast<wchar_t>(std::wcstoul(arg.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            out += arg[i];
        }
    }
    return out;
}

void Print(const std::wstring& line) {
    for (wchar_t c : line) std::putchar((c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?');
    std::printf("\n");
    std::fflush(stdout);
}

void Poll(const std::function<bool()>& done, const std::wstring& what, DWORD timeout = 10000) {
    for (DWORD start = GetTickCount(); !done(); Sleep(100))
        if (GetTickCount() - start > timeout) throw Failure{what};
}

// Paths come as Unix paths from CMake; Wine maps the root to drive Z:.
std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return path;
}

// A text value of Wine's settings below HKCU.
void SetUserText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Wine's per-program Windows version, for the program and for this driver's own probe.
void SetWindowsSetting(const wchar_t* setting) {
    for (const wchar_t* exe : {L"LumoraRepair.exe", L"lrdriver.exe"}) {
        const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + exe;
        if (!setting) RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()), RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
        else SetUserText(key, L"Version", setting);
    }
}

// What the platform reports as the true version, packed into an exit code.
DWORD TrueVersionCode() {
    RTL_OSVERSIONINFOEXW v{};
    v.dwOSVersionInfoSize = sizeof v;
    auto* get = reinterpret_cast<LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    get(&v);
    return v.dwMajorVersion << 28 | v.dwMinorVersion << 24 | static_cast<DWORD>(v.wProductType) << 20 |
           (v.dwBuildNumber & 0xFFFFF);
}

class Program {
public:
    ~Program() {
        if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 1);  // nothing outlives the driver
        SetWindowsSetting(nullptr);
    }
    // Each scenario names the form it wants; the prefix belongs to this test run alone.
    static void SetProduct(bool installed) {
        HKEY key = nullptr;
        if (!installed) RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
        else if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".lma", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0)
            RegCloseKey(key);
    }
    void Start(const std::wstring& exe) {
        std::wstring path = WindowsPath(exe), line = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            throw Failure{L"cannot start " + path};
        Poll([&] { return (window_ = Find(L"LumoraRepair")) != nullptr; }, L"no window of class LumoraRepair");
        SetForegroundWindow(window_);
    }
    HWND Window() const { return window_; }
    HWND Control(int id) const {
        std::pair<int, HWND> found{id, nullptr};
        EnumChildWindows(window_, [](HWND h, LPARAM p) CALLBACK -> BOOL {
            auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
            if (GetDlgCtrlID(h) != f->first) return TRUE;
            f->second = h;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        if (!found.second) throw Failure{L"no control " + std::to_wstring(id)};
        return found.second;
    }
    bool Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    HWND Focused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
        return info.hwndFocus;
    }
    // A visible top-level window of the program: its own, a message box (#32770) or a popup menu (#32768).
    HWND Find(const wchar_t* windowClass) const {
        const std::vector<HWND> found = Windows(windowClass);
        return found.empty() ? nullptr : found[0];
    }
    std::vector<HWND> Windows(const wchar_t* windowClass = nullptr) const {
        struct Search { DWORD pid; const wchar_t* cls; std::vector<HWND> found; } search{process_.dwProcessId, windowClass, {}};
        EnumWindows([](HWND h, LPARAM p) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD pid = 0;
            wchar_t name[32] = {};
            GetWindowThreadProcessId(h, &pid);
            GetClassNameW(h, name, 32);
            if (pid == s->pid && IsWindowVisible(h) && (!s->cls || std::wcscmp(name, s->cls) == 0)) s->found.push_back(h);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

// What the program shows (its window with any message box or menu over it) as a 24-bit BMP.
void SaveScreen(const Program& program, const std::wstring& file) {
    RECT area{}, one{};
    for (HWND window : program.Windows())
        if (GetWindowRect(window, &one)) UnionRect(&area, &area, &one);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info, info.biWidth = width, info.biHeight = height, info.biPlanes = 1, info.biBitCount = 24;
    HDC display = GetDC(nullptr), memory = CreateCompatibleDC(display);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(display, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, display, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + size;
    DWORD done = 0;
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const bool written = out != INVALID_HANDLE_VALUE && WriteFile(out, &header, sizeof header, &done, nullptr) &&
                         WriteFile(out, &info, sizeof info, &done, nullptr) && WriteFile(out, bits, size, &done, nullptr);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, display);
    if (!written) throw Failure{L"cannot save " + file};
}

// Input as a user gives it: it reaches the program through its own message loop.
void Key(const std::wstring& name) {
    const std::pair<const wchar_t*, WORD> kKeys[] = {
        {L"tab", VK_TAB}, {L"return", VK_RETURN}, {L"space", VK_SPACE}, {L"esc", VK_ESCAPE}, {L"a", 'A'}, {L"c", 'C'}};
    const bool ctrl = name.rfind(L"ctrl+", 0) == 0;
    const std::wstring key = ctrl ? name.substr(5) : name;
    std::vector<WORD> chord;
    if (ctrl) chord.push_back(VK_CONTROL);
    for (const auto& [text, vk] : kKeys)
        if (key == text) chord.push_back(vk);
    if (chord.size() != (ctrl ? 2u : 1u)) throw Failure{L"unknown key " + name};
    std::vector<INPUT> input;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT one{};
        one.type = INPUT_KEYBOARD, one.ki.wVk = vk, one.ki.dwFlags = flags;
        input.push_back(one);
    };
    for (WORD vk : chord) add(vk, 0);
    for (auto vk = chord.rbegin(); vk != chord.rend(); ++vk) add(*vk, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    Sleep(300);  // handled before the next command looks
}

// Moves the pointer to the middle of a control and, given button flags, presses and releases.
void Mouse(HWND control, DWORD down = 0, DWORD up = 0) {
    RECT r{};
    GetWindowRect(control, &r);
    INPUT input[3] = {};
    for (INPUT& one : input) one.type = INPUT_MOUSE;
    input[0].mi.dx = MulDiv((r.left + r.right) / 2, 65536, GetSystemMetrics(SM_CXSCREEN));
    input[0].mi.dy = MulDiv((r.top + r.bottom) / 2, 65536, GetSystemMetrics(SM_CYSCREEN));
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = down, input[2].mi.dwFlags = up;
    SendInput(down ? 3 : 1, input, sizeof(INPUT));
    Sleep(300);
}

void ClearClipboard() {
    if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars, GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

int TabbedLines(const std::wstring& text) {
    int rows = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", at), text.size());
        rows += text.substr(at, end - at).find(L'\t') != std::wstring::npos;
        at = end + 2;
    }
    return rows;
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

void SelectTab(Program& program, int n) {
    // A selection from outside: TCM_SETCURFOCUS notifies the program as a click does.
    HWND tabs = program.Control(1001);
    SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(n - 1), 0);
    Poll([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == n - 1; }, L"tab not selected");
    Sleep(700);  // the page's painting follows its filling
}

void Run(Program& program, const std::vector<std::wstring>& args) {
    std::wstring browser;  // the folder of the recording browser script
    for (std::size_t i = 0; i < args.size();) {
        const std::wstring command = args[i++];
        auto next = [&] {
            if (i >= args.size()) throw Failure{L"missing argument"};
            return Unescape(args[i++]);
        };
        auto expect = [&](HWND hwnd, const std::wstring& text) {
            Poll([&] { return TextOf(hwnd) == text; }, L"expected \"" + text + L"\", actual \"" + TextOf(hwnd) + L"\"");
        };
        auto control = [&] { return program.Control(std::stoi(next())); };
        if (command == L"product") {
            Program::SetProduct(next() == L"yes");
        } else if (command == L"winver") {
            SetWindowsSetting(next().c_str());
        } else if (command == L"browser") {
            // Wine opens web addresses with the first program of this list: a script that records them.
            browser = next();
            SetUserText(L"Software\\Wine\\WineBrowser", L"Browsers", browser + L"/browser.sh");
            DeleteFileW(WindowsPath(browser + L"/opened.txt").c_str());
        } else if (command == L"start") {
            program.Start(next());
        } else if (command == L"caption") {
            expect(program.Window(), next());
        } else if (command == L"label") {
            HWND label = control();
            expect(label, next());
        } else if (command == L"tab") {
            SelectTab(program, std::stoi(next()));
        } else if (command == L"key") {
            Key(next());
        } else if (command == L"click") {
            Mouse(control(), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        } else if (command == L"rightclick") {
            Mouse(control(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        } else if (command == L"hover") {
            Mouse(control());
        } else if (command == L"tabto") {
            // As a user reaches a control: Tab until it has the focus.
            HWND target = control();
            for (int n = 0; program.Focused() != target; ++n) {
                if (n == 20) throw Failure{L"Tab never reaches the control"};
                Key(L"tab");
            }
        } else if (command == L"opened") {
            // The last address the browser script was given.
            const std::wstring url = next(), file = WindowsPath(browser + L"/opened.txt");
            std::wstring line;
            Poll([&] {
                char text[1024] = {};
                std::FILE* in = _wfopen(file.c_str(), L"rb");
                if (in) line.assign(text, text + std::fread(text, 1, sizeof text - 1, in)), std::fclose(in);
                return !line.empty() && line.back() == L'\n';
            }, L"no address opened", 30000);
            if (line != url + L"\n") throw Failure{L"opened " + line};
            DeleteFileW(file.c_str());
        } else if (command == L"box") {
            // The message box: its title and its text (the static of id 0xFFFF).
            HWND box = nullptr;
            Poll([&] { return (box = program.Find(L"#32770")) != nullptr; }, L"no message box");
            expect(box, next());
            expect(GetDlgItem(box, 0xFFFF), next());
        } else if (command == L"menu") {
            Poll([&] { return program.Find(L"#32768") != nullptr; }, L"no popup menu");
        } else if (command == L"shot") {
            SaveScreen(program, WindowsPath(next()));
        } else if (command == L"clear") {
            ClearClipboard();
        } else if (command == L"copied") {
            // The list's rows under their column headers.
            HWND list = control();
            Poll([&] { return TabbedLines(ClipboardText()) == ItemCount(list) + 1; },
                 L"clipboard holds " + std::to_wstring(TabbedLines(ClipboardText())) + L" rows");
        } else if (command == L"report") {
            // The system menu's item; the report then names what the pages show.
            ClearClipboard();
            PostMessageW(program.Window(), WM_SYSCOMMAND, 0x100, 0);
            std::wstring text;
            Poll([&] { return !(text = ClipboardText()).empty(); }, L"no report on the clipboard");
            const std::wstring windows = TextOf(program.Control(1302)) + L" " + TextOf(program.Control(1303));
            if (text.rfind(L"LumoraRepair 1.10.0.48\r\n", 0) != 0 || text.find(L"\r\n" + windows + L"\r\n") == std::wstring::npos)
                throw Failure{L"report without the program line or \"" + windows + L"\""};
            if (TabbedLines(text) != ItemCount(program.Control(1106)) + ItemCount(program.Control(1206)) + 2)
                throw Failure{L"report without every file row"};
        } else if (command == L"rtl") {
            // The true version that this setting gives a new process, from a probe of ours.
            const std::wstring expected = next(), type = next();
            wchar_t self[MAX_PATH] = {};
            GetModuleFileNameW(nullptr, self, MAX_PATH);
            std::wstring line = L"\"" + std::wstring(self) + L"\" rtlprobe";
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION probe{};
            DWORD code = 0;
            if (!CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &probe))
                throw Failure{L"cannot start the probe"};
            WaitForSingleObject(probe.hProcess, 10000);
            GetExitCodeProcess(probe.hProcess, &code);
            CloseHandle(probe.hProcess), CloseHandle(probe.hThread);
            const std::wstring actual = std::to_wstring(code >> 28) + L"." + std::to_wstring(code >> 24 & 15);
            Print(L"       true version " + actual + L"." + std::to_wstring(code & 0xFFFFF) + L", product type " +
                  std::to_wstring(code >> 20 & 15));
            if (actual != expected || std::to_wstring(code >> 20 & 15) != type) throw Failure{L"true version " + actual};
        } else if (command == L"close") {
            PostMessageW(program.Window(), WM_CLOSE, 0, 0);  // as the close box does
        } else if (command == L"exited") {
            Poll([&] { return program.Ended(); }, L"the program is still running");
        } else if (command == L"screenshots") {
            const std::wstring folder = WindowsPath(next()), tag = next();
            CreateDirectoryW(folder.c_str(), nullptr);
            SetCursorPos(0, 0);
            const int count = static_cast<int>(SendMessageW(program.Control(1001), TCM_GETITEMCOUNT, 0, 0));
            for (int n = 1; n <= count; ++n) {
                SelectTab(program, n);
                SaveScreen(program, folder + L"\\" + tag + L"page" + std::to_wstring(n) + L".bmp");
            }
            SelectTab(program, 1);  // back on the page the program starts with
        } else {
            throw Failure{L"unknown command " + command};
        }
        Print(L"ok     " + command);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"rtlprobe") == 0) return static_cast<int>(TrueVersionCode());
    Program program;
    try {
        Run(program, std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (const Failure& f) {
        Print(L"FAILED " + f.message);
        return 1;
    }
    Print(L"all passed");
    return 0;
}
