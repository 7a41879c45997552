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
    Show(ctl::Label1, Text(IDS_WINDOWS_VERSION));
    Show(ctl::Label2, WindowsName());
    Show(ctl::Label3, Text(IDS_USER_LANGUAGE));
    Show(ctl::Label4, os::ToDecimal(os_.system.UserDefaultLangId()));
    Show(ctl::Label6, Text(IDS_ANSI_CODE_PAGE));
    Show(ctl::Label5, os::ToDecimal(os_.system.AnsiCodePage()));
    Show(ctl::Frame1, Text(IDS_WINDOWS_SETTINGS_FRAME));
    Show(ctl::Label14, Text(IDS_IE_VERSION));
    Show(ctl::Label13, TextForm(MachineTextReader(L"Software\\Microsoft\\Internet Explorer", L"Version").Value()));
    Show(ctl::Frame2, Text(IDS_SYSTEM_FOLDERS_FRAME));
    Show(ctl::Label28, Text(IDS_MY_DOCUMENTS));
    Show(ctl::Label29, FolderRow(modAPI::kFolderMyDocuments, L"\\"));
    Show(ctl::Label31, Text(IDS_APPLICATION_DATA));
    Show(ctl::Label30, FolderRow(modAPI::kFolderAppData, L"\\"));
    Show(ctl::Label33, Text(IDS_TEMPORARY_FILES));
    Show(ctl::Label32, TemporaryRow());
    Show(ctl::Label26, Text(IDS_HTML_HELP_DIRECTORY));
    Show(ctl::Label27, FolderRow(modAPI::kFolderCommonAppData, L"\\Microsoft\\HTML Help\\"));
}

}  // namespace app
