// lrdriver: starts LumoraRepair.exe under Wine and drives it from outside as a user does, for
// what only the real exe shows: its start in the user's language and product form, Esc and
// the close box, links opened through the real shell, the clipboard, the Windows name under
// Wine's version settings, and how every page looks.
//
//   lrdriver.exe [product yes|no] [winver SETTING] [browser DIR] start EXE COMMAND [ARGS] ...
//
// Commands run in order and stop at the first failure (exit code 1). Every step waits for the
// state it acts on (the program in the foreground, the control visible and not covered, the
// focus moved, the page painted) and every check polls for up to ten seconds: a loaded
// machine slows a run down but does not change its outcome. Control ids are those of
// app/control_ids.h.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Failure {
    std::wstring message;
};

void Print(const std::wstring& line) {
    for (wchar_t c : line) std::putchar((c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?');
    std::printf("\n");
    std::fflush(stdout);
}

void Poll(const std::function<bool()>& done, const std::wstring& what, DWORD timeout = 10000) {
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > timeout) throw Failure{what};
}

// Paths come as Unix paths from CMake; Wine maps the root to drive Z:.
std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return path;
}

void SetUserText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Wine's per-program Windows version; removed again when the driver ends.
void SetWindowsSetting(const wchar_t* setting) {
    const std::wstring key = L"Software\\Wine\\AppDefaults\\LumoraRepair.exe";
    if (!setting) RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()), RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    else SetUserText(key, L"Version", setting);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

class Program {
public:
    ~Program() {
        if (process_.hProcess && !Ended()) TerminateProcess(process_.hProcess, 1);  // nothing outlives the driver
        SetWindowsSetting(nullptr);
    }
    // From a known state: nothing on the clipboard, the program's window up.
    void Start(const std::wstring& exe) {
        if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
        std::wstring path = WindowsPath(exe), line = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            throw Failure{L"cannot start " + path};
        Poll([&] { return (window_ = Find(L"LumoraRepair")) != nullptr; }, L"no window of class LumoraRepair");
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
    // The visible top-level windows of the program: its own, a message box (#32770), a popup menu (#32768).
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
    HWND Find(const wchar_t* windowClass) const {
        const std::vector<HWND> found = Windows(windowClass);
        return found.empty() ? nullptr : found[0];
    }
    // Input goes to the foreground window: the program's, or its message box over it.
    void Foreground() const {
        Poll([&] {
            DWORD pid = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &pid);
            if (pid == process_.dwProcessId) return true;
            HWND box = Find(L"#32770");
            SetForegroundWindow(box ? box : window_);
            return false;
        }, L"the program never comes to the foreground");
    }
    // Every window of the program painted: no update region is left in any of them.
    void Painted() const {
        Poll([&] {
            bool clean = true;
            for (HWND top : Windows()) {
                clean = clean && !GetUpdateRect(top, nullptr, FALSE);
                EnumChildWindows(top, [](HWND h, LPARAM p) CALLBACK -> BOOL {
                    if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) *reinterpret_cast<bool*>(p) = false;
                    return TRUE;
                }, reinterpret_cast<LPARAM>(&clean));
            }
            return clean;
        }, L"the program's windows are never painted");
    }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// What the program shows (its window with any message box or menu over it) as a 24-bit BMP.
