// The Other components page: versions of five further files in the system directory.
#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/texts.h"
#include "probes/modAPI.h"

namespace app {

void frmLumoraRepair::ShowComponentsPage() {
    auto version = [this](const wchar_t* file, bool withBuild) {
        return modAPI::GetFileVersionString(os_.versions, os_.texts, SystemDirectory + file, withBuild);
    };
    Show(ctl::Frame3, Text(IDS_OTHER_COMPONENTS_FRAME));
    Show(ctl::Command2, Text(IDS_REREGISTER_COMPONENTS));
    Show(ctl::Label18, Text(IDS_VB6_RUNTIME));
    Show(ctl::Label17, version(L"\\MSVBVM60.DLL", false));
    Show(ctl::Label15, Text(IDS_VBSCRIPT_VERSION));
    Show(ctl::Label16, version(L"\\vbscript.DLL", true));
    Show(ctl::Label34, version(L"\\actbar2.ocx", true));
    Show(ctl::Label36, version(L"\\gridex20.ocx", true));
    Show(ctl::Label38, version(L"\\msxml.dll", false));
}

void frmLumoraRepair::BuildComponentFileList() {
    ComponentFileList = BuildFileList(os_.versions, SystemDirectory, kComponentFiles, std::size(kComponentFiles));
}

}  // namespace app
