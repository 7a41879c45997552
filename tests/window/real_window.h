#pragma once
// The real window in a test program, made as the program's entry makes it, on the real
// platform groups (the browser excepted: the shell records instead).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

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

namespace testwindow {

struct Platform {
    win32::Texts texts;
    win32::System system;
    win32::Registry registry;
    win32::VersionResources versions;
    win32::Folders folders;
    win32::Modules modules;
    fakes::FakeShell shell;
    os::Services services{texts, system, registry, versions, folders, shell, modules};
};

// Opened in the product form asked for (HKCR\.lma made or removed), shown, its load done.
struct RealWindow {
    explicit RealWindow(bool product) {
        if (product) RegSetValueW(HKEY_CLASSES_ROOT, L".lma", REG_SZ, L"", 0);
        else RegDeleteTreeW(HKEY_CLASSES_ROOT, L".lma"), RegDeleteKeyW(HKEY_CLASSES_ROOT, L".lma");
        window.Form_Initialize();
        created = form.Create(window, app::kClientWidth, app::kClientHeight);
        if (!created) return;
        window.Form_Load();
        form.Show();
        form.DoEvents();
        top = FindWindowW(L"LumoraRepair", nullptr);
    }
    ~RealWindow() {
        form.Unload();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    HWND Child(int id) const {
        std::pair<int, HWND> found{id, nullptr};
        EnumChildWindows(top, [](HWND h, LPARAM p) {
            auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
            if (GetDlgCtrlID(h) != f->first) return TRUE;
            f->second = h;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        return found.second;
    }

    Platform platform;
    win32::Form form{GetModuleHandleW(nullptr), app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK};
    app::frmLumoraRepair window{platform.services, form};
    bool created = false;
    HWND top = nullptr;
};

}  // namespace testwindow