void SaveScreen(const Program& program, const std::wstring& file) {
    program.Painted();
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

// A key as a user gives it: to the foreground window, through the program's message loop.
void Key(const Program& program, const std::wstring& name) {
    const std::pair<const wchar_t*, WORD> kKeys[] = {
        {L"tab", VK_TAB}, {L"return", VK_RETURN}, {L"space", VK_SPACE}, {L"esc", VK_ESCAPE}, {L"a", 'A'}, {L"c", 'C'}};
    const bool ctrl = name.rfind(L"ctrl+", 0) == 0;
    std::vector<WORD> chord;
    if (ctrl) chord.push_back(VK_CONTROL);
    for (const auto& [text, vk] : kKeys)
        if (name.substr(ctrl ? 5 : 0) == text) chord.push_back(vk);
    if (chord.size() != (ctrl ? 2u : 1u)) throw Failure{L"unknown key " + name};
    std::vector<INPUT> input(chord.size() * 2);
    for (std::size_t i = 0; i < chord.size(); ++i) {
        input[i].type = input[input.size() - 1 - i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = input[input.size() - 1 - i].ki.wVk = chord[i];
        input[input.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    program.Foreground();
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// The pointer to the middle of a control, once it is visible and nothing covers that point,
// and, given button flags, a press and release there. The pointer does not always stay where
// it was put (under load it was seen 20 px off, on the first click of a page just made), so
// the press waits until it rests on the point, and each event carries the point: a bare
// press lands wherever the pointer is, on the previous link or, for a list view, off the
// row, which the list view takes for the start of a drag.
void Mouse(const Program& program, HWND control, DWORD down = 0, DWORD up = 0) {
    RECT r{};
    POINT middle{}, at{};
    Poll([&] {
        GetWindowRect(control, &r);
        middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        return IsWindowVisible(control) && WindowFromPoint(middle) == control;
    }, L"the control is hidden or covered");
    INPUT input[3] = {};
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (INPUT& one : input) {
        one.type = INPUT_MOUSE;
        one.mi.dx = (middle.x * 65536 + width - 1) / width, one.mi.dy = (middle.y * 65536 + height - 1) / height;
        one.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    input[1].mi.dwFlags |= down, input[2].mi.dwFlags |= up;
    program.Foreground();
    SendInput(1, input, sizeof(INPUT));
    Poll([&] { return GetCursorPos(&at) && at.x == middle.x && at.y == middle.y; }, L"the pointer is not on the control");
    if (down) SendInput(2, input + 1, sizeof(INPUT));
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

// Tab N (from 1) by TCM_SETCURFOCUS, which notifies the program as a click does; done once
// its page is up.
void SelectTab(const Program& program, int n) {
    HWND tabs = program.Control(1001), page = program.Control(1001 + n);
    SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(n - 1), 0);
    Poll([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == n - 1 && IsWindowVisible(page); }, L"tab not selected");
}

void Run(Program& program, const std::vector<std::wstring>& args) {
    std::wstring opened;     // the browser script's record of addresses
    std::size_t seen = 0;    // how much of it earlier checks have read
    for (std::size_t i = 0; i < args.size();) {
        const std::wstring command = args[i++];
        auto next = [&] {
            if (i >= args.size()) throw Failure{L"missing argument"};
            return args[i++];
        };
        auto expect = [&](HWND hwnd, const std::wstring& text) {
            Poll([&] { return TextOf(hwnd) == text; }, L"expected \"" + text + L"\", actual \"" + TextOf(hwnd) + L"\"");
        };
        auto control = [&] { return program.Control(std::stoi(next())); };
        if (command == L"product") {
            // Each scenario names the form it wants; the prefix belongs to this test run alone.
            HKEY key = nullptr;
            if (next() == L"no") RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
            else if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".lma", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0)
                RegCloseKey(key);
        } else if (command == L"winver") {
            SetWindowsSetting(next().c_str());
        } else if (command == L"browser") {
            // Wine opens web addresses with the first program of this list: a script that records them.
            const std::wstring dir = next();
            SetUserText(L"Software\\Wine\\WineBrowser", L"Browsers", dir + L"/browser.sh");
            opened = WindowsPath(dir + L"/opened.txt");
            DeleteFileW(opened.c_str());
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
            Key(program, next());
        } else if (command == L"click") {
            Mouse(program, control(), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        } else if (command == L"rightclick") {
            Mouse(program, control(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        } else if (command == L"hover") {
            Mouse(program, control());
        } else if (command == L"tabto") {
            // As a user reaches a control: Tab, each time until the focus has moved on.
            HWND target = control();
            for (int n = 0; program.Focused() != target; ++n) {
                if (n == 20) throw Failure{L"Tab never reaches the control"};
                HWND before = program.Focused();
                Key(program, L"tab");
                Poll([&] { return program.Focused() != before; }, L"Tab does not move the focus");
            }
        } else if (command == L"opened") {
            // The next address the browser script was given, read once its line is complete.
            const std::wstring url = next();
            std::string line;
            Poll([&] {
                std::string text;
                if (std::FILE* in = _wfopen(opened.c_str(), L"rb")) {
                    char chunk[4096];
                    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) text.append(chunk, n);
                    std::fclose(in);
                }
                const std::size_t end = text.find('\n', seen);
                if (end == std::string::npos) return false;
                line = text.substr(seen, end - seen), seen = end + 1;
                return true;
            }, L"no address opened", 30000);
            if (std::wstring(line.begin(), line.end()) != url) throw Failure{L"opened " + std::wstring(line.begin(), line.end())};
        } else if (command == L"menu") {
            // A popup menu is up; Esc closes it again.
            Poll([&] { return program.Find(L"#32768") != nullptr; }, L"no popup menu");
            Key(program, L"esc");
            Poll([&] { return program.Find(L"#32768") == nullptr; }, L"the popup menu stays");
        } else if (command == L"box") {
            Poll([&] { return program.Find(L"#32770") != nullptr; }, L"no message box");
        } else if (command == L"shot") {
            SaveScreen(program, WindowsPath(next()));
        } else if (command == L"copied") {
            // The list's rows under their column headers.
            HWND list = control();
            const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
            Poll([&] { return TabbedLines(ClipboardText()) == rows + 1; },
                 L"clipboard holds " + std::to_wstring(TabbedLines(ClipboardText())) + L" rows");
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
