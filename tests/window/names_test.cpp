// Folders named outside the ANSI code page (1252 here): the Common Files folder with Cyrillic
// letters, "My Documents" with Japanese ones and a temporary folder with Cyrillic ones are
// found and shown as named, and the MDAC file below them is read and registered.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/control_ids.h"
#include "testdlls/test_dlls.h"
#include "window/real_window.h"

namespace {

constexpr wchar_t kVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// A registry text, and putting it back as it was when the test ends.
struct Saved {
    Saved(HKEY inRoot, const wchar_t* inKey, const wchar_t* inName, const std::wstring& value)
        : root(inRoot), key(inKey), name(inName) {
        wchar_t text[MAX_PATH] = {};
        DWORD size = sizeof text;
        had = RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, text, &size) == 0;
        old = text;
        RegSetKeyValueW(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ~Saved() {
        if (had) RegSetKeyValueW(root, key, name, type, old.c_str(), static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t)));
        else RegDeleteKeyValueW(root, key, name);
    }
    HKEY root;
    const wchar_t* key;
    const wchar_t* name;
    bool had = false;
    DWORD type = REG_SZ;
    std::wstring old;
};

// Whatever box the command shows is closed, so the test never waits on it.
void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) {
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (std::wstring(cls) == L"#32770") PostMessageW(h, WM_CLOSE, 0, 0);
        return TRUE;
    }, 0);
}

TEST(NamesOutsideTheCodePage, FoldersAreFoundShownAndTheirFilesRegistered) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::wstring common = L"C:\\\u041E\u0431\u0449\u0438\u0435 \u0444\u0430\u0439\u043B\u044B",
                       documents = L"C:\\\u30C9\u30AD\u30E5\u30E1\u30F3\u30C8",
                       temporary = L"C:\\\u0412\u0440\u0435\u043C\u0435\u043D\u043D\u044B\u0435\\";
    const std::wstring file = common + L"\\System\\ado\\MSADOX.DLL";
    for (const std::wstring& dir : {common, common + L"\\System", common + L"\\System\\ado", documents, temporary})
        CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(testdlls::TestDll("ver_2_80_1022_3.dll").c_str(), file.c_str(), FALSE));
    wchar_t oldTemp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", oldTemp, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", temporary.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    {
        Saved commonFiles(HKEY_LOCAL_MACHINE, kVersionKey, L"CommonFilesDir", common);
        Saved personal(HKEY_CURRENT_USER, kShellFolders, L"Personal", documents);
        testwindow::RealWindow opened(true);
        ASSERT_TRUE(opened.created);
        ui::Control& view = opened.form[ctl::lvwMDACFiles];
        bool listed = false;
        for (int i = 0; i < view.ItemCount(); ++i)
            if (view.ItemText(i, 0) == L"MSADOX.DLL") {
                listed = true;
                EXPECT_EQ(view.ItemText(i, 1), L"2.80.1022");
                EXPECT_EQ(view.ItemText(i, 2), file);
            }
        EXPECT_TRUE(listed);

        const UINT_PTR closer = SetTimer(nullptr, 0, 200, CloseBoxes);
        SendMessageW(opened.Child(ctl::Command1), BM_CLICK, 0, 0);
        opened.form.DoEvents();
        KillTimer(nullptr, closer);
        EXPECT_EQ(testdlls::Recorded(), L"MSADOX.DLL;");

        SendMessageW(opened.Child(ctl::TabStrip1), TCM_SETCURFOCUS, 2, 0);
        opened.form.DoEvents();
        EXPECT_EQ(opened.form[ctl::Label29].Caption(), documents + L"\\");
        EXPECT_EQ(opened.form[ctl::Label32].Caption(), temporary);
    }
    SetEnvironmentVariableW(L"TMP", oldTemp);
    DeleteFileW(file.c_str());
    for (const std::wstring& dir : {common + L"\\System\\ado", common + L"\\System", common, documents, temporary})
        RemoveDirectoryW(dir.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
}

}  // namespace
