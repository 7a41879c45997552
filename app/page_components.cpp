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
    form_[ctl::Frame3].SetCaption(Text(IDS_OTHER_COMPONENTS_FRAME));
    form_[ctl::Command2].SetCaption(Text(IDS_REREGISTER_COMPONENTS));
    form_[ctl::Label18].SetCaption(Text(IDS_VB6_RUNTIME));
    form_[ctl::Label17].SetCaption(version(L"\\MSVBVM60.DLL", false));
    form_[ctl::Label15].SetCaption(Text(IDS_VBSCRIPT_VERSION));
    form_[ctl::Label16].SetCaption(version(L"\\vbscript.DLL", true));
    form_[ctl::Label34].SetCaption(version(L"\\actbar2.ocx", true));
    form_[ctl::Label36].SetCaption(version(L"\\gridex20.ocx", true));
    form_[ctl::Label38].SetCaption(version(L"\\msxml.dll", false));
}

void frmLumoraRepair::BuildComponentFileList() {
    ComponentFileList = BuildFileList(os_.versions, SystemDirectory, kComponentFiles, std::size(kComponentFiles));
}

}  // namespace app
