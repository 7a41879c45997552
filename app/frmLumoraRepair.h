#pragma once
// The one window of the program: its state, its start-up and its handlers. The pages'
// procedures live in files of their own (page_*.cpp), the file lists in file_lists.cpp.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/file_entry.h"
#include "app/registration_check.h"
#include "platform/services.h"
#include "platform/ui.h"
#include "platform/workers.h"

class cRegistry;
namespace os {
class Output;
}  // namespace os

namespace app {

struct Page;

// The title of the program's own messages.
inline constexpr wchar_t kProgramTitle[] = L"LumoraRepair";

class frmLumoraRepair : public ui::EventSink {
public:
    frmLumoraRepair(os::Services& os, ui::Form& form);

    void Form_Initialize();
    void Form_Load();

    // Routed by control id and event; see the table in frmLumoraRepair.cpp.
    void OnEvent(int controlId, ui::Event event, int column) override;
    void OnCancel() override;  // Esc: the window's cancel button is cmdQuit

    void cmdQuit_Click();
    void TabStrip1_Click();
    void TabStrip1_MouseDown();
    void TabTimer_Timer();
    void lvwMDACFiles_ColumnClick(int column);
    void lvwJetFiles_ColumnClick(int column);
    // Links, hover and About (links.cpp).
    void Label19_Click();
    void Label23_Click();
    void lblLumoraAdLink_Click();
    void ShellExecuteTimer_Timer();
    void Label19_MouseMove();
    void Label23_MouseMove();
    void lblLumoraAdLink_MouseMove();
    void Form_MouseMove();
    void picMDAC_MouseMove();
    void picJET_MouseMove();
    void cmdAbout_Click();
    // The re-register commands (reregister.cpp).
    void Command1_Click();
    void Command3_Click();
    void Command2_Click();
    // How long a component's registration may take before its worker is ended.
    std::uint32_t RegisterTimeoutMs = 60000;
    // The file lists' copy and the report (report.cpp); view is a list view's id.
    void FileList_Copy(ui::ListViewId view);
    void FileList_SelectAll(ui::ListViewId view);
    void FileList_ContextMenu(ui::ListViewId view);
    void CopyReport();
    std::wstring ReportText();
    static constexpr int kCopyReportCommand = 0x100;  // our item of the system menu
    // The command line's modes (unattended.cpp): the same facts and commands with the window
    // made but never shown; lines to the console, the report to its file. The exit code.
    int RunUnattended(const CommandLine& command, os::Output& output);
    // Set by RunUnattended: no message box, and no component's window waited for.
    bool Unattended = false;
    // Set by RunUnattended for a report alone: its text fills every page right after the load.
    bool ReportFillsPages = false;
    // What an unattended run would have shown in a message box, for the report and the console.
    std::vector<std::wstring> Notices;

    // Window state.
    int LastTabFocus = 0;
    int WindowsVersion = 0;
    std::vector<FileEntry> ComponentFileList;
    std::wstring SystemDirectory;
    bool ProductInstalled = false;
    std::vector<FileEntry> MDACFileList;
    std::vector<FileEntry> JetFileList;
    // The column each file list is ordered by since a header click; -1: in list order.
    int MDACSortColumn = -1;
    int JetSortColumn = -1;
    // Each page's classes created by name, as last checked for its list.
    std::vector<ClassReach> MDACClasses;
    std::vector<ClassReach> JetClasses;
    // Off only to measure what the check costs a page: the last check's verdicts show again.
    bool CheckRegistrations = true;
    std::wstring PendingURL;
    ui::Control* HotLinkLabel = nullptr;  // the link label hovering underlined last

