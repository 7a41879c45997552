#pragma once
// The window on fakes: every OS group made up, the controls recording.
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
#include "platform/registry.h"
#include "probes/modAPI.h"

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { modAPI::ResetWindowsVersionCacheForTests(); }

    // Windows XP unless a test says otherwise; Common Files set.
    void SetUp() override {
        system.version = {2, 5, 1, 2600};
        folders.SetPath(modAPI::kFolderCommonFiles, L"C:\\Program Files\\Common Files");
    }

    void MarkProductInstalled() { registry.AddKey(os::kHKeyClassesRoot, L".lma"); }

    void Load() {
        window.Form_Initialize();
        window.Form_Load();
    }

    fakes::FakeControl& operator[](int id) { return form[id]; }
    std::wstring English(unsigned id) { return fakes::FakeTexts::Table(fakes::FakeTexts::English).at(id); }
    std::wstring German(unsigned id) { return fakes::FakeTexts::Table(fakes::FakeTexts::German).at(id); }

    fakes::FakeTexts texts;
    fakes::FakeSystem system;
    fakes::FakeRegistry registry;
    fakes::FakeVersions versions;
    fakes::FakeFolders folders;
    fakes::FakeShell shell;
    fakes::FakeModules modules;
    os::Services services{texts, system, registry, versions, folders, shell, modules};
    fakes::FakeForm form{app::Layout()};
    app::frmLumoraRepair window{services, form};
};
