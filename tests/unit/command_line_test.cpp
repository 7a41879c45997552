// The command line for scripts: what each line asks for, the usage and where it goes, and
// the report file's bytes.
#include <gtest/gtest.h>

#include <tuple>

#include "app/command_line.h"
#include "fakes/fake_output.h"
#include "fakes/fake_texts.h"

namespace {

using Action = app::CommandLine::Action;
using Strings = std::vector<std::wstring>;

TEST(CommandLine, SwitchesInAnyCaseWithSlashOrDashAndNothingElse) {
    // What a line asks for: the action, the lists to register, the report file, /quiet.
    using Asked = std::tuple<Action, unsigned, std::wstring, bool>;
    const std::pair<Strings, Asked> rows[] = {
        {{}, {Action::Window, 0, L"", false}},
        {{L"-REPORT", L"C:\\a b\\r.txt"}, {Action::Run, 0, L"C:\\a b\\r.txt", false}},
        {{L"/Register", L"JET"}, {Action::Run, app::kRegisterJet, L"", false}},
        {{L"/register", L"Mdac", L"/quiet"}, {Action::Run, app::kRegisterMdac, L"", true}},
        {{L"-register", L"all", L"/report", L"x", L"-Quiet"}, {Action::Run, 3, L"x", true}},
        {{L"-?", L"/quiet"}, {Action::Usage, 0, L"", true}},
    };
    for (const auto& [args, asked] : rows) {
        const app::CommandLine line = app::ParseCommandLine(args);
        EXPECT_EQ(Asked(line.action, line.lists, line.reportFile, line.quiet), asked) << testing::PrintToString(args);
    }
    // /quiet alone; a value missing, empty or a switch; a switch twice; an unknown word or switch;
    // the workers' handshake, which is no user's switch.
    const Strings wrong[] = {{L"/quiet"}, {L"/report"}, {L"/report", L""}, {L"/report", L"/quiet"},
                             {L"/report", L"a", L"/report", L"b"}, {L"/quiet", L"/quiet", L"/report", L"x"},
                             {L"/register", L"ado"}, {L"report.txt"}, {L"/bogus"}, {L"--registration-worker=124"}};
    for (const Strings& args : wrong)
        EXPECT_EQ(app::ParseCommandLine(args).action, Action::Wrong) << testing::PrintToString(args);
}

// On the console when there is one; else in a box, unless /quiet. /? ends with 0, a wrong line with 87.
TEST(CommandLine, UsageOnTheConsoleOrInABoxUnlessQuiet) {
    fakes::FakeTexts texts;
    for (const bool console : {true, false})
        for (const bool quiet : {false, true}) {
            fakes::FakeOutput output;
            output.console = console;
            const app::CommandLine line{quiet ? Action::Usage : Action::Wrong, quiet, 0, L""};
            EXPECT_EQ(app::ShowUsage(line, texts, output), quiet ? 0 : 87);
            EXPECT_EQ(output.lines, console ? Strings{L"en 300\r\n"} : Strings{});
            EXPECT_EQ(output.boxes, console || quiet ? Strings{} : Strings{L"en 300\r\n|LumoraRepair"});
        }
}

TEST(CommandLine, ReportFileIsUtf16LittleEndianWithItsMark) {
    // Past the first plane: one wchar_t on Linux, a surrogate pair on Windows.
    const std::wstring face = sizeof(wchar_t) == 4 ? std::wstring(1, static_cast<wchar_t>(0x1F600)) : L"\xD83D\xDE00";
    const std::string bytes("\xFF\xFE" "A\0\xE4\0\r\0\n\0\x3D\xD8\0\xDE", 14);
    EXPECT_EQ(app::ReportFileBytes(L"A\u00e4\r\n" + face), bytes);
}

}  // namespace
