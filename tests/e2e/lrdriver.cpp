// lrdriver: starts LumoraRepair.exe under Wine and drives it from outside, as a user and a
// tester would: reads the window's texts, presses keys, clicks, takes screenshots; and
// changes files and registry values of the prefix, while the program runs or, for
// scenario.sh, without it.
//
//   lrdriver.exe COMMAND [ARGS] COMMAND [ARGS] ...
//
// Commands run in order and stop at the first failure (exit code 1; 2 for a malformed
// command line). Every check polls for up to ten seconds before it fails, so the program's
// timing does not matter. Arguments may carry \uXXXX escapes (four hex digits), which keeps
// German texts intact whatever the locale of the calling shell. docs/testing.md describes
// the commands and the control ids.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "registry_state.h"
#include "remote.h"

namespace lrdriver {
namespace {

constexpr wchar_t kWindowClass[] = L"LumoraRepair";
constexpr wchar_t kContainerClass[] = L"LumoraRepairContainer";
constexpr DWORD kPollMs = 10000;
constexpr DWORD kStartMs = 60000;
constexpr UINT kSendTimeoutMs = 5000;

// ---------------------------------------------------------------------------------------
// Text helpers

// Log and failure messages stay ASCII: anything else is written as \uXXXX, the same form
// the arguments take.
std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += c;
        } else {
            wchar_t code[8];
            swprintf(code, 8, L"\\u%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

void Print(const std::wstring& line) {
    const std::wstring ascii = Escaped(line);
    std::string bytes(ascii.begin(), ascii.end());
    std::fputs((bytes + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::wstring Unescape(const std::wstring& arg) {
    std::wstring out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] == L'\\' && i + 5 < arg.size() && arg[i + 1] == L'u' &&
            std::iswxdigit(arg[i + 2]) && std::iswxdigit(arg[i + 3]) && std::iswxdigit(arg[i + 4]) &&
            std::iswxdigit(arg[i + 5])) {
            out += static_cast<wchar_t>(std::wcstoul(arg.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            out += arg[i];
        }
    }
    return out;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Paths may be given as Unix paths (as the shell scripts know them); Wine maps them.
std::wstring WindowsPath(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return path;
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string unixPath(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, unixPath.data(), size, nullptr, nullptr);
    WCHAR* dos = toDos(unixPath.c_str());
    if (!dos) return path;
    std::wstring result = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

// The first window for which found(hwnd) holds: below parent (at any depth), or among the
// top-level windows when parent is null.
template <class Found>
BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM data) {
    auto* state = reinterpret_cast<std::pair<Found*, HWND>*>(data);
    if (!(*state->first)(hwnd)) return TRUE;
    state->second = hwnd;
    return FALSE;
}

template <class Found>
HWND FindWindowWhere(HWND parent, Found found) {
    std::pair<Found*, HWND> state{&found, nullptr};
    if (parent) EnumChildWindows(parent, VisitWindow<Found>, reinterpret_cast<LPARAM>(&state));
    else EnumWindows(VisitWindow<Found>, reinterpret_cast<LPARAM>(&state));
    return state.second;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// ---------------------------------------------------------------------------------------
// The command line

class Args {
public:
    explicit Args(std::vector<std::wstring> items) : items_(std::move(items)) {}
    bool AtEnd() const { return next_ >= items_.size(); }
    std::wstring Next(const wchar_t* what) {
        if (AtEnd()) throw Usage{std::wstring(L"missing ") + what};
        return items_[next_++];
    }
    int NextInt(const wchar_t* what) {
        const std::wstring text = Next(what);
        if (!IsNumber(text)) throw Usage{std::wstring(what) + L" must be a number, not " + Quoted(text)};
        return std::stoi(text);
    }
    bool NextBool(const wchar_t* what) {
        const std::wstring text = Next(what);
        if (text != L"0" && text != L"1") throw Usage{std::wstring(what) + L" must be 0 or 1, not " + Quoted(text)};
        return text == L"1";
    }
    // An optional number: taken only when the next argument is one (no command is).
    bool NextIsNumber() const { return !AtEnd() && IsNumber(items_[next_]); }
    // For the log: the arguments taken since a position, quoted.
    std::size_t Position() const { return next_; }
    std::wstring Taken(std::size_t from) const {
        std::wstring text;
        for (std::size_t i = from; i < next_; ++i) text += L" " + Quoted(Unescape(items_[i]));
        return text;
    }

    struct Usage {
        std::wstring message;
    };

private:
    static bool IsNumber(const std::wstring& text) {
        if (text.empty() || text.size() > 9) return false;
        for (wchar_t c : text)
            if (c < L'0' || c > L'9') return false;
        return true;
    }
    std::vector<std::wstring> items_;
    std::size_t next_ = 0;
};

// ---------------------------------------------------------------------------------------
// The driven program

class Program {
public:
    ~Program() {
        // The driver owns what it started: nothing outlives it, whatever failed.
        if (info_.hProcess) {
            if (Running()) {
                Print(L"  (ending the program, which is still running)");
                TerminateProcess(info_.hProcess, 1);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }

    void Start(const std::wstring& exe) {
        if (info_.hProcess) throw Failure{L"a program is already started"};
        const std::wstring path = WindowsPath(exe);
        std::wstring folder = path.substr(0, path.find_last_of(L"\\/") == std::wstring::npos ? 0 : path.find_last_of(L"\\/"));
        std::wstring commandLine = Quoted(path);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
            info_ = {};
            throw Failure{L"cannot start " + path + L" (error " + std::to_wstring(GetLastError()) + L")"};
        }
        const DWORD start = GetTickCount();
        while (!(window_ = FindWindowOfProcess())) {
            if (!Running()) throw Failure{L"the program ended before its window appeared (exit code " + ExitCode() + L")"};
            if (GetTickCount() - start > kStartMs) throw Failure{L"no visible window of class LumoraRepair after 60 s"};
            Sleep(100);
        }
    }

    HWND Window() const {
        if (!info_.hProcess) throw Failure{L"no program started"};
        if (!Running()) throw Failure{L"the program has ended (exit code " + ExitCode() + L")"};
        return window_;
    }
    HANDLE Process() const { return info_.hProcess; }
    bool Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD ms) const { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }
    std::wstring ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return std::to_wstring(code);
    }

    // The control with this id anywhere below the window (pages and frames are nested
    // windows of their own), or null.
    HWND Control(int id) const {
        return FindWindowWhere(Window(), [id](HWND hwnd) { return GetDlgCtrlID(hwnd) == id; });
    }
    HWND RequireControl(int id) const {
        HWND hwnd = Control(id);
        if (!hwnd) throw Failure{L"no control with id " + std::to_wstring(id)};
        return hwnd;
    }

    LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
            throw Failure{L"the program did not answer message 0x" + Hex(msg)};
        return static_cast<LRESULT>(result);
    }
    auto Sender(HWND hwnd) const {
        return [this, hwnd](UINT msg, WPARAM wParam, LPARAM lParam) { return Send(hwnd, msg, wParam, lParam); };
    }

private:
    static std::wstring Hex(UINT value) {
        wchar_t text[16];
        swprintf(text, 16, L"%04X", value);
        return text;
    }

    HWND FindWindowOfProcess() const {
        const DWORD pid = info_.dwProcessId;
        return FindWindowWhere(nullptr, [pid](HWND hwnd) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            return owner == pid && ClassOf(hwnd) == kWindowClass && IsWindowVisible(hwnd);
        });
    }

    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Observing

// Polls until observe() returns expected; a Failure thrown by observe counts as "not yet"
// and its message becomes the actual value.
template <class Observe>
void Expect(const std::wstring& what, const std::wstring& expected, Observe observe) {
    const DWORD start = GetTickCount();
    std::wstring actual;
    for (;;) {
        try {
            actual = observe();
        } catch (const Failure& f) {
            actual = L"<" + f.message + L">";
        }
        if (actual == expected) return;
        if (GetTickCount() - start > kPollMs)
            throw Failure{what + L": expected " + Quoted(expected) + L", actual " + Quoted(actual)};
        Sleep(100);
    }
}

std::wstring WindowText(const Program& program, HWND hwnd) {
    const auto length = static_cast<std::size_t>(program.Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto got = static_cast<std::size_t>(
        program.Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(got < length ? got : length);
    return text;
}

// A frame shows its caption through a group box child (id 0) of its container.
std::wstring ControlText(const Program& program, int id) {
    HWND hwnd = program.RequireControl(id);
    if (ClassOf(hwnd) == kContainerClass) {
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
            if (GetDlgCtrlID(child) == 0 && _wcsicmp(ClassOf(child).c_str(), L"Button") == 0 &&
                (style & BS_TYPEMASK) == BS_GROUPBOX)
                return WindowText(program, child);
        }
    }
    return WindowText(program, hwnd);
}

std::wstring TabCaptions(const Program& program, HWND tabs) {
    const auto count = static_cast<int>(program.Send(tabs, TCM_GETITEMCOUNT, 0, 0));
    std::wstring joined;
    for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        if (i) joined += L"|";
        joined += ExchangeText(program.Process(), program.Sender(tabs), TCM_GETITEMW, static_cast<WPARAM>(i), item,
                               &TCITEMW::pszText, &TCITEMW::cchTextMax);
    }
    return joined;
}

// The id of the control that holds the keyboard focus (a child of a control counts as
// the control), or a description of where the focus is instead.
std::wstring FocusedControl(const Program& program) {
    HWND window = program.Window();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return L"<no thread info>";
    if (!info.hwndFocus) return L"<nothing focused>";
    for (HWND h = info.hwndFocus; h && h != window; h = GetParent(h)) {
        const int id = GetDlgCtrlID(h);
        if (id != 0) return std::to_wstring(id);
    }
    return info.hwndFocus == window ? L"<the window itself>" : L"<" + ClassOf(info.hwndFocus) + L" outside the controls>";
}

// ---------------------------------------------------------------------------------------
// Input

void BringToFront(const Program& program) {
    HWND window = program.Window();
    Expect(L"foreground window", L"1", [&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return std::wstring(GetForegroundWindow() == window ? L"1" : L"0");
    });
}

void SendKeys(const std::vector<WORD>& modifiers, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers) add(m, false);
    add(key, false);
    add(key, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) add(*it, true);
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw Failure{L"SendInput did not take the keys"};
}

// A real left click at the centre of rect, given in the client coordinates of hwnd. Wine
// moves the X pointer behind SetCursorPos's back; a press sent at once may still be
// delivered where the pointer was before (a click on tab 1 then lands on tab 2, a header
// click on the header clicked last). So the press waits until the pointer is seen in its
// place and the X events of the move are through, and it carries the move once more.
void ClickAt(HWND hwnd, RECT rect) {
    POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MapWindowPoints(hwnd, nullptr, &p, 1);
    SetCursorPos(p.x, p.y);
    Expect(L"mouse pointer position", std::to_wstring(p.x) + L"," + std::to_wstring(p.y), [] {
        POINT at{};
        GetCursorPos(&at);
        return std::to_wstring(at.x) + L"," + std::to_wstring(at.y);
    });
    Sleep(150);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    in[0].type = in[1].type = in[2].type = INPUT_MOUSE;
    in[0].mi.dx = MulDiv(p.x, 65535, width - 1);
    in[0].mi.dy = MulDiv(p.y, 65535, height - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(3, in, sizeof(INPUT)) != 3) throw Failure{L"SendInput did not take the click"};
}

// ---------------------------------------------------------------------------------------
// Screenshots

// The whole screen (the Wine virtual desktop) as a 24-bit bottom-up BMP.
void SaveScreen(const std::wstring& file) {
    HDC screen = GetDC(nullptr);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;

    bool written = false;
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (bitmap && copied && out != INVALID_HANDLE_VALUE) {
        DWORD done = 0;
        written = WriteFile(out, &header, sizeof header, &done, nullptr) &&
                  WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &done, nullptr) &&
                  WriteFile(out, bits, imageSize, &done, nullptr) && done == imageSize;
    }
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (bitmap) DeleteObject(bitmap);
    if (!written) throw Failure{L"cannot save the screen to " + file};
}

// ---------------------------------------------------------------------------------------
// The tab strip: the window has one, found by its class, so the tab commands need no id.

HWND TabStrip(const Program& program) {
    HWND tabs = FindWindowWhere(program.Window(), [](HWND hwnd) { return ClassOf(hwnd) == WC_TABCONTROLW; });
    if (!tabs) throw Failure{L"the window has no tab strip"};
    return tabs;
}

int TabCount(const Program& program) {
    return static_cast<int>(program.Send(TabStrip(program), TCM_GETITEMCOUNT, 0, 0));
}

// Tabs are counted from 1, as the window's code counts them.
int TabIndexArg(const Program& program, Args& args) {
    const int n = args.NextInt(L"N");
    const int count = TabCount(program);
    if (n < 1 || n > count)
        throw Failure{L"tab " + std::to_wstring(n) + L" does not exist (" + std::to_wstring(count) + L" tabs)"};
    return n;
}

void WaitSelected(const Program& program, int n) {
    Expect(L"selected tab", std::to_wstring(n),
           [&] { return std::to_wstring(program.Send(TabStrip(program), TCM_GETCURSEL, 0, 0) + 1); });
}

// TCM_SETCURFOCUS makes the tab strip notify its parent inside the program; a WM_NOTIFY
// sent from here would not arrive under Wine.
void SelectTab(const Program& program, int n) {
    program.Send(TabStrip(program), TCM_SETCURFOCUS, static_cast<WPARAM>(n - 1), 0);
    WaitSelected(program, n);
}

// ---------------------------------------------------------------------------------------
// The commands, one function each

void CmdStart(Program& program, Args& args) { program.Start(Unescape(args.Next(L"EXE"))); }

void CmdCaption(Program& program, Args& args) {
    const std::wstring expected = Unescape(args.Next(L"TEXT"));
    Expect(L"window caption", expected, [&] { return WindowText(program, program.Window()); });
}

void CmdText(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const std::wstring expected = Unescape(args.Next(L"TEXT"));
    Expect(L"text of control " + std::to_wstring(id), expected, [&] { return ControlText(program, id); });
}

void CmdVisible(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const bool expected = args.NextBool(L"0|1");
    Expect(L"WS_VISIBLE of control " + std::to_wstring(id), expected ? L"1" : L"0", [&] {
        const LONG_PTR style = GetWindowLongPtrW(program.RequireControl(id), GWL_STYLE);
        return std::wstring((style & WS_VISIBLE) ? L"1" : L"0");
    });
}

void CmdTabs(Program& program, Args& args) {
    const std::wstring expected = Unescape(args.Next(L"CAP1|CAP2|..."));
    Expect(L"tab captions", expected, [&] {
        return TabCaptions(program, TabStrip(program));
    });
}

void CmdFocus(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    Expect(L"control with the keyboard focus", std::to_wstring(id), [&] { return FocusedControl(program); });
}

void CmdIcon(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const bool expected = args.NextBool(L"0|1");
    Expect(L"image list of button " + std::to_wstring(id), expected ? L"1" : L"0", [&] {
        HWND button = program.RequireControl(id);
        BUTTON_IMAGELIST images{};
        const auto back = ExchangeRecord(program.Process(), program.Sender(button), BCM_GETIMAGELIST, 0, images, nullptr);
        return std::wstring(back.himl ? L"1" : L"0");
    });
}

// Posted, so a handler that ends the program or opens a modal box does not hold us up.
void CmdClick(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    HWND button = program.RequireControl(id);
    if (!PostMessageW(button, BM_CLICK, 0, 0)) throw Failure{L"cannot post BM_CLICK to control " + std::to_wstring(id)};
}

void CmdKey(Program& program, Args& args) {
    const std::wstring chord = args.Next(L"KEY");
    std::vector<WORD> modifiers;
    std::wstring rest = chord;
    for (;;) {
        if (rest.rfind(L"ctrl+", 0) == 0) {
            modifiers.push_back(VK_CONTROL), rest.erase(0, 5);
        } else if (rest.rfind(L"shift+", 0) == 0) {
            modifiers.push_back(VK_SHIFT), rest.erase(0, 6);
        } else {
            break;
        }
    }
    WORD key = 0;
    if (rest == L"esc") key = VK_ESCAPE;
    else if (rest == L"tab") key = VK_TAB;
    else if (rest == L"enter") key = VK_RETURN;
    else if (rest == L"space") key = VK_SPACE;
    else throw Args::Usage{L"unknown key " + Quoted(chord) + L" (esc, tab, enter, space with ctrl+ and shift+)"};
    BringToFront(program);
    SendKeys(modifiers, key);
}

void CmdRows(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const int expected = args.NextInt(L"N");
    Expect(L"rows of list view " + std::to_wstring(id), std::to_wstring(expected), [&] {
        return std::to_wstring(program.Send(program.RequireControl(id), LVM_GETITEMCOUNT, 0, 0));
    });
}

std::wstring CellText(const Program& program, HWND view, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    return ExchangeText(program.Process(), program.Sender(view), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), item,
                        &LVITEMW::pszText, &LVITEMW::cchTextMax);
}

void CmdCell(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const int row = args.NextInt(L"ROW");
    const int column = args.NextInt(L"COL");
    const std::wstring expected = Unescape(args.Next(L"TEXT"));
    Expect(L"list view " + std::to_wstring(id) + L" row " + std::to_wstring(row) + L" column " + std::to_wstring(column),
           expected, [&] { return CellText(program, program.RequireControl(id), row, column); });
}

// A whole row (every column, as many as the header has) or a whole column (every row),
// joined by "|": one check covers the order of the rows and what each row carries.
void CmdRow(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const int row = args.NextInt(L"ROW");
    const std::wstring expected = Unescape(args.Next(L"TEXT|TEXT|..."));
    Expect(L"list view " + std::to_wstring(id) + L" row " + std::to_wstring(row), expected, [&] {
        HWND view = program.RequireControl(id);
        HWND header = reinterpret_cast<HWND>(program.Send(view, LVM_GETHEADER, 0, 0));
        const int columns = header ? static_cast<int>(program.Send(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
        const int rows = static_cast<int>(program.Send(view, LVM_GETITEMCOUNT, 0, 0));
        if (row >= rows) throw Failure{L"the list has " + std::to_wstring(rows) + L" rows"};
        std::wstring joined;
        for (int c = 0; c < columns; ++c) joined += (c ? L"|" : L"") + CellText(program, view, row, c);
        return joined;
    });
}

void CmdColumn(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const int column = args.NextInt(L"COL");
    const std::wstring expected = Unescape(args.Next(L"TEXT|TEXT|..."));
    Expect(L"list view " + std::to_wstring(id) + L" column " + std::to_wstring(column), expected, [&] {
        HWND view = program.RequireControl(id);
        const int rows = static_cast<int>(program.Send(view, LVM_GETITEMCOUNT, 0, 0));
        std::wstring joined;
        for (int r = 0; r < rows; ++r) joined += (r ? L"|" : L"") + CellText(program, view, r, column);
        return joined;
    });
}

void CmdHeaderClick(Program& program, Args& args) {
    const int id = args.NextInt(L"ID");
    const int column = args.NextInt(L"COL");
    HWND view = program.RequireControl(id);
    HWND header = reinterpret_cast<HWND>(program.Send(view, LVM_GETHEADER, 0, 0));
    if (!header) throw Failure{L"control " + std::to_wstring(id) + L" has no column header"};
    LRESULT ok = 0;
    const RECT rect = ExchangeRecord(program.Process(), program.Sender(header), HDM_GETITEMRECT,
                                     static_cast<WPARAM>(column), RECT{}, &ok);
    if (!ok) throw Failure{L"list view " + std::to_wstring(id) + L" has no column " + std::to_wstring(column)};
    BringToFront(program);
    ClickAt(header, rect);
}

void CmdScreenshot(Program&, Args& args) { SaveScreen(WindowsPath(Unescape(args.Next(L"FILE.bmp")))); }

void CmdClose(Program& program, Args&) {
    if (!PostMessageW(program.Window(), WM_CLOSE, 0, 0)) throw Failure{L"cannot post WM_CLOSE"};
}

void WaitExited(Program& program, DWORD seconds) {
    if (!program.Process()) throw Failure{L"no program started"};
    if (!program.WaitForExit(seconds * 1000))
        throw Failure{L"the program is still running after " + std::to_wstring(seconds) + L" s"};
}

void CmdQuit(Program& program, Args& args) {
    CmdClose(program, args);
    WaitExited(program, 10);
}

void CmdExited(Program& program, Args& args) {
    WaitExited(program, args.NextIsNumber() ? static_cast<DWORD>(args.NextInt(L"SECONDS")) : 10);
}

void CmdSleep(Program&, Args& args) { Sleep(static_cast<DWORD>(args.NextInt(L"MS"))); }

// ---------------------------------------------------------------------------------------
// Changes to the prefix while the program runs, so a scenario can show that a page reads
// afresh. scenario.sh puts back what these touch only when the scenario declares the path
// (--absent, --place) or the value (--reg-set, --reg-delete).

std::wstring ErrorText(const std::wstring& what, DWORD error) {
    return what + L" (error " + std::to_wstring(error) + L")";
}

// One folder; its parent must exist, so nothing above the declared path is made.
void CmdMkdir(Program&, Args& args) {
    const std::wstring path = WindowsPath(Unescape(args.Next(L"PATH")));
    if (!CreateDirectoryW(path.c_str(), nullptr)) throw Failure{ErrorText(L"cannot make " + path, GetLastError())};
}

void CmdCopy(Program&, Args& args) {
    const std::wstring from = WindowsPath(Unescape(args.Next(L"SOURCE")));
    const std::wstring to = WindowsPath(Unescape(args.Next(L"TARGET")));
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        throw Failure{ErrorText(L"cannot copy " + from + L" to " + to, GetLastError())};
}

// Registry commands (registry_state.h); they need no program. reg-set and reg-delete read
// the value back, so a scenario that goes on has the state it asked for.
void CmdRegSet(Program&, Args& args) {
    const RegistryKeyPath key(Unescape(args.Next(L"KEY")));
    const std::wstring name = Unescape(args.Next(L"NAME"));
    const std::wstring data = Unescape(args.Next(L"DATA"));
    WriteValue(key, name, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    if (ValueState(key, name) != TextValueState(data)) throw Failure{L"cannot set " + key.Text() + L" value " + name};
}

void CmdRegDelete(Program&, Args& args) {
    const RegistryKeyPath key(Unescape(args.Next(L"KEY")));
    const std::wstring name = Unescape(args.Next(L"NAME"));
    DeleteValue(key, name);
    const std::wstring state = ValueState(key, name);
    if (state != L"novalue" && state.rfind(L"nokey:", 0) != 0)
        throw Failure{L"cannot remove " + key.Text() + L" value " + name};
}

// For scenario.sh, which keeps the line "reg-state STATE" to put the value back later.
void CmdRegState(Program&, Args& args) {
    const RegistryKeyPath key(Unescape(args.Next(L"KEY")));
    Print(L"reg-state " + ValueState(key, Unescape(args.Next(L"NAME"))));
}

void CmdRegPut(Program&, Args& args) {
    const RegistryKeyPath key(Unescape(args.Next(L"KEY")));
    const std::wstring name = Unescape(args.Next(L"NAME"));
    PutValueState(key, name, Unescape(args.Next(L"STATE")));
}

// Whole keys: "present", or "nokey:<the top-most missing key>" as for values.
void CmdRegKeyState(Program&, Args& args) {
    const RegistryKeyPath key(Unescape(args.Next(L"KEY")));
    Print(L"reg-state " + (key.Exists() ? std::wstring(L"present") : L"nokey:" + key.TopMissing()));
}

void CmdRegKeyMake(Program&, Args& args) {
    const RegistryKeyPath path(Unescape(args.Next(L"KEY")));
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(path.Root(), path.Subkey().c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) throw Failure{RegistryError(L"cannot make " + path.Text(), status)};
    RegCloseKey(key);
}

void CmdRegKeyDelete(Program&, Args& args) { DeleteKeyTree(RegistryKeyPath(Unescape(args.Next(L"KEY")))); }

// A real click on the tab, so the tab strip's mouse handling runs as for a user.
void CmdTab(Program& program, Args& args) {
    const int n = TabIndexArg(program, args);
    HWND tabs = TabStrip(program);
    LRESULT ok = 0;
    const RECT rect = ExchangeRecord(program.Process(), program.Sender(tabs), TCM_GETITEMRECT,
                                     static_cast<WPARAM>(n - 1), RECT{}, &ok);
    if (!ok) throw Failure{L"no rectangle for tab " + std::to_wstring(n)};
    BringToFront(program);
    ClickAt(tabs, rect);
    WaitSelected(program, n);
}

void CmdSelectTab(Program& program, Args& args) { SelectTab(program, TabIndexArg(program, args)); }

void CmdScreenshots(Program& program, Args& args) {
    const std::wstring folder = WindowsPath(Unescape(args.Next(L"WINDIR")));
    const std::wstring tag = Unescape(args.Next(L"TAG"));
    CreateDirectoryW(folder.c_str(), nullptr);
    SetCursorPos(0, 0);  // out of the way, so no hover effect shows
    const int count = TabCount(program);
    for (int n = 1; n <= count; ++n) {
        SelectTab(program, n);
        // A sent message returns once the program has handled what came before it; the
        // pause lets the page's painting follow.
        program.Send(program.Window(), WM_NULL, 0, 0);
        Sleep(700);
        const std::wstring file = folder + L"\\" + tag + L"page" + std::to_wstring(n) + L".bmp";
        SaveScreen(file);
        Print(L"  saved " + file);
    }
}

struct Command {
    const wchar_t* name;
    void (*run)(Program&, Args&);
};

constexpr Command kCommands[] = {
    {L"start", CmdStart},           {L"caption", CmdCaption},
    {L"text", CmdText},             {L"visible", CmdVisible},
    {L"tabs", CmdTabs},             {L"focus", CmdFocus},
    {L"icon", CmdIcon},             {L"click", CmdClick},
    {L"key", CmdKey},               {L"tab", CmdTab},
    {L"select-tab", CmdSelectTab},  {L"rows", CmdRows},
    {L"cell", CmdCell},             {L"header-click", CmdHeaderClick},
    {L"row", CmdRow},               {L"column", CmdColumn},
    {L"mkdir", CmdMkdir},           {L"copy", CmdCopy},
    {L"reg-set", CmdRegSet},        {L"reg-delete", CmdRegDelete},
    {L"reg-state", CmdRegState},    {L"reg-put", CmdRegPut},
    {L"reg-key-state", CmdRegKeyState}, {L"reg-key-make", CmdRegKeyMake},
    {L"reg-key-delete", CmdRegKeyDelete},
    {L"screenshot", CmdScreenshot}, {L"screenshots", CmdScreenshots},
    {L"close", CmdClose},           {L"quit", CmdQuit},
    {L"exited", CmdExited},         {L"sleep", CmdSleep},
};

const Command* FindCommand(const std::wstring& name) {
    for (const auto& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace

int Run(std::vector<std::wstring> items) {
    if (items.empty()) {
        Print(L"usage: lrdriver.exe COMMAND [ARGS] ... (see docs/testing.md)");
        return 2;
    }
    Args args(std::move(items));
    Program program;
    while (!args.AtEnd()) {
        const std::wstring name = args.Next(L"command");
        const Command* command = FindCommand(name);
        if (!command) {
            Print(L"error: unknown command " + Quoted(name));
            return 2;
        }
        const std::size_t from = args.Position();
        try {
            command->run(program, args);
            Print(L"ok     " + name + args.Taken(from));
        } catch (const Failure& f) {
            Print(L"FAILED " + name + args.Taken(from) + L": " + f.message);
            return 1;
        } catch (const Args::Usage& u) {
            Print(L"error: " + name + args.Taken(from) + L": " + u.message);
            return 2;
        }
    }
    Print(L"all passed");
    return 0;
}

}  // namespace lrdriver

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> items(argv + 1, argv + argc);
    return lrdriver::Run(std::move(items));
}
