// The MDAC page: the installed MDAC version against the one available, and the MDAC files.
#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/registry.h"
#include "platform/texts.h"
#include "probes/modAPI.h"
#include "registry/cRegistry.h"

namespace app {
namespace {

constexpr wchar_t kAvailableMDACVersion[] = L"2.80.1022.3";
constexpr wchar_t kProgramTitle[] = L"LumoraRepair";

}  // namespace

void frmLumoraRepair::ShowMDACPage() {
    form_[ctl::Label7].SetCaption(Text(IDS_MDAC_INSTALLED_VERSION));

    cRegistry registry = MachineTextReader(L"Software\\Microsoft\\DataAccess", L"FullInstallVer");
    form_[ctl::Label8].SetCaption(TextForm(registry.Value()));

    form_[ctl::Command1].SetCaption(Text(IDS_REREGISTER_MDAC));

    // Compared as texts, character codes only: a newer installation hides the row for good.
    const std::wstring installed = TextForm(registry.Value());
    if (installed.compare(kAvailableMDACVersion) > 0) {
        form_[ctl::Label19].SetVisible(false);
        form_[ctl::Label21].SetVisible(false);
    } else {
        form_[ctl::Label19].SetCaption(Text(IDS_MDAC_AVAILABLE_VERSION));
    }
    form_[ctl::Label20].SetCaption(Text(IDS_MDAC_AVAILABLE_VERSION));
    form_[ctl::Label22].SetCaption(Text(IDS_MDAC_FILES));

    BuildMDACFileList();
    FillFileListView(form_[ctl::lvwMDACFiles], MDACFileList);
}

void frmLumoraRepair::BuildMDACFileList() {
    MDACFileList.assign(std::size(kMDACFiles), FileEntry{});
    const std::wstring base = modAPI::GetSpecialFolderPath(os_.folders, modAPI::kFolderCommonFiles);
    // Told before any file is examined; the build then goes on below an empty base.
    if (base.empty()) form_.ShowMessage(Text(IDS_COMMON_FILES_NOT_SET), kProgramTitle);
    MDACFileList = BuildFileList(os_.versions, base, kMDACFiles, std::size(kMDACFiles));
}

void frmLumoraRepair::BuildComponentFileList() {
    ComponentFileList = BuildFileList(os_.versions, SystemDirectory, kComponentFiles, std::size(kComponentFiles));
}

void frmLumoraRepair::lvwMDACFiles_ColumnClick(int column) { SortByColumn(form_[ctl::lvwMDACFiles], column); }

}  // namespace app
