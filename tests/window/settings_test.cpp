// The real window in settings the other tests do not use. Readable: no text a user must read is
// covered or cut, on every page and in the About box, both product forms, at 96, 120 and 144
// DPI; ctest runs it in English and German, in the test prefix and in one with Wine's default
// fonts alone (tests/wine.cmake). The DPI is taken when a process starts, so each DPI is a run
// of this same test in a child. Names: folders named outside the ANSI code page are found and
// shown as named.
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
#include "fakes/fake_shell.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/modules_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "platform/win32/ui/form.h"
#include "testdlls/test_dlls.h"

namespace {

// The window as the program's entry makes it, on the real platform groups (the browser aside).
struct RealWindow {
    explicit RealWindow(bool product) {
        MSG left;  // the WM_QUIT of a window before
        while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE)) {
        }
        if (product) RegSetValueW(HKEY_CLASSES_ROOT, L".lma", REG_SZ, L"", 0);
        else RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
        window.Form_Initialize();
        EXPECT_TRUE(form.Create(window, app::kClientWidth, app::kClientHeight));
        window.Form_Load();
        form.Show();
        form.DoEvents();
        top = FindWindowW(L"LumoraRepair", nullptr);
    }
    void ShowTab(int index) {
        SendMessageW(GetDlgItem(top, ctl::TabStrip1), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
        form.DoEvents();
    }
    win32::Texts texts;
    win32::System system;
    win32::Registry registry;
    win32::VersionResources versions;
    win32::Folders folders;
    win32::Modules modules;
    fakes::FakeShell shell;
    os::Services services{texts, system, registry, versions, folders, shell, modules};
    win32::Form form{GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK};
    app::frmLumoraRepair window{services, form};
    HWND top = nullptr;
};

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
    EnumChildWindows(top, [](HWND h, LPARAM p) {
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
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) {
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
    const auto none = [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) { return 0; };
    EXPECT_EQ(EnumFontFamiliesExW(screen, &tahoma, none, 0, 0) == 0, lstrcmpW(fonts, L"plain") != 0) << "the fonts";
    ReleaseDC(nullptr, screen);
    GetEnvironmentVariableW(L"LANG", language, 3);
    for (const bool product : {true, false}) {
        RealWindow opened(product);
        const std::wstring where = std::wstring(setting) + L" DPI " + language + L" " + fonts + (product ? L" installed" : L" not installed");
        for (int tab = 0; tab < opened.form[ctl::TabStrip1].TabCount(); ++tab) {
            opened.ShowTab(tab);
            ExpectReadable(opened.top, where + L" page " + std::to_wstring(tab + 1));
        }
        aboutWhere = where + L" About";
        aboutSeen = false;
        SetTimer(nullptr, 0, 50, LookAtAbout);
        opened.window.cmdAbout_Click();
        EXPECT_TRUE(aboutSeen);
    }
}

// Under code page 1252: Common Files with Cyrillic letters, "My Documents" with Japanese ones,
// the temporary folder with Cyrillic ones. (Loading and registering a file so named is
// HostileWin32's.)
TEST(NamesOutsideTheCodePage, FoldersAreFoundAndShownAsNamed) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::wstring common = L"C:\\\u041E\u0431\u0449\u0438\u0435", documents = L"C:\\\u30C9\u30AD\u30E5\u30E1\u30F3\u30C8",
                       temporary = L"C:\\\u0412\u0440\u0435\u043C\u044F\\", file = common + L"\\System\\ado\\MSADOX.DLL";
    for (const std::wstring& dir : {common, common + L"\\System", common + L"\\System\\ado", documents, temporary})
        CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(testdlls::TestDll("ver_2_80_1022_3.dll").c_str(), file.c_str(), FALSE));
    // The folders' registry texts, set for the test and put back after it.
    const auto swap = [](HKEY root, const wchar_t* key, const wchar_t* name, std::wstring value) {
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof old, type = REG_SZ;
        RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, old, &size);
        RegSetKeyValueW(root, key, name, type, value.c_str(), static_cast<DWORD>(value.size() * 2 + 2));
        return std::wstring(old);
    };
    const wchar_t *version = L"Software\\Microsoft\\Windows\\CurrentVersion",
                  *shell = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::wstring oldCommon = swap(HKEY_LOCAL_MACHINE, version, L"CommonFilesDir", common);
    const std::wstring oldDocuments = swap(HKEY_CURRENT_USER, shell, L"Personal", documents);
    wchar_t oldTemp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", oldTemp, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", temporary.c_str());
    {
        RealWindow opened(true);
        ui::Control& view = opened.form[ctl::lvwMDACFiles];
        std::wstring row;
        for (int i = 0; i < view.ItemCount(); ++i)
            if (view.ItemText(i, 0) == L"MSADOX.DLL") row = view.ItemText(i, 1) + L"|" + view.ItemText(i, 2);
        EXPECT_EQ(row, L"2.80.1022|" + file);
        opened.ShowTab(2);
        EXPECT_EQ(opened.form[ctl::Label29].Caption(), documents + L"\\");
        EXPECT_EQ(opened.form[ctl::Label32].Caption(), temporary);
    }
    SetEnvironmentVariableW(L"TMP", oldTemp);
    swap(HKEY_LOCAL_MACHINE, version, L"CommonFilesDir", oldCommon);
    swap(HKEY_CURRENT_USER, shell, L"Personal", oldDocuments);
    DeleteFileW(file.c_str());
    for (const std::wstring& dir : {common + L"\\System\\ado", common + L"\\System", common, documents, temporary})
        RemoveDirectoryW(dir.c_str());
}

}  // namespace
