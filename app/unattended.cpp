// The command line's modes: the window's own procedures with the window made but never shown.
// The re-registration is the buttons' (RegisterCommandFiles with their descriptions: worker,
// order, skips, failures, time limit); the report is "Copy report"'s text, followed by each
// file's outcome; what the window would show in a message box goes to the report and the
// console instead.
#include <algorithm>
#include <memory>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "platform/output.h"
#include "platform/strings.h"
#include "platform/system.h"
#include "platform/text_ids.h"
#include "platform/texts.h"
#include "platform/workers.h"

namespace app {
namespace {

constexpr wchar_t kNotFound[] = L"Not found";
constexpr wchar_t kNewLine[] = L"\r\n";

// A listed file the page does not find, or one that applications do not reach.
bool NotReached(const FileEntry& entry) { return entry.FilePath == kNotFound || entry.Reached > Reach::ThisFile; }

}  // namespace

// One list as its button registers it; the number of files that failed.
int frmLumoraRepair::RegisterList(unsigned list, std::vector<std::wstring>& log, os::Output& output) {
    const RegisterCommand& command = list == kRegisterMdac ? kMdacCommand : kJetCommand;
    // A list its command does not rebuild is its page's, and no page was shown.
    if (!command.rebuildFirst) (this->*command.build)();
    registerLog_ = &log;
    const std::vector<RegisterFailure> failures = RegisterCommandFiles(command, {});
    registerLog_ = nullptr;
    const std::vector<FileEntry>& files = this->*command.list;
    const std::size_t done = std::count_if(files.begin(), files.end(), [](const FileEntry& e) {
        return !e.SkipRegister && e.FilePath != kNotFound;
    });
    output.ToConsole(std::wstring(list == kRegisterMdac ? L"MDAC" : L"Jet") + L": " + Text(IDS_CMD_REGISTERED) + L" " +
                     os::ToDecimal(done - failures.size()) + L", " + Text(IDS_CMD_REGISTER_FAILURES) + L" " +
                     os::ToDecimal(failures.size()) + kNewLine);
    return static_cast<int>(failures.size());
}

int frmLumoraRepair::RunUnattended(const CommandLine& command, os::Output& output) {
    Unattended = true;
    ReportFillsPages = command.lists == 0 && !command.reportFile.empty();
    Form_Load();
    std::vector<std::wstring> log;
    int failed = 0;
    for (unsigned list : {kRegisterMdac, kRegisterJet})
        if (command.lists & list) failed += RegisterList(list, log, output);
    // The facts as they are after any run; read before the notices are told, as their fills
    // may add one.
    std::wstring text = command.reportFile.empty() ? std::wstring() : ReportText();
    for (const std::wstring& notice : Notices) output.ToConsole(notice + kNewLine);
    int code = failed ? kExitRegisterFailed : kExitOk;
    if (command.reportFile.empty()) return code;

    for (const std::wstring& notice : Notices) text += kNewLine + notice + kNewLine;
    if (!log.empty()) text += kNewLine + Text(IDS_REPORT_REREGISTERED) + kNewLine;
    for (const std::wstring& line : log) text += line + kNewLine;
    std::wstring fullPath = command.reportFile;
    if (const std::uint32_t error = output.WriteWhole(command.reportFile, ReportFileBytes(text), fullPath)) {
        output.ToConsole(Text(IDS_CMD_REPORT_NOT_WRITTEN) + L" " + fullPath + L"  " +
                         os_.system.ErrorText(static_cast<std::int32_t>(error), fullPath) + kNewLine);
        return kExitReportNotWritten;
    }
    // The lists as the report shows them, checked after any run.
    const auto missing = std::count_if(MDACFileList.begin(), MDACFileList.end(), NotReached) +
                         std::count_if(JetFileList.begin(), JetFileList.end(), NotReached);
    output.ToConsole(Text(IDS_CMD_REPORT_WRITTEN) + L" " + fullPath + kNewLine);
    output.ToConsole(Text(IDS_CMD_FILES_NOT_REACHED) + L" " + os::ToDecimal(missing) + kNewLine);
    if (code == kExitOk && missing) code = kExitFilesNotReached;
    return code;
}

}  // namespace app
