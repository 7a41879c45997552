// The JET page: the installed Jet 4.0 engine against the one available, and the Jet files.
#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/texts.h"

namespace app {

void frmLumoraRepair::ShowJetPage() {
    form_[ctl::Label25].SetCaption(Text(IDS_JET_INSTALLED_VERSION));
    form_[ctl::Label23].SetCaption(Text(IDS_JET_AVAILABLE_VERSION));
    // The engine is the list's first file: read once, its version shows in both places
    // (the list's version text is the version string without the build, "Not available"
    // where the list says "Not found").
    BuildJetFileList();
    const FileEntry& engine = JetFileList.front();
    form_[ctl::Label24].SetCaption(engine.FilePath == L"Not found" ? Text(IDS_NOT_AVAILABLE) : engine.FileVersion);
    form_[ctl::Command3].SetCaption(Text(IDS_REREGISTER_JET));
    // The same heading over the list as the MDAC page has.
    form_[ctl::Label9].SetCaption(Text(IDS_JET_FILES));
    ShowFileList(ctl::lvwJetFiles, JetFileList, JetClasses);
}

void frmLumoraRepair::BuildJetFileList() {
    JetFileList = BuildFileList(os_.versions, SystemDirectory, kJetFiles, std::size(kJetFiles));
}

void frmLumoraRepair::lvwJetFiles_ColumnClick(int column) { SortByColumn(form_.ListOf(ctl::lvwJetFiles), column); }

}  // namespace app
