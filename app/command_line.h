#pragma once
// The command line for administrators' scripts: what it asks for, the usage, the exit codes
// and the report file's bytes. Started without arguments the program is its window alone.
#include <string>
#include <vector>

namespace os {
class Output;
class Texts;
}  // namespace os

namespace app {

// Exit codes a script decides by; when several apply, the highest but 87 wins.
enum ExitCode : int {
    kExitOk = 0,
    kExitNotStarted = 1,       // no window could be made to gather the facts in
    kExitFilesNotReached = 2,  // a listed file is missing or applications do not reach it
    kExitRegisterFailed = 3,
    kExitReportNotWritten = 4,
    kExitWrongCommandLine = 87,  // ERROR_INVALID_PARAMETER, as Windows' own tools answer
};

enum RegisterLists : unsigned { kRegisterMdac = 1, kRegisterJet = 2 };

struct CommandLine {
    enum class Action { Window, Usage, Wrong, Run } action = Action::Window;
    bool quiet = false;
    unsigned lists = 0;  // RegisterLists
    std::wstring reportFile;
};

// The arguments after the program's name. Switches start with / or -, in any case; each
// may be given once; any other word, an unknown switch or a missing value is Wrong.
CommandLine ParseCommandLine(const std::vector<std::wstring>& args);

// The usage in the user's language, lines ending in CR LF.
std::wstring UsageText(const os::Texts& texts);

// For /? and a wrong command line: the usage on the console that started the program, else
// in a message box unless /quiet was given. The exit code.
int ShowUsage(const CommandLine& line, const os::Texts& texts, os::Output& output);

// The report file: UTF-16 little-endian with its byte-order mark, what Notepad since
// Windows XP and PowerShell's Get-Content recognise whatever the system's code page.
std::string ReportFileBytes(const std::wstring& text);

}  // namespace app
