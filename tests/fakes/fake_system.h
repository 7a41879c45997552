#pragma once
// Made-up system facts; counts the version questions.
#include <map>
#include <string>

#include "platform/system.h"

namespace fakes {

class FakeSystem : public os::System {
public:
    os::OsVersion version{2, 5, 1, 2600};  // Windows XP
    int versionCalls = 0;
    std::wstring systemDirectory = L"C:\\WINDOWS\\system32";
    std::wstring iconTitleFace = L"Tahoma";
    std::wstring moduleFileName = L"C:\\Tools\\LumoraRepair.exe";
    std::uint16_t langId = 1033;
    std::wstring tempPath = L"C:\\TEMP\\";
    std::uint32_t tempPathLength = 8;  // what GetTempPathA answers; 0 is a failure
    bool trueVersionKnown = true;
    os::TrueOsVersion trueVersion{6, 0, 6002, 1};
    std::map<std::wstring, std::wstring> shortPaths;  // any other path has no short form

    os::OsVersion QueryOsVersion() override { return ++versionCalls, version; }
    // The text, its NUL, and the rest of the buffer: NULs here, spaces for the face name.
    std::wstring SystemDirectoryBuffer(unsigned chars) override { return Field(systemDirectory, chars, L'\0'); }
    std::wstring IconTitleFontFaceField() override { return Field(iconTitleFace, 32, L'\0'); }
    std::uint16_t UserDefaultLangId() override { return langId; }
    std::uint32_t AnsiCodePage() override { return 1252; }
    std::uint32_t TempPathBuffer(unsigned chars, std::wstring& buffer) override {
        buffer = Field(tempPath, chars, L'\0');
        return tempPathLength;
    }
    std::wstring ModuleFileName() override { return moduleFileName; }
    bool QueryTrueOsVersion(os::TrueOsVersion& v) override { return trueVersionKnown && (v = trueVersion, true); }
    std::wstring LocalDateTimeText() override { return L"07.12.2026 06:30"; }
    std::wstring ShortPathName(const std::wstring& path) override {
        const auto it = shortPaths.find(path);
        return it == shortPaths.end() ? L"" : it->second;
    }
    std::wstring ErrorText(std::int32_t code, const std::wstring& file) override {
        return L"text of " + std::to_wstring(code) + L" for " + file;
    }

private:
    static std::wstring Field(const std::wstring& text, unsigned chars, wchar_t fill) {
        std::wstring field = text + L'\0' + L'X';  // something after the NUL that must not show
        field.resize(chars, fill);
        return field;
    }
};

}  // namespace fakes
