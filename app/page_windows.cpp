// The Windows settings page: version, language, code page, Internet Explorer, folders.
#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "platform/text_ids.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/system.h"
#include "platform/texts.h"
#include "probes/modAPI.h"
#include "registry/cRegistry.h"

namespace app {
namespace {

constexpr wchar_t kNoDirectory[] = L"Directory not available!";
constexpr unsigned kTempPathChars = 512;

// Every system since Vista is told at most 6.2 by GetVersionExA; its true version names it.
const wchar_t* TrueWindowsName(const os::TrueOsVersion& v) {
    const auto atLeast = [&v](std::uint32_t major, std::uint32_t minor) {
        return v.major > major || (v.major == major && v.minor >= minor);
    };
    if (v.productType == 2 || v.productType == 3) {  // domain controller, server
        if (atLeast(10, 0)) {
            if (v.build >= 26100) return L"Windows Server 2025";
            if (v.build >= 20348) return L"Windows Server 2022";
            if (v.build >= 17763) return L"Windows Server 2019";
            return L"Windows Server 2016";
        }
        if (atLeast(6, 3)) return L"Windows Server 2012 R2";
        if (atLeast(6, 2)) return L"Windows Server 2012";
        if (atLeast(6, 1)) return L"Windows Server 2008 R2";
        return L"Windows Server 2008";
    }
    if (atLeast(10, 0)) return v.build >= 22000 ? L"Windows 11" : L"Windows 10";
    if (atLeast(6, 3)) return L"Windows 8.1";
    if (atLeast(6, 2)) return L"Windows 8";
    if (atLeast(6, 1)) return L"Windows 7";
    return L"Windows Vista";
}

}  // namespace

std::wstring frmLumoraRepair::WindowsName() const {
    static const wchar_t* const kNames[] = {
        nullptr,        L"Windows 95", L"Windows 98", L"Windows NT 4.0", L"Windows 2000",
        L"Windows Me",  L"Windows XP", L"Windows Server 2003", L"Windows Vista",
    };
    if (WindowsVersion == modAPI::kWindowsVista) {
        os::TrueOsVersion version;
        return os_.system.QueryTrueOsVersion(version) ? TrueWindowsName(version) : kNames[WindowsVersion];
    }
    if (WindowsVersion >= 1 && WindowsVersion <= 8) return kNames[WindowsVersion];
    return Text(IDS_NOT_AVAILABLE);
}

// A folder counts as present when a listing of it yields at least one entry.
std::wstring frmLumoraRepair::FolderRow(std::int32_t folderId, const std::wstring& tail) {
    const std::wstring folder = modAPI::GetSpecialFolderPath(os_.folders, folderId);
    if (folder.empty()) return kNoDirectory;
    const std::wstring path = folder + tail;
    return os_.folders.FolderHasEntry(path) ? path : kNoDirectory;
}

std::wstring frmLumoraRepair::TemporaryRow() {
    std::wstring buffer;
    const std::uint32_t length = os_.system.TempPathBuffer(kTempPathChars, buffer);
    // A failed or cut-off answer shows like any other folder that is not there, never a
    // stale value from an earlier showing.
    if (length < 1 || length >= kTempPathChars) return kNoDirectory;
    const std::wstring path = os::BeforeFirstNul(buffer);
    if (path.empty()) return kNoDirectory;
    return os_.folders.FolderHasEntry(path) ? path : kNoDirectory;
}

void frmLumoraRepair::ShowWindowsPage() {
    form_[ctl::Label1].SetCaption(Text(IDS_WINDOWS_VERSION));
    form_[ctl::Label2].SetCaption(WindowsName());
    form_[ctl::Label3].SetCaption(Text(IDS_USER_LANGUAGE));
    form_[ctl::Label4].SetCaption(os::ToDecimal(os_.system.UserDefaultLangId()));
    form_[ctl::Label6].SetCaption(Text(IDS_ANSI_CODE_PAGE));
    form_[ctl::Label5].SetCaption(os::ToDecimal(os_.system.AnsiCodePage()));
    form_[ctl::Frame1].SetCaption(Text(IDS_WINDOWS_SETTINGS_FRAME));
    form_[ctl::Label14].SetCaption(Text(IDS_IE_VERSION));
    form_[ctl::Label13].SetCaption(
        TextForm(MachineTextReader(L"Software\\Microsoft\\Internet Explorer", L"Version").Value()));
    form_[ctl::Frame2].SetCaption(Text(IDS_SYSTEM_FOLDERS_FRAME));
    form_[ctl::Label28].SetCaption(Text(IDS_MY_DOCUMENTS));
    form_[ctl::Label29].SetCaption(FolderRow(modAPI::kFolderMyDocuments, L"\\"));
    form_[ctl::Label31].SetCaption(Text(IDS_APPLICATION_DATA));
    form_[ctl::Label30].SetCaption(FolderRow(modAPI::kFolderAppData, L"\\"));
    form_[ctl::Label33].SetCaption(Text(IDS_TEMPORARY_FILES));
    form_[ctl::Label32].SetCaption(TemporaryRow());
    form_[ctl::Label26].SetCaption(Text(IDS_HTML_HELP_DIRECTORY));
    form_[ctl::Label27].SetCaption(FolderRow(modAPI::kFolderCommonAppData, L"\\Microsoft\\HTML Help\\"));
}

}  // namespace app
