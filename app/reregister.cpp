// The re-register commands: each walks its page's file list and calls every entry's
// DllRegisterServer, letting the window's messages run after each one. The calls are made
// in a worker process of the run, so the window keeps answering while a component registers
// and outlives one that crashes, ends the process or never returns. A failure does not stop
// the run; the files that failed are named together once the page is restored.
#include <algorithm>
#include <cstdint>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/system.h"
#include "platform/text_ids.h"
#include "platform/texts.h"
#include "platform/workers.h"
#include "register/modDLLRegister.h"

namespace app {
namespace {

constexpr wchar_t kNotFound[] = L"Not found";
// E_ACCESSDENIED, and TYPE_E_REGISTRYACCESS from type-library registration: what a user
// who did not start the program as administrator meets.
constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005u);
constexpr std::int32_t kTypeLibRegistryAccess = static_cast<std::int32_t>(0x8002801Cu);
// How often a component's own window is looked for again once its time is up.
constexpr std::uint32_t kWindowCheckMs = 1000;

// "0x" and eight upper-case digits. By hand: a printf would bring the C library's whole
// formatter, floating point included, into the exe for this one number.
std::wstring Hex(std::int32_t code) {
    std::wstring text = L"0x00000000";
    auto bits = static_cast<std::uint32_t>(code);
    for (std::size_t i = text.size(); i > 2; bits >>= 4) text[--i] = L"0123456789ABCDEF"[bits & 0xF];
    return text;
}

}  // namespace

// Nested runs (a second command started from the first one's message processing) keep the
// hourglass until the outer one is done.
void frmLumoraRepair::BeginBusy() {
    ++busyRuns_;
    form_.SetPointer(ui::Pointer::Hourglass);
}

void frmLumoraRepair::EndBusy() {
    if (--busyRuns_ == 0) form_.SetPointer(ui::Pointer::Default);
}

// One file in the run's worker, started first when none is running; how its call failed
// goes into `failure`. False when no worker can be started: the caller then makes the call
// in this process, as without workers.
bool frmLumoraRepair::RegisterInWorker(std::unique_ptr<os::RegisterWorker>& worker, const std::wstring& path,
                                       RegisterFailure& failure) {
    if (!worker) worker = os_.workers.Start();
    if (!worker) return false;
    worker->Send(path);
    // The call's time counts only while the worker has neither answered nor shown a window the
    // user can answer: between two looks, a window seen at either stops the clock.
    std::uint32_t idle = 0;
    std::uint32_t looked = os_.workers.TickCount();
    bool shown = false;
    for (;;) {
        os::CallResult result = worker->Wait(std::min(kWindowCheckMs, RegisterTimeoutMs - idle));
        if (result.end == os::CallEnd::Waiting) {
            form_.DoEvents();
            // Closed meanwhile: the worker ends at once, and the run with it.
            if (form_.UnloadPending()) {
                worker.reset();
                return true;
            }
            // An answer that came while this thread was held elsewhere (an About box, a menu)
            // counts, however long that took.
            result = worker->Wait(0);
        }
        if (result.end != os::CallEnd::Waiting) {
            failure.code = result.code;
            if (result.end == os::CallEnd::Returned) return true;
            worker.reset();  // its process is gone; the next file gets a fresh one
            failure.reason = result.end == os::CallEnd::Crashed ? IDS_COMPONENT_CRASHED : IDS_COMPONENT_EXITED;
            return true;
        }
        const std::uint32_t now = os_.workers.TickCount();
        if (now - looked < kWindowCheckMs && idle + (now - looked) < RegisterTimeoutMs) continue;
        const bool shows = worker->ShowsWindow();
        // Unattended no one can answer a component's window: the limit holds, and the file
        // is named for it.
        if (Unattended || (!shown && !shows)) idle += now - looked;
        shown = shows;
        looked = now;
        if (idle >= RegisterTimeoutMs) {
            worker.reset();  // ends it, the call with it
            failure.reason = Unattended && shows ? IDS_COMPONENT_WINDOW_ENDED : IDS_COMPONENT_TIMED_OUT;
            return true;
        }
    }
}

