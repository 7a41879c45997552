#pragma once
// The window on fakes: every OS group made up, the controls recording. Windows XP, the
// Common Files folder set, the product not installed.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "fakes/fake_folders.h"
#include "fakes/fake_modules.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_system.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_ui.h"
#include "fakes/fake_versions.h"
#include "fakes/fake_workers.h"
#include "platform/text_ids.h"
#include "probes/modAPI.h"

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        modAPI::ResetWindowsVersionCacheForTests();
        folders.SetPath(modAPI::kFolderCommonFiles, L"C:\\Program Files\\Common Files");
    }
    void Load() {
        window.Form_Initialize();
        window.Form_Load();
    }
    // The user picks tab `index` (from 1) and the strip tells the window.
    void Pick(int index) {
        form[ctl::TabStrip1].SelectTab(index);
        window.OnEvent(ctl::TabStrip1, ui::Event::Click, 0);
    }
    std::wstring Text(unsigned id) { return texts.Text(id); }
    void PutText(const wchar_t* section, const wchar_t* name, const std::string& text) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
        registry.Put(os::kHKeyLocalMachine, section, name, 1, {bytes, bytes + text.size() + 1});
    }

    fakes::FakeTexts texts;
    fakes::FakeSystem system;
    fakes::FakeRegistry registry;
    fakes::FakeVersions versions;
    fakes::FakeFolders folders;
    fakes::FakeShell shell;
    fakes::FakeModules modules;
    fakes::FakeWorkers workers{modules};
    os::Services services{texts, system, registry, versions, folders, shell, modules, workers};
    fakes::FakeForm form{app::Layout()};
    app::frmLumoraRepair window{services, form};
};
