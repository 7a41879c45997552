// No text a user must read is covered or cut: every page and the About box, both product
// forms, at 96, 120 and 144 DPI. ctest runs it in English and German, in the test prefix and
// in one with Wine's default fonts alone (tests/wine.cmake). The screen's DPI is taken when a
// process starts, so each DPI is a run of this same test in a child process; the child opens
// the real window and measures every visible label's and button's text with its
// own font: inside its own window, over no other visible control above it, and a button's
// clear of its icon. List views are left out: their cells show the rest as a tip.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/layout.h"
#include "window/real_window.h"

namespace {

constexpr wchar_t kChild[] = L"LR_READABLE";  // "DPI LANGUAGE FONTS" in a child run

std::wstring ClassOf(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}

std::wstring Name(HWND h) {
    const int id = GetDlgCtrlID(h);
    for (const auto& spec : app::Layout())
        if (spec.id == id) return std::wstring(spec.name, spec.name + std::strlen(spec.name));
    return L"id " + std::to_wstring(id);
}

// True when b is drawn over a: of their ancestors that are siblings, b's comes first.
bool Above(HWND b, HWND a) {
    for (HWND x = a; x; x = GetParent(x))
        for (HWND y = b; y; y = GetParent(y)) {
            if (GetParent(x) != GetParent(y)) continue;
            if (x == y) return false;  // one holds the other
            for (HWND h = GetWindow(x, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
                if (h == y) return true;
            return false;
        }
    return false;
}

// Where a window draws its text, in screen coordinates, measured with its own font as it
// draws it; empty when it has none. `problem` names what is wrong inside the window itself.
RECT TextExtent(HWND h, std::wstring& problem) {
    const std::wstring text = win32::WindowText(h);
    const std::wstring kind = ClassOf(h);
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    const bool group = kind == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX;
    RECT r{}, client{};
    if (text.empty() || (kind != L"Static" && kind != L"Button")) return r;
    GetClientRect(h, &client);
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    if (kind == L"Static" && r.right > client.right) {  // a static breaks its lines between words
        r = RECT{0, 0, client.right, 0};
        DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    const int border = GetSystemMetrics(SM_CXEDGE);
    if (kind == L"Button" && !group) {
        OffsetRect(&r, (client.right - r.right) / 2, (client.bottom - r.bottom) / 2);  // centred
        BUTTON_IMAGELIST images{};
        SendMessageW(h, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
        int cx = 0, cy = 0;
        if (images.himl && ImageList_GetIconSize(images.himl, &cx, &cy) && r.left < images.margin.left + cx)
            problem = L"over its icon";
    }
    if (group) OffsetRect(&r, 4 * border, 0);
    if (r.left < 0 || r.right > client.right || r.bottom > client.bottom) problem = L"cut";
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Every visible text below top: readable, or a failure naming the control and what hides it.
void ExpectReadable(HWND top, const std::wstring& where) {
    std::vector<HWND> all;
    EnumChildWindows(top, [](HWND h, LPARAM p) {
        if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&all));
    int texts = 0;
    for (HWND h : all) {
        std::wstring problem;
        const RECT text = TextExtent(h, problem);
        if (IsRectEmpty(&text)) continue;
        ++texts;
        for (HWND other : all) {
            RECT covered{}, r{};
            GetWindowRect(other, &r);
            const std::wstring kind = ClassOf(other);
            const bool plain = kind == L"Static" || kind == L"Button" || kind == L"SysListView32" ||
                               kind == L"msctls_progress32" || kind == L"SysTabControl32";
            const LONG style = GetWindowLongW(other, GWL_STYLE);
            // A group box is transparent inside; a message box's icon place holds no icon here.
            const bool group = (kind == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) ||
                               (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON);
            if (plain && !group && Above(other, h) && IntersectRect(&covered, &text, &r))
                problem += L" under " + Name(other);
        }
        EXPECT_EQ(problem, L"") << where << ": " << Name(h) << " \"" << win32::WindowText(h) << "\"";
    }
    EXPECT_GT(texts, 0) << where;
}

// The About box, looked at from a timer that runs inside its modal loop, then closed.
std::wstring aboutWhere;
bool aboutSeen = false;
void CALLBACK LookAtAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) {
        if (ClassOf(h) != L"#32770") return TRUE;
        ExpectReadable(h, aboutWhere);
        aboutSeen = true;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return FALSE;
    }, 0);
    if (aboutSeen) KillTimer(nullptr, timer);
}

void ChildRun(const std::wstring& setting) {
    const int dpi = _wtoi(setting.c_str());
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi) << "the setting took";
    LOGFONTW tahoma{};
    tahoma.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(tahoma.lfFaceName, L"Tahoma");
    const bool hasTahoma = !EnumFontFamiliesExW(screen, &tahoma, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) { return 0; }, 0, 0);
    EXPECT_EQ(hasTahoma, setting.find(L"plain") == std::wstring::npos) << "Wine's own fonts as the prefix says";
    ReleaseDC(nullptr, screen);
    for (const bool product : {true, false}) {
        testwindow::RealWindow opened(product);
        ASSERT_TRUE(opened.created);
        ASSERT_NE(opened.top, nullptr);
        HWND top = opened.top;
        win32::Form& form = opened.form;
        const std::wstring where = setting + (product ? L" installed" : L" not installed");
        for (int tab = 0; tab < form[ctl::TabStrip1].TabCount(); ++tab) {
            SendMessageW(opened.Child(ctl::TabStrip1), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
            form.DoEvents();
            ExpectReadable(top, where + L" page " + std::to_wstring(tab + 1));
        }
        aboutWhere = where + L" About";
        aboutSeen = false;
        SetTimer(nullptr, 0, 50, LookAtAbout);
        opened.window.cmdAbout_Click();
        EXPECT_TRUE(aboutSeen);
    }
}

TEST(Readable, EveryTextInEverySetting) {
    wchar_t child[64] = {};
    if (GetEnvironmentVariableW(kChild, child, 64)) return ChildRun(child);

    wchar_t exe[MAX_PATH] = {}, temp[MAX_PATH] = {}, fonts[16] = {}, language[16] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    GetEnvironmentVariableW(L"LR_FONTS", fonts, 16);  // "plain" in a prefix with Wine's default fonts
    GetEnvironmentVariableW(L"LANG", language, 3);
    const std::wstring log = std::wstring(temp) + L"lr-readable.txt";
    for (const DWORD dpi : {96u, 120u, 144u}) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        const std::wstring setting = std::to_wstring(dpi) + L" " + language + L" " + (*fonts ? fonts : L"test-prefix");
        SetEnvironmentVariableW(kChild, setting.c_str());
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE out = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = out;
        std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=Readable.*";
        PROCESS_INFORMATION process{};
        const bool started =
            CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
        CloseHandle(out);
        ASSERT_TRUE(started);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::string report;
        HANDLE in = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char chunk[4096];
        for (DWORD n = 0; ReadFile(in, chunk, sizeof chunk, &n, nullptr) && n > 0;) report.append(chunk, n);
        CloseHandle(in);
        EXPECT_EQ(code, 0u) << report;
    }
    SetEnvironmentVariableW(kChild, nullptr);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
}

}  // namespace