// The run goes over the list as it was when it started, whatever a page switch in between
// rebuilds; closing the window stops it at once. `listed`: the list as the page showed it
// before the run rebuilt it.
void frmLumoraRepair::RegisterEntries(const std::vector<FileEntry>& list, const std::vector<FileEntry>& listed,
                                      ui::ProgressBarId progressBar, int nameLabel,
                                      std::unique_ptr<os::RegisterWorker>& worker,
                                      std::vector<RegisterFailure>& failures) {
    for (std::size_t i = 0; i < list.size() && !form_.UnloadPending(); ++i) {
        const FileEntry& entry = list[i];
        if (nameLabel) {
            form_[nameLabel].SetCaption(GetFile(entry.FilePath));
            form_.Refresh();  // the name shows while its file registers, not after
        }
        std::wstring path = os_.system.ShortPathName(entry.FilePath);
        // A file the page found is never passed over because its short form cannot be had.
        if (path.empty() && entry.FilePath != kNotFound) path = entry.FilePath;
        // A file the page listed and the run no longer finds (locked, removed) is named, with
        // the system's reason when it has one.
        const bool gone = entry.FilePath == kNotFound && i < listed.size() && listed[i].FilePath != kNotFound;
        if (!entry.SkipRegister && gone) {
            RegisterFailure failure{listed[i].FilePath, os_.system.OpenError(listed[i].FilePath), 0, true};
            if (registerLog_) registerLog_->push_back(entry.ListedPath + L"\t" + FailureText(failure));
            failures.push_back(std::move(failure));
        } else if (!entry.SkipRegister && !path.empty()) {
            // An empty path registers nothing: no worker is asked for it.
            RegisterFailure failure{entry.FilePath, 0};
            if (!RegisterInWorker(worker, path, failure)) failure.code = modDLLRegister::RegisterServer(os_.modules, path);
            const bool failed = failure.code || failure.reason;
            if (registerLog_) registerLog_->push_back(entry.ListedPath + L"\t" + (failed ? FailureText(failure) : Text(IDS_OUTCOME_REGISTERED)));
            if (failed) failures.push_back(std::move(failure));
        } else if (registerLog_) {
            registerLog_->push_back(entry.ListedPath + L"\t" + Text(path.empty() ? IDS_OUTCOME_NOT_FOUND : IDS_OUTCOME_SKIPPED));
        }
        form_.BarOf(progressBar).SetProgressValue(static_cast<int>(i + 1));
        form_.DoEvents();
    }
    worker.reset();
}

std::wstring frmLumoraRepair::FailureText(const RegisterFailure& failure) {
    // What a component did to the worker's process has a text of ours.
    const std::wstring reason = failure.reason ? Text(failure.reason)
                                : failure.code == modDLLRegister::kEntryPointNotFound
                                    ? Text(IDS_ENTRY_POINT_NOT_FOUND)
                                    : os_.system.ErrorText(failure.code, GetFile(failure.file));
    // A component that ran out of time left no code to show.
    const bool timedOut = failure.reason == IDS_COMPONENT_TIMED_OUT || failure.reason == IDS_COMPONENT_WINDOW_ENDED;
    const std::wstring line = timedOut ? reason : Hex(failure.code) + (reason.empty() ? L"" : L"  " + reason);
    // A file gone by its turn: the list's word for it, and why where the system says.
    if (failure.gone) return failure.code ? kNotFound + (L"  " + line) : kNotFound;
    return line;
}

