// The program's entry: the real platform, the window made from its layout, the message loop.
#include <windows.h>  // WinMain's own signature; the rest of Windows is platform/win32's

#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/output_win32.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/ui/form.h"
#include "platform/win32/workers_win32.h"
#include "register/modDLLRegister.h"

// The library's default terminate handler prints the type of the exception that ended the
// program, which pulls a whole demangler into the exe (about 75 KB). What the program gives
// up: that line on standard error, which a GUI program has nowhere to show anyway; every
// error a handler lets escape is shown by the message loop before it could get here.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// A script's command line (app/command_line.h): the window is made to gather the facts in,
// never shown; the answer is the exit code.
int RunCommandLine(const std::vector<std::wstring>& args, os::Texts& texts, win32::Form& form,
                   app::frmLumoraRepair& window) {
    win32::Output output;
    const app::CommandLine command = app::ParseCommandLine(args);
    if (command.action != app::CommandLine::Action::Run) return app::ShowUsage(command, texts, output);
    window.Form_Initialize();
    form.NeverShow();
    if (!form.Create(window, app::kClientWidth, app::kClientHeight)) return app::kExitNotStarted;
    return window.RunUnattended(command, output);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before the platform groups load their system DLLs.
    win32::RestrictDllSearch();

    // Made before the window and ended after it is gone.
    const win32::ComApartment apartment;
    // Started by a re-register command to make its calls, each as the window's process
    // would make it: no window.
    win32::PlatformServices platform;
    const int served = win32::ServeAsWorker(platform.services, &modDLLRegister::RegisterServer, &app::Registrable);
    if (served != win32::kNotAWorker) return served;

    win32::Form form(instance, app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK);
    app::frmLumoraRepair window(platform.services, form);
    const std::vector<std::wstring> args = win32::CommandLineArguments();
    if (!args.empty()) return RunCommandLine(args, platform.texts, form, window);
    window.Form_Initialize();
    // Without a window there is nothing to show a message in: end with a failure code.
    if (!form.Create(window, app::kClientWidth, app::kClientHeight)) return 1;
    window.Form_Load();
    form.Show();
    return form.Run();
}
