// The MDAC page: the installed MDAC version against the one available, and the MDAC files.
#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/texts.h"
#include "probes/modAPI.h"
#include "registry/cRegistry.h"

namespace app {
namespace {

constexpr wchar_t kAvailableMDACVersion[] = L"2.80.1022.3";

// The parts of a dotted number ("10.0.19041.1"), or nothing for any other text.
std::optional<std::vector<std::wstring_view>> DottedParts(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dot = std::min(text.find(L'.', start), text.size());
        const std::wstring_view part = text.substr(start, dot - start);
        if (part.empty() || part.find_first_not_of(L"0123456789") != std::wstring_view::npos) return std::nullopt;
        parts.push_back(part);
        if (dot == text.size()) return parts;
        start = dot + 1;
    }
}

// Digits compared as numbers of any length: leading zeros dropped, then the longer is larger.
int CompareNumber(std::wstring_view a, std::wstring_view b) {
    a.remove_prefix(std::min(a.find_first_not_of(L'0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of(L'0'), b.size()));
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// Dotted numbers part by part, a missing part counting as 0, so that 10.0.19041.1 is newer
// than 2.80.1022.3; any other text character by character.
int CompareVersionTexts(const std::wstring& a, const std::wstring& b) {
    const auto pa = DottedParts(a), pb = DottedParts(b);
    if (!pa || !pb) return a.compare(b);
    for (std::size_t i = 0; i < std::max(pa->size(), pb->size()); ++i) {
        const std::wstring_view x = i < pa->size() ? (*pa)[i] : L"0", y = i < pb->size() ? (*pb)[i] : L"0";
        if (const int c = CompareNumber(x, y); c != 0) return c;
    }
    return 0;
}

// The version as the label shows it: a multi-string's first text, or a text whose zero was
// stored inside it, ends at the NUL; blanks around it are no part of the number.
std::wstring AsShown(const std::wstring& text) {
    std::wstring shown = os::BeforeFirstNul(text);
    while (!shown.empty() && shown.back() == L' ') shown.pop_back();
    return shown.substr(std::min(shown.find_first_not_of(L' '), shown.size()));
}

}  // namespace

void frmLumoraRepair::ShowMDACPage() {
    Show(ctl::Label7, Text(IDS_MDAC_INSTALLED_VERSION));

    // Read once: the label and the comparison take the same value.
    const std::wstring installed =
        TextForm(MachineTextReader(L"Software\\Microsoft\\DataAccess", L"FullInstallVer").Value());
    Show(ctl::Label8, installed);

    Show(ctl::Command1, Text(IDS_REREGISTER_MDAC));

    // A newer installation hides the row for good.
    if (CompareVersionTexts(AsShown(installed), kAvailableMDACVersion) > 0) {
        Hide(ctl::Label19);
        Hide(ctl::Label21);
    } else {
        Show(ctl::Label19, Text(IDS_MDAC_AVAILABLE_VERSION));
    }
    Show(ctl::Label20, Text(IDS_MDAC_AVAILABLE_VERSION));
    Show(ctl::Label22, Text(IDS_MDAC_FILES));

    BuildMDACFileList();
    ShowFileList(ctl::lvwMDACFiles, MDACFileList, MDACClasses);
}

void frmLumoraRepair::BuildMDACFileList() {
    MDACFileList.assign(std::size(kMDACFiles), FileEntry{});
    const std::wstring base = modAPI::GetSpecialFolderPath(os_.folders, modAPI::kFolderCommonFiles);
    // Told before any file is examined, by the page and not by a report of it (a menu
    // command); the build then goes on below an empty base.
    if (base.empty() && !Unattended && !reporting_) form_.ShowMessage(Text(IDS_COMMON_FILES_NOT_SET), kProgramTitle);
    // Unattended, told once in the report and on the console instead.
    if (base.empty() && Unattended && Notices.empty()) Notices.push_back(Text(IDS_COMMON_FILES_NOT_SET));
    MDACFileList = BuildFileList(os_.versions, base, kMDACFiles, std::size(kMDACFiles));
}

void frmLumoraRepair::lvwMDACFiles_ColumnClick(int column) {
    MDACSortColumn = column;  // the report orders its rows as the view does
    SortByColumn(form_.ListOf(ctl::lvwMDACFiles), column);
}

}  // namespace app
