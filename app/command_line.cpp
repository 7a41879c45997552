#include "app/command_line.h"

#include "platform/output.h"
#include "platform/text_ids.h"
#include "platform/texts.h"

namespace app {
namespace {

// Switch names are ASCII: folding only A to Z keeps a word of another alphabet what it is.
std::wstring Lower(std::wstring word) {
    for (wchar_t& c : word)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return word;
}

bool IsSwitch(const std::wstring& word) { return !word.empty() && (word[0] == L'/' || word[0] == L'-'); }

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& args) {
    CommandLine line;
    if (args.empty()) return line;
    bool help = false, wrong = false, registerGiven = false, reportGiven = false;
    for (std::size_t i = 0; i < args.size() && !wrong; ++i) {
        if (!IsSwitch(args[i])) {
            wrong = true;  // a word of its own: never guessed at
            break;
        }
        const std::wstring name = Lower(args[i].substr(1));
        // A value is the next word, and never a switch: "/report /quiet" lacks its file.
        const bool hasValue = i + 1 < args.size() && !IsSwitch(args[i + 1]) && !args[i + 1].empty();
        if (name == L"?") {
            help = true;
        } else if (name == L"quiet" && !line.quiet) {
            line.quiet = true;
        } else if (name == L"report" && !reportGiven && hasValue) {
            reportGiven = true;
            line.reportFile = args[++i];
        } else if (name == L"register" && !registerGiven && hasValue) {
            registerGiven = true;
            const std::wstring lists = Lower(args[++i]);
            line.lists = lists == L"mdac" ? kRegisterMdac
                         : lists == L"jet" ? kRegisterJet
                         : lists == L"all" ? kRegisterMdac | kRegisterJet
                                           : 0;
            wrong = line.lists == 0;
        } else {
            wrong = true;  // unknown, repeated, or without its value
        }
    }
    if (wrong) line.action = CommandLine::Action::Wrong;
    else if (help) line.action = CommandLine::Action::Usage;
    else if (reportGiven || registerGiven) line.action = CommandLine::Action::Run;
    else line.action = CommandLine::Action::Wrong;  // /quiet alone asks for nothing
    return line;
}

std::wstring UsageText(const os::Texts& texts) { return texts.Text(IDS_CMD_USAGE) + L"\r\n"; }

int ShowUsage(const CommandLine& line, const os::Texts& texts, os::Output& output) {
    const std::wstring usage = UsageText(texts);
    if (!output.ToConsole(usage) && !line.quiet) output.ShowMessage(usage, L"LumoraRepair");
    return line.action == CommandLine::Action::Usage ? kExitOk : kExitWrongCommandLine;
}

std::string ReportFileBytes(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    auto put = [&bytes](unsigned unit) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8 & 0xFF);
    };
    for (wchar_t c : text) {
        const auto code = static_cast<unsigned long>(c);
        // A wchar_t of four bytes (Linux) holds a whole code point: two units past the first plane.
        if (code > 0xFFFF) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
    }
    return bytes;
}

}  // namespace app
