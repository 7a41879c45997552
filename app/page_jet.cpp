// The JET page: the installed Jet 4.0 engine against the one available, and the Jet files.
#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/texts.h"
#include "probes/modAPI.h"

namespace app {

void frmLumoraRepair::ShowJetPage() {
    form_[ctl::Label25].SetCaption(Text(IDS_JET_INSTALLED_VERSION));
    form_[ctl::Label23].SetCaption(Text(IDS_JET_AVAILABLE_VERSION));
    form_[ctl::Label24].SetCaption(
        modAPI::GetFileVersionString(os_.versions, os_.texts, SystemDirectory + L"\\msjet40.dll", false));
    form_[ctl::Command3].SetCaption(Text(IDS_REREGISTER_JET));
    // The same heading over the list as the MDAC page has.
    form_[ctl::Label9].SetCaption(Text(IDS_JET_FILES));
    BuildJetFileList();
    FillFileListView(form_[ctl::lvwJetFiles], JetFileList);
}

void frmLumoraRepair::BuildJetFileList() {
    JetFileList = BuildFileList(os_.versions, SystemDirectory, kJetFiles, std::size(kJetFiles));
}

void frmLumoraRepair::lvwJetFiles_ColumnClick(int column) { SortByColumn(form_[ctl::lvwJetFiles], column); }

}  // namespace app
