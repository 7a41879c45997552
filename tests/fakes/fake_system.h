#pragma once
// Made-up system facts.
#include <map>

#include "platform/system.h"

namespace fakes {

class FakeSystem : public os::System {
public:
    os::OsVersion version{2, 5, 1, 2600};  // Windows XP
    os::TrueOsVersion trueVersion{6, 0, 6002, 1};  // major 0: RtlGetVersion cannot be asked
    std::uint32_t tempPathLength = 8;  // what GetTempPathA answers; 0 is a failure
    std::wstring systemDirectory = L"C:\\WINDOWS\\system32";
    std::wstring iconTitleFace = L"Tahoma";
    std::wstring moduleFileName = L"C:\\Tools\\LumoraRepair.exe";
    std::wstring tempPath = L"C:\\TEMP\\";
    std::map<std::wstring, std::wstring> shortPaths;  // any other path has no short form
    std::map<std::wstring, std::wstring> longPaths;   // the files and folders that exist
    std::map<std::wstring, std::int32_t> openErrors;  // any other path opens

    os::OsVersion QueryOsVersion() override { return version; }
    std::wstring SystemDirectoryBuffer(unsigned chars) override { return Field(systemDirectory, chars); }
    std::wstring IconTitleFontFaceField() override { return Field(iconTitleFace, 32); }
    std::uint16_t UserDefaultLangId() override { return 1031; }
    std::uint32_t AnsiCodePage() override { return 1252; }
    std::uint32_t TempPathBuffer(unsigned chars, std::wstring& out) override {
        out = Field(tempPath, chars);
        return tempPathLength;
    }
    std::wstring ModuleFileName() override { return moduleFileName; }
    bool QueryTrueOsVersion(os::TrueOsVersion& v) override {
        if (trueVersion.major) v = trueVersion;
        return trueVersion.major;
    }
    std::wstring LocalDateTimeText() override { return L"07.12.2026 06:30"; }
    std::wstring ShortPathName(const std::wstring& path) override { return shortPaths[path]; }
    std::wstring LongPathName(const std::wstring& path) override { return longPaths[path]; }
    std::int32_t OpenError(const std::wstring& path) override { return openErrors[path]; }
    std::wstring ErrorText(std::int32_t code, const std::wstring& file) override {
        return L"text of " + std::to_wstring(code) + L" for " + file;
    }

    // The text, its NUL, something after it that must not show, NULs to the end.
    static std::wstring Field(const std::wstring& text, unsigned chars) {
        std::wstring field = text + L'\0' + L'X';
        field.resize(chars, L'\0');
        return field;
    }
};

}  // namespace fakes
