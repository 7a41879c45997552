#pragma once
// Texts that name their id and language ("en 107"), so a test sees which text went where;
// the real table and the loader's language choice are the platform tests' business.
#include <string>

#include "platform/texts.h"

namespace fakes {

class FakeTexts : public os::Texts {
public:
    bool german = false;
    std::wstring Text(unsigned id) const override { return (german ? L"de " : L"en ") + std::to_wstring(id); }
};

}  // namespace fakes

#include <fstream>
#include <map>
#include <regex>

namespace fakes {

// The real tables, read from the resource scripts as windres reads them (UTF-8, C escapes):
// what the user reads, for the snapshots that both the fakes and the real window render.
class TableTexts : public os::Texts {
public:
    TableTexts(const std::string& sourceDir, bool german) {
        std::map<std::string, unsigned> ids;
        const std::regex define(R"(^#define (IDS_\w+)\s+(\d+))"), row(R"(^\s*(IDS_\w+),\s*\"(.*)\"\s*$)");
        std::smatch m;
        std::ifstream header(sourceDir + "/platform/text_ids.h");
        for (std::string line; std::getline(header, line);)
            if (std::regex_search(line, m, define)) ids[m[1]] = static_cast<unsigned>(std::stoul(m[2]));
        std::ifstream table(sourceDir + (german ? "/app/resources/strings_de.rc" : "/app/resources/strings_en.rc"));
        for (std::string line; std::getline(table, line);)
            if (std::regex_search(line, m, row)) texts_[ids.at(m[1])] = Decode(m[2]);
    }
    std::wstring Text(unsigned id) const override { return texts_.count(id) ? texts_.at(id) : L""; }

private:
    // UTF-8 with \r \n \t \\ and "" as the resource compiler reads them; every text is of the BMP.
    static std::wstring Decode(const std::string& in) {
        std::wstring out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(in[i]);
            if (c == '\\' || c == '"') {
                const char next = in.at(++i);
                out += next == 'r' ? L'\r' : next == 'n' ? L'\n' : next == 't' ? L'\t' : static_cast<wchar_t>(next);
            } else if (c >= 0xE0) {
                out += static_cast<wchar_t>((c & 0x0F) << 12 | (in.at(i + 1) & 0x3F) << 6 | (in.at(i + 2) & 0x3F));
                i += 2;
            } else if (c >= 0xC0) {
                out += static_cast<wchar_t>((c & 0x1F) << 6 | (in.at(++i) & 0x3F));
            } else {
                out += static_cast<wchar_t>(c);
            }
        }
        return out;
    }
    std::map<unsigned, std::wstring> texts_;
};

}  // namespace fakes
