#include "fakes/fake_texts.h"

#include <cstdio>
#include <stdexcept>
#include <string>


namespace fakes {
namespace {

std::string ReadFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw std::runtime_error("cannot open " + path);
    std::string data;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) data.append(chunk, n);
    std::fclose(f);
    return data;
}

std::wstring DecodeUtf8(const std::string& s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        unsigned c = extra == 0 ? b : b & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += 1 + extra;
    }
    return out;
}

// The ids by name, read from platform/text_ids.h as windres reads them, so a text added there
// needs nothing here.
std::map<std::string, unsigned> LoadIds(const std::string& root) {
    const std::string data = ReadFile(root + "/platform/text_ids.h");
    std::map<std::string, unsigned> ids;
    for (std::size_t pos = 0; (pos = data.find("#define IDS_", pos)) != std::string::npos;) {
        const std::size_t name = pos + 8;
        const std::size_t blank = data.find_first_of(" \t", name);
        const std::size_t number = data.find_first_not_of(" \t", blank);
        ids[data.substr(name, blank - name)] = static_cast<unsigned>(std::stoul(data.substr(number)));
        pos = number;
    }
    return ids;
}

// Reads the STRINGTABLE lines `    IDS_NAME, "text"` with the .rc escapes \\ and "".
std::map<unsigned, std::wstring> Load(const char* file) {
#ifdef _WIN32
    const std::string root = std::string("Z:") + LR_SOURCE_DIR;  // Wine maps / to Z:
#else
    const std::string root = LR_SOURCE_DIR;
#endif
    const std::string data = ReadFile(root + "/app/resources/" + file);
    const std::map<std::string, unsigned> ids = LoadIds(root);
    std::map<unsigned, std::wstring> table;
    std::size_t pos = 0;
    while ((pos = data.find("    IDS_", pos)) != std::string::npos) {
        const std::size_t comma = data.find(',', pos);
        const std::string name = data.substr(pos + 4, comma - pos - 4);
        std::size_t q = data.find('"', comma) + 1;
        std::string text;
        for (;; ++q) {
            if (data[q] == '\\') {
                text += data[++q];
            } else if (data[q] == '"') {
                if (data[q + 1] != '"') break;
                text += data[++q];
            } else {
                text += data[q];
            }
        }
        const auto id = ids.find(name);
        if (id == ids.end()) throw std::runtime_error("unknown text id " + name);
        table[id->second] = DecodeUtf8(text);
        pos = q;
    }
    return table;
}

}  // namespace

FakeTexts::FakeTexts(Language lang) : language(lang) {}

const std::map<unsigned, std::wstring>& FakeTexts::Table(Language lang) {
    static const std::map<unsigned, std::wstring> english = Load("strings_en.rc");
    static const std::map<unsigned, std::wstring> german = Load("strings_de.rc");
    return lang == German ? german : english;
}

std::wstring FakeTexts::Text(unsigned id) const {
    ++lookups;
    const auto& table = Table(language);
    auto it = table.find(id);
    if (it == table.end()) throw std::out_of_range("no text " + std::to_string(id));
    return it->second;
}

}  // namespace fakes
