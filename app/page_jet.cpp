// The JET page: the installed Jet 4.0 engine against the one available, and the Jet files.
#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/texts.h"

namespace app {

void frmLumoraRepair::ShowJetPage() {
    Show(ctl::Label25, Text(IDS_JET_INSTALLED_VERSION));
    Show(ctl::Label23, Text(IDS_JET_AVAILABLE_VERSION));
    // The engine is the list's first file: read once, its version shows in both places
    // (the list's version text is the version string without the build, "Not available"
    // where the list says "Not found").
    BuildJetFileList();
    const FileEntry& engine = JetFileList.front();
    Show(ctl::Label24, engine.FilePath == L"Not found" ? Text(IDS_NOT_AVAILABLE) : engine.FileVersion);
    Show(ctl::Command3, Text(IDS_REREGISTER_JET));
    // The same heading over the list as the MDAC page has.
    Show(ctl::Label9, Text(IDS_JET_FILES));
    ShowFileList(ctl::lvwJetFiles, JetFileList, JetClasses);
}

void frmLumoraRepair::BuildJetFileList() {
    JetFileList = BuildFileList(os_.versions, SystemDirectory, kJetFiles, std::size(kJetFiles));
}

void frmLumoraRepair::lvwJetFiles_ColumnClick(int column) {
    JetSortColumn = column;  // the report orders its rows as the view does
    SortByColumn(form_.ListOf(ctl::lvwJetFiles), column);
}

}  // namespace app
