// lrdriver: starts LumoraRepair.exe under Wine and looks at it from outside, for what only
// the real exe shows: that it starts in the user's language and product form (its caption
// tells both), that Esc and the close box end it, and how every page looks.
//
//   lrdriver.exe [product yes|no] start EXE COMMAND [ARGS] ...
//
// Commands run in order and stop at the first failure (exit code 1). Checks poll for up to
// ten seconds. Arguments may carry \uXXXX escapes, so German texts pass through any locale.
// "product" makes or removes HKCR\.lma before the start.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

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

void Poll(const std::function<bool()>& done, const std::wstring& what) {
    for (DWORD start = GetTickCount(); !done(); Sleep(100))
        if (GetTickCount() - start > 10000) throw Failure{what};
}

// Paths come as Unix paths from CMake; Wine maps the root to drive Z:.
std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return path;
}

class Program {
public:
    ~Program() {
        if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 1);  // nothing outlives the driver
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
        Poll([&] { return (window_ = Find()) != nullptr; }, L"no window of class LumoraRepair");
    }
    HWND Window() const { return window_; }
    HWND Control(int id) const {
        std::pair<int, HWND> found{id, nullptr};
        EnumChildWindows(window_, [](HWND h, LPARAM p) {
            auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
            if (GetDlgCtrlID(h) != f->first) return TRUE;
            f->second = h;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        if (!found.second) throw Failure{L"no control " + std::to_wstring(id)};
        return found.second;
    }
    bool Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

private:
    HWND Find() const {
        std::pair<DWORD, HWND> found{process_.dwProcessId, nullptr};
        EnumWindows([](HWND h, LPARAM p) {
            auto* f = reinterpret_cast<std::pair<DWORD, HWND>*>(p);
            DWORD pid = 0;
            wchar_t name[32] = {};
            GetWindowThreadProcessId(h, &pid);
            GetClassNameW(h, name, 32);
            if (pid != f->first || std::wcscmp(name, L"LumoraRepair") != 0 || !IsWindowVisible(h)) return TRUE;
            f->second = h;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        return found.second;
    }
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

// The whole screen (the Wine virtual desktop) as a 24-bit BMP.
void SaveScreen(const std::wstring& file) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info, info.biWidth = width, info.biHeight = height, info.biPlanes = 1, info.biBitCount = 24;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
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
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
    if (!written) throw Failure{L"cannot save " + file};
}

void Run(Program& program, const std::vector<std::wstring>& args) {
    for (std::size_t i = 0; i < args.size();) {
        const std::wstring command = args[i++];
        auto next = [&] {
            if (i >= args.size()) throw Failure{L"missing argument"};
            return Unescape(args[i++]);
        };
        auto expect = [&](HWND hwnd, const std::wstring& text) {
            Poll([&] { return TextOf(hwnd) == text; }, L"expected \"" + text + L"\", actual \"" + TextOf(hwnd) + L"\"");
        };
        if (command == L"product") {
            Program::SetProduct(next() == L"yes");
        } else if (command == L"start") {
            program.Start(next());
        } else if (command == L"caption") {
            expect(program.Window(), next());
        } else if (command == L"esc") {
            // Typed as a user types it: the program's message loop handles the key.
            SetForegroundWindow(program.Window());
            INPUT keys[2] = {};
            keys[0].type = keys[1].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
        } else if (command == L"close") {
            PostMessageW(program.Window(), WM_CLOSE, 0, 0);  // as the close box does
        } else if (command == L"exited") {
            Poll([&] { return program.Ended(); }, L"the program is still running");
        } else if (command == L"screenshots") {
            const std::wstring folder = WindowsPath(next()), tag = next();
            CreateDirectoryW(folder.c_str(), nullptr);
            SetCursorPos(0, 0);
            HWND tabs = program.Control(1001);
            const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (int n = 0; n < count; ++n) {
                // A selection from outside: TCM_SETCURFOCUS notifies the program as a click does.
                SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(n), 0);
                Poll([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == n; }, L"tab not selected");
                Sleep(700);  // the page's painting follows its filling
                SaveScreen(folder + L"\\" + tag + L"page" + std::to_wstring(n + 1) + L".bmp");
            }
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
