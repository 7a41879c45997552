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
    std::wstring systemDirectory = L"C:\\WINDOWS\\system32", iconTitleFace = L"Tahoma",
                 moduleFileName = L"C:\\Tools\\LumoraRepair.exe", tempPath = L"C:\\TEMP\\";
    std::map<std::wstring, std::wstring> shortPaths;  // any other path has no short form
    std::map<std::wstring, std::wstring> longPaths;   // the files and folders that exist

    os::OsVersion QueryOsVersion() override { return version; }
    std::wstring SystemDirectoryBuffer(unsigned chars) override { return Field(systemDirectory, chars); }
    std::wstring IconTitleFontFaceField() override { return Field(iconTitleFace, 32); }
    std::uint16_t UserDefaultLangId() override { return 1031; }
    std::uint32_t AnsiCodePage() override { return 1252; }
    std::uint32_t TempPathBuffer(unsigned chars, std::wstring& out) override { return out = Field(tempPath, chars), tempPathLength; }
    std::wstring ModuleFileName() override { return moduleFileName; }
    bool QueryTrueOsVersion(os::TrueOsVersion& v) override { return trueVersion.major && (v = trueVersion, true); }
    std::wstring LocalDateTimeText() override { return L"07.12.2026 06:30"; }
    std::wstring ShortPathName(const std::wstring& path) override { return shortPaths.count(path) ? shortPaths[path] : L""; }
    std::wstring LongPathName(const std::wstring& path) override { return longPaths.count(path) ? longPaths[path] : L""; }
    std::wstring ErrorText(std::int32_t code, const std::wstring& file) override {
        return L"text of " + std::to_wstring(code) + L" for " + file;
    }

    // The text, its NUL, something after it that must not show, NULs to the end.
    static std::wstring Field(const std::wstring& text, unsigned chars) {
        std::wstring field = text + L'\0' + L'X';
        return field.resize(chars, L'\0'), field;
    }
};

}  // namespace fakes