void frmLumoraRepair::ReportRegisterFailures(const std::vector<RegisterFailure>& failures) {
    // A window being closed takes its run with it; the user asked to leave.
    if (failures.empty() || form_.UnloadPending()) return;
    std::wstring text = Text(IDS_REGISTER_FAILED);
    bool accessDenied = false;
    for (const RegisterFailure& failure : failures) {
        text += L"\r\n\r\n" + failure.file + L"\r\n    " + FailureText(failure);
        accessDenied = accessDenied || (!failure.reason && (failure.code == kAccessDenied || failure.code == kTypeLibRegistryAccess));
    }
    if (accessDenied) text += L"\r\n\r\n" + Text(IDS_REGISTER_NEEDS_ADMIN);
    form_.ShowWarning(text, kProgramTitle);
}

// The run goes over the list as the page showed it at the click, rebuilt first where the
// command says; the page is restored before the failures are named.
auto frmLumoraRepair::RunRegisterCommand(const RegisterCommand& command) -> std::vector<RegisterFailure> {
    const std::vector<FileEntry> listed = this->*command.list;
    form_[command.button].SetVisible(false);
    const bool linkShown = command.link && form_[command.link].Visible();
    if (linkShown) form_[command.link].SetVisible(false);
    BeginBusy();
    form_.Refresh();  // the button gone before the files are examined
    form_.DoEvents();
    const std::vector<RegisterFailure> failures = RegisterCommandFiles(command, listed);
    if (command.view) ShowFileList(command.view, this->*command.list, this->*command.classes);
    if (command.nameLabel) form_[command.nameLabel].SetCaption(L"");
    if (linkShown || command.linkAfter) form_[command.link].SetVisible(true);
    form_[command.button].SetVisible(true);
    form_[command.bar].SetVisible(false);
    EndBusy();
    form_[ctl::cmdQuit].SetFocus();
    return failures;
}

auto frmLumoraRepair::RegisterCommandFiles(const RegisterCommand& command, const std::vector<FileEntry>& listed)
    -> std::vector<RegisterFailure> {
    std::unique_ptr<os::RegisterWorker> worker;
    if (command.rebuildFirst) {
        worker = os_.workers.Start();  // it comes up while the files are examined
        (this->*command.build)();
    }
    const std::vector<FileEntry> list = this->*command.list;
    if (command.showBar) form_[command.bar].SetVisible(true);
    form_.BarOf(command.bar).SetProgressMax(static_cast<int>(list.size()));
    std::vector<RegisterFailure> failures;
    RegisterEntries(list, listed, command.bar, command.nameLabel, worker, failures);
    return failures;
}

const frmLumoraRepair::RegisterCommand frmLumoraRepair::kMdacCommand{
    ctl::Command1, ctl::ProgressBar1, true, ctl::Label11, ctl::Label19, false, &frmLumoraRepair::MDACFileList,
    &frmLumoraRepair::BuildMDACFileList, true, ctl::lvwMDACFiles, &frmLumoraRepair::MDACClasses};

// Only the Jet page's own controls: the MDAC page's link is none of this command's business.
const frmLumoraRepair::RegisterCommand frmLumoraRepair::kJetCommand{
    ctl::Command3, ctl::ProgressBar3, true, 0, 0, false, &frmLumoraRepair::JetFileList,
    &frmLumoraRepair::BuildJetFileList, false, ctl::lvwJetFiles, &frmLumoraRepair::JetClasses};

// The Other components page's command. Its button is hidden as laid out and nothing shows
// it; its bar is never shown either.
const frmLumoraRepair::RegisterCommand frmLumoraRepair::kComponentsCommand{
    ctl::Command2, ctl::ProgressBar2, false, ctl::Label12, ctl::Label20, true, &frmLumoraRepair::ComponentFileList,
    &frmLumoraRepair::BuildComponentFileList, true, {}, nullptr};

void frmLumoraRepair::Command1_Click() { ReportRegisterFailures(RunRegisterCommand(kMdacCommand)); }

void frmLumoraRepair::Command3_Click() { ReportRegisterFailures(RunRegisterCommand(kJetCommand)); }

void frmLumoraRepair::Command2_Click() { ReportRegisterFailures(RunRegisterCommand(kComponentsCommand)); }

}  // namespace app
