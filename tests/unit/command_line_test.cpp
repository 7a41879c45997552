// The command line for scripts: what each line asks for, the usage and where it goes, and
// the report file's bytes.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "fakes/fake_output.h"
#include "fakes/fake_texts.h"

namespace {

using Action = app::CommandLine::Action;
using Strings = std::vector<std::wstring>;

TEST(CommandLine, SwitchesInAnyCaseWithSlashOrDashAndNothingElse) {
    struct Row {
        Strings args;
        Action action;
        unsigned lists = 0;
        std::wstring file;
        bool quiet = false;
    } const rows[] = {
        {{}, Action::Window, 0, L""},
        {{L"-REPORT", L"C:\\a b\\r.txt"}, Action::Run, 0, L"C:\\a b\\r.txt"},
        {{L"/Register", L"JET"}, Action::Run, app::kRegisterJet, L""},
        {{L"/register", L"Mdac", L"/quiet"}, Action::Run, app::kRegisterMdac, L"", true},
        {{L"-register", L"all", L"/report", L"x", L"-Quiet"}, Action::Run, 3, L"x", true},
        {{L"/?"}, Action::Usage, 0, L""},
        {{L"-?", L"/quiet"}, Action::Usage, 0, L"", true},
        {{L"/quiet"}, Action::Wrong, 0, L"", true},
        {{L"/report"}, Action::Wrong, 0, L""},
        {{L"/report", L""}, Action::Wrong, 0, L""},
        {{L"/report", L"/quiet"}, Action::Wrong, 0, L""},
        {{L"/report", L"a", L"/report", L"b"}, Action::Wrong, 0, L""},
        {{L"/register", L"ado"}, Action::Wrong, 0, L""},
        {{L"report.txt"}, Action::Wrong, 0, L""},
        {{L"/bogus"}, Action::Wrong, 0, L""},
        {{L"/quiet", L"/quiet", L"/report", L"x"}, Action::Wrong, 0, L""},
        {{L"--registration-worker=124"}, Action::Wrong, 0, L""},  // the workers' handshake is no user's switch
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(&row - rows));
        const app::CommandLine line = app::ParseCommandLine(row.args);
        EXPECT_EQ(line.action, row.action);
        if (row.action == Action::Wrong) continue;
        EXPECT_EQ(line.lists, row.lists);
        EXPECT_EQ(line.reportFile, row.file);
        EXPECT_EQ(line.quiet, row.quiet);
    }
}

// On the console when there is one; else in a box, unless /quiet.
TEST(CommandLine, UsageOnTheConsoleOrInABoxUnlessQuiet) {
    fakes::FakeTexts texts;
    texts.german = true;
    for (const bool console : {true, false})
        for (const bool quiet : {false, true})
            for (const Action action : {Action::Usage, Action::Wrong}) {
                fakes::FakeOutput output;
                output.console = console;
                app::CommandLine line;
                line.action = action;
                line.quiet = quiet;
                EXPECT_EQ(app::ShowUsage(line, texts, output), action == Action::Usage ? 0 : 87);
                EXPECT_EQ(output.lines, console ? Strings{L"de 300\r\n"} : Strings{});
                EXPECT_EQ(output.boxes, console || quiet ? Strings{} : Strings{L"de 300\r\n|LumoraRepair"});
            }
}

TEST(CommandLine, ReportFileIsUtf16LittleEndianWithItsMark) {
    std::wstring text = L"A\u00e4\r\n";
    // Past the first plane: one wchar_t on Linux, a surrogate pair on Windows.
    if (sizeof(wchar_t) == 4) text += static_cast<wchar_t>(0x1F600);
    else text += L"\xD83D\xDE00";
    EXPECT_EQ(app::ReportFileBytes(text), std::string("\xFF\xFE" "A\0\xE4\0\r\0\n\0\x3D\xD8\0\xDE", 14));
}

}  // namespace
