#pragma once
// Every platform group on the real system, bundled as the window takes them.
#include "platform/services.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/modules_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "platform/win32/workers_win32.h"

namespace win32 {

struct PlatformServices {
    // workerExe: the program the registration workers run; empty for this process's own exe.
    explicit PlatformServices(std::wstring workerExe = {}) : workers(std::move(workerExe)) {}
    Texts texts;
    System system;
    Registry registry;
    VersionResources versions;
    Folders folders;
    Shell shell;
    Modules modules;
    Workers workers;
    os::Services services{texts, system, registry, versions, folders, shell, modules, workers};
};

}  // namespace win32
