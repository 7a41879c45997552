#pragma once
// Texts that name their id and language ("en 107"), so a test sees which text went where;
// and the real tables, for the snapshots that both the fakes and the real window render.
#include <fstream>
#include <map>
#include <regex>

#include "platform/texts.h"

namespace fakes {

class FakeTexts : public os::Texts {
public:
    bool german = false;
    std::wstring Text(unsigned id) const override { return (german ? L"de " : L"en ") + std::to_wstring(id); }
};

// The real tables, read from the resource scripts as windres reads them (UTF-8, C escapes).
class TableTexts : public os::Texts {
public:
    TableTexts(const std::string& sourceDir, bool german) {
        std::map<std::string, unsigned> ids;
        const std::regex define(R"(^#define (IDS_\w+)\s+(\d+))");
        const std::regex row(R"(^\s*(IDS_\w+),\s*\"(.*)\"\s*$)");
        std::smatch m;
        std::ifstream header(sourceDir + "/platform/text_ids.h");
        for (std::string line; std::getline(header, line);)
            if (std::regex_search(line, m, define)) ids[m[1]] = static_cast<unsigned>(std::stoul(m[2]));
        std::ifstream table(sourceDir + (german ? "/app/resources/strings_de.rc" : "/app/resources/strings_en.rc"));
        for (std::string line; std::getline(table, line);)
            if (std::regex_search(line, m, row)) texts[ids.at(m[1])] = Decode(m[2]);
    }
    std::wstring Text(unsigned id) const override { return texts.count(id) ? texts.at(id) : L""; }

    std::map<unsigned, std::wstring> texts;  // by id: every row of the table

private:
    // UTF-8 with \r \n \t \\ and "" as the resource compiler reads them; every text is of the BMP.
    static std::wstring Decode(const std::string& in) {
        std::wstring out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            unsigned c = static_cast<unsigned char>(in[i]);
            const int more = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;  // the continuation bytes
            if (more) c &= more == 2 ? 0x0F : 0x1F;
            for (int k = 0; k < more; ++k) c = c << 6 | (in.at(++i) & 0x3F);
            if (c == '\\' || c == '"') {
                const char next = in.at(++i);
                c = next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : static_cast<unsigned char>(next);
            }
            out += static_cast<wchar_t>(c);
        }
        return out;
    }
};

}  // namespace fakes
