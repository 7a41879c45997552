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
        std::wstring file = L"";
        bool quiet = false;
    } const rows[] = {
        {{}, Action::Window},
        {{L"-REPORT", L"C:\\a b\\r.txt"}, Action::Run, 0, L"C:\\a b\\r.txt"},
        {{L"/Register", L"JET"}, Action::Run, app::kRegisterJet},
        {{L"/register", L"Mdac", L"/quiet"}, Action::Run, app::kRegisterMdac, L"", true},
        {{L"-register", L"all", L"/report", L"x", L"-Quiet"}, Action::Run, 3, L"x", true},
        {{L"/?"}, Action::Usage},
        {{L"-?", L"/quiet"}, Action::Usage, 0, L"", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        const app::CommandLine line = app::ParseCommandLine(row.args);
        EXPECT_EQ(line.action, row.action);
        EXPECT_EQ(line.lists, row.lists);
        EXPECT_EQ(line.reportFile, row.file);
        EXPECT_EQ(line.quiet, row.quiet);
    }
    // /quiet alone; a value missing, empty or a switch; a switch twice; an unknown word or switch;
    // the workers' handshake, which is no user's switch.
    const Strings wrong[] = {{L"/quiet"}, {L"/report"}, {L"/report", L""}, {L"/report", L"/quiet"},
                             {L"/report", L"a", L"/report", L"b"}, {L"/quiet", L"/quiet", L"/report", L"x"},
                             {L"/register", L"ado"}, {L"report.txt"}, {L"/bogus"}, {L"--registration-worker=124"}};
    for (const Strings& args : wrong)
        EXPECT_EQ(app::ParseCommandLine(args).action, Action::Wrong) << testing::PrintToString(args);
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
