#pragma once
// A whole made-up machine: a fake of each Windows group and the services over them. The
// texts are the caller's: a table of the fakes', or the resources.
#include "fakes/fake_folders.h"
#include "fakes/fake_modules.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_system.h"
#include "fakes/fake_versions.h"
#include "fakes/fake_workers.h"
#include "platform/services.h"

namespace fakes {

struct FakeServices {
    explicit FakeServices(os::Texts& texts)
        : services{texts, system, registry, versions, folders, shell, modules, workers} {}
    FakeSystem system;
    FakeRegistry registry;
    FakeVersions versions;
    FakeFolders folders;
    FakeShell shell;
    FakeModules modules;
    FakeWorkers workers{modules};
    os::Services services;
};

}  // namespace fakes
