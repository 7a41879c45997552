// The real window in settings the other tests do not use: no text a user must read is covered
// or cut, on every page and in the About box, both product forms, at 96, 120 and 144 DPI.
// ctest runs it in English and German, in the test prefix and in one with Wine's default fonts
// alone (tests/wine.cmake). The DPI is taken when a process starts, so each DPI is a run of
// this same test in a child.
#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/ui/form.h"

namespace {

bool IsClass(HWND h, const wchar_t* name) {
    wchar_t found[64] = {};
    GetClassNameW(h, found, 64);
    return lstrcmpW(found, name) == 0;
}

// True when b is drawn over a: of their ancestors that are siblings, b's comes first.
bool Above(HWND b, HWND a) {
    for (HWND x = a; x; x = GetParent(x))
        for (HWND y = b; y; y = GetParent(y))
            if (GetParent(x) == GetParent(y)) {
                for (HWND h = GetWindow(x, GW_HWNDPREV); h && x != y; h = GetWindow(h, GW_HWNDPREV))
                    if (h == y) return true;
                return false;
            }
    return false;
}

// A group box is transparent inside; a message box's icon place shows no icon here.
bool Hollow(HWND h) {
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    return (IsClass(h, L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX) ||
           (IsClass(h, L"Static") && (style & SS_TYPEMASK) == SS_ICON);
}

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
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (!button && r.right > client.right) {
        r = RECT{0, 0, client.right, 0};
        DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    ReleaseDC(h, dc);
    BUTTON_IMAGELIST images{};
    int cx = 0, cy = 0;
    if (Hollow(h)) OffsetRect(&r, 8, 0);  // a group box's caption
    else if (button) OffsetRect(&r, (client.right - r.right) / 2, (client.bottom - r.bottom) / 2);
    if (button && SendMessageW(h, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)) && images.himl &&
        ImageList_GetIconSize(images.himl, &cx, &cy) && r.left < images.margin.left + cx)
        problem = L"over its icon";
    if (r.right > client.right || r.bottom > client.bottom) problem += L"cut";
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectReadable(HWND top, const std::wstring& where) {
    std::vector<HWND> shown;
    EnumChildWindows(top, [](HWND h, LPARAM p) CALLBACK -> BOOL {
        if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&shown));
    int texts = 0;
    for (HWND h : shown) {
        std::wstring problem;
        const RECT text = TextExtent(h, problem);
        if (IsRectEmpty(&text)) continue;
        ++texts;
        for (HWND other : shown) {
            RECT r{}, both{};
            GetWindowRect(other, &r);
            if (!Hollow(other) && Above(other, h) && IntersectRect(&both, &text, &r))
                problem += L" under id " + std::to_wstring(GetDlgCtrlID(other));
        }
        EXPECT_EQ(problem, L"") << where << ", id " << GetDlgCtrlID(h) << " \"" << win32::WindowText(h) << "\"";
    }
    EXPECT_GT(texts, 0) << where;
}

// The About box, looked at from a timer that runs inside its modal loop, then closed.
std::wstring aboutWhere;
bool aboutSeen = false;
void CALLBACK LookAtAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) CALLBACK -> BOOL {
        if (!IsClass(h, L"#32770")) return TRUE;
        ExpectReadable(h, aboutWhere);
        aboutSeen = true;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return FALSE;
    }, 0);
    if (aboutSeen) KillTimer(nullptr, timer);
}

TEST(Readable, EveryTextInEverySetting) {
    wchar_t setting[64] = {}, fonts[16] = L"test", language[3] = {}, exe[MAX_PATH] = {};
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
    GetEnvironmentVariableW(L"LANG", language, 3);
    win32::PlatformServices platform;  // nothing is clicked or registered here
    for (const bool product : {true, false}) {
        if (product) RegSetValueW(HKEY_CLASSES_ROOT, L".lma", REG_SZ, L"", 0);
        else RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
        win32::Form form{GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK};
        app::frmLumoraRepair window{platform.services, form};
        window.Form_Initialize();
        ASSERT_TRUE(form.Create(window, app::kClientWidth, app::kClientHeight));
        window.Form_Load();
        form.Show();
        HWND top = FindWindowW(L"LumoraRepair", nullptr);
        const std::wstring where = std::wstring(setting) + L" DPI " + language + L" " + fonts + (product ? L" installed" : L" not installed");
        for (int tab = 0; tab < form[ctl::TabStrip1].TabCount(); ++tab) {
            SendMessageW(GetDlgItem(top, ctl::TabStrip1), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
            form.DoEvents();
            ExpectReadable(top, where + L" page " + std::to_wstring(tab + 1));
        }
        aboutWhere = where + L" About";
        aboutSeen = false;
        SetTimer(nullptr, 0, 50, LookAtAbout);
        window.cmdAbout_Click();
        EXPECT_TRUE(aboutSeen);
        form.Unload();  // its end posts WM_QUIT, taken off the queue for the next window
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        }
    }
}

}  // namespace
