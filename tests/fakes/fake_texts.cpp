#include "fakes/fake_texts.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "app/resources/resource_ids.h"

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

// The ids by name, as resource_ids.h defines them.
unsigned IdOf(const std::string& name) {
    static const std::map<std::string, unsigned> ids = {
#define LR_ID(n) {#n, n}
        LR_ID(IDS_CAPTION_INSTALLED), LR_ID(IDS_WINDOWS_VERSION), LR_ID(IDS_NOT_AVAILABLE),
        LR_ID(IDS_USER_LANGUAGE), LR_ID(IDS_ANSI_CODE_PAGE), LR_ID(IDS_WINDOWS_SETTINGS_FRAME),
        LR_ID(IDS_MDAC_INSTALLATION), LR_ID(IDS_MDAC_INSTALLED_VERSION), LR_ID(IDS_IE_VERSION),
        LR_ID(IDS_SYSTEM_LANGUAGE), LR_ID(IDS_REREGISTER_MDAC), LR_ID(IDS_OTHER_COMPONENTS_FRAME),
        LR_ID(IDS_VB6_RUNTIME), LR_ID(IDS_VBSCRIPT_VERSION), LR_ID(IDS_REREGISTER_COMPONENTS),
        LR_ID(IDS_MDAC_AVAILABLE_VERSION), LR_ID(IDS_URL_MDAC_DOWNLOAD),
        LR_ID(IDS_URL_COMPONENTS_DOWNLOAD), LR_ID(IDS_EXIT), LR_ID(IDS_MDAC_FILES),
        LR_ID(IDS_JET_INSTALLED_VERSION), LR_ID(IDS_JET_AVAILABLE_VERSION), LR_ID(IDS_REREGISTER_JET),
        LR_ID(IDS_SYSTEM_FOLDERS_FRAME), LR_ID(IDS_MY_DOCUMENTS), LR_ID(IDS_APPLICATION_DATA),
        LR_ID(IDS_TEMPORARY_FILES), LR_ID(IDS_HTML_HELP_DIRECTORY), LR_ID(IDS_JET_FILES),
        LR_ID(IDS_TAB_WINDOWS), LR_ID(IDS_TAB_COMPONENTS), LR_ID(IDS_ABOUT),
        LR_ID(IDS_CAPTION_NOT_INSTALLED), LR_ID(IDS_AD_ABOUT), LR_ID(IDS_AD_DOWNLOAD),
        LR_ID(IDS_AD_LINE), LR_ID(IDS_COLUMN_FILE_NAME), LR_ID(IDS_COLUMN_FILE_VERSION),
        LR_ID(IDS_COLUMN_PATH), LR_ID(IDS_COMMON_FILES_NOT_SET),
#undef LR_ID
    };
    auto it = ids.find(name);
    if (it == ids.end()) throw std::runtime_error("unknown text id " + name);
    return it->second;
}

// Reads the STRINGTABLE lines `    IDS_NAME, "text"` with the .rc escapes \\ and "".
std::map<unsigned, std::wstring> Load(const char* file) {
#ifdef _WIN32
    const std::string root = std::string("Z:") + LR_SOURCE_DIR;  // Wine maps / to Z:
#else
    const std::string root = LR_SOURCE_DIR;
#endif
    const std::string data = ReadFile(root + "/app/resources/" + file);
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
        table[IdOf(name)] = DecodeUtf8(text);
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