    void ShowMDACPage();
    void ShowJetPage();
    void ShowWindowsPage();
    void ShowComponentsPage();
    void BuildComponentFileList();
    void BuildMDACFileList();
    void BuildJetFileList();

private:
    // The page shown and in front, every other one hidden.
    void BringPageToFront(const Page& chosen);
    void SetUpFileListView(ui::ListView& view);
    std::wstring Text(unsigned id) const;
    void OpenLink(ui::Control& label, const std::wstring& address, bool dropUnderline);
    void HoverLink(ui::Control& label);
    void LeaveLinks();
    void PutOnClipboard(const std::wstring& text);
    // A text a page's fill shows, set on its control and kept for the report.
    void Show(int control, const std::wstring& text);
    // A row a page's fill hides for good, by its caption's control; kept for the report.
    void Hide(int control);
    // What the pages' fills showed, by control id: the report reads this, not the controls.
    struct Shown {
        std::wstring text;
        bool hidden = false;
    };
    std::vector<Shown> shown_;
    Shown& Kept(int control);  // its text as laid out until a fill shows one
    // Checks the classes of a page's list and shows its entries in its view.
    void ShowFileList(ui::ListViewId view, std::vector<FileEntry>& list, std::vector<ClassReach>& classes);
    struct RegisterFailure {
        std::wstring file;
        std::int32_t code;
        unsigned reason = 0;  // the text of what a component did to the worker; 0: its call failed
        bool gone = false;    // listed, then not found by the run; code: why it cannot be opened, or 0
    };
    // What tells the three re-register commands apart (reregister.cpp).
    struct RegisterCommand {
        ui::ButtonId button;
        ui::ProgressBarId bar;
        bool showBar;    // the Other components page's bar never shows
        int nameLabel;   // beside the bar, the name of the file registering; 0: none
        int link;        // hidden while the command runs, then shown as it was; 0: none
        bool linkAfter;  // the link shown after the run whatever it was before
        std::vector<FileEntry> frmLumoraRepair::*list;
        void (frmLumoraRepair::*build)();  // builds the list from the disk
        bool rebuildFirst;                 // at the run's start; else the list as its page built it
        ui::ListViewId view;               // shown again with what the run changed; 0: none
        std::vector<ClassReach> frmLumoraRepair::*classes;
    };
    static const RegisterCommand kMdacCommand;
    static const RegisterCommand kJetCommand;
    static const RegisterCommand kComponentsCommand;
    // A button's command, from hiding its button to showing it again; the failures.
    std::vector<RegisterFailure> RunRegisterCommand(const RegisterCommand& command);
    // The run itself, the buttons' and the command line's: the list rebuilt where the command
    // says, then registered. listed: the list as its page showed it before; empty: none shown.
    std::vector<RegisterFailure> RegisterCommandFiles(const RegisterCommand& command,
                                                      const std::vector<FileEntry>& listed);
    void RegisterEntries(const std::vector<FileEntry>& list, const std::vector<FileEntry>& listed,
                         ui::ProgressBarId progressBar, int nameLabel, std::unique_ptr<os::RegisterWorker>& worker,
                         std::vector<RegisterFailure>& failures);
    bool RegisterInWorker(std::unique_ptr<os::RegisterWorker>& worker, const std::wstring& path,
                          RegisterFailure& failure);
    void ReportRegisterFailures(const std::vector<RegisterFailure>& failures);
    // The HRESULT and the system's text, or what the component did to its worker.
    std::wstring FailureText(const RegisterFailure& failure);
    // Unattended: one line per file of a run, "path<TAB>outcome".
    std::vector<std::wstring>* registerLog_ = nullptr;
    int RegisterList(unsigned list, std::vector<std::wstring>& log, os::Output& output);
    void BeginBusy();
    void EndBusy();
    int busyRuns_ = 0;  // commands running, one inside another's message processing
    bool reporting_ = false;  // the pages filled for the report: no message box of theirs
    // A registry object set to read one text value below HKEY_LOCAL_MACHINE; empty if missing.
    cRegistry MachineTextReader(const wchar_t* section, const wchar_t* valueName) const;
    std::wstring WindowsName() const;
    std::wstring FolderRow(std::int32_t folderId, const std::wstring& tail);
    std::wstring TemporaryRow();

    os::Services& os_;
    ClassServers classServers_;  // the registration check's last reading
    ui::Form& form_;
};

}  // namespace app
