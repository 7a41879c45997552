#pragma once
// Made-up system facts; counts the questions so tests can tell what was asked.
#include <map>
#include <string>

#include "platform/system.h"

namespace fakes {

class FakeSystem : public os::System {
public:
    os::OsVersion version;
    int versionCalls = 0;
    std::wstring systemDirectory = L"C:\\WINDOWS\\system32";
    bool systemDirectoryFails = false;
    std::wstring iconTitleFace = L"Tahoma";
    std::wstring moduleFileName = L"C:\\Tools\\LumoraRepair.exe";
    std::uint16_t langId = 1033;
    std::uint32_t codePage = 1252;
    std::wstring tempPath = L"C:\\TEMP\\";
    std::uint32_t tempPathLength = 8;  // what GetTempPathA answers; 0 is a failure
    bool trueVersionKnown = true;
    os::TrueOsVersion trueVersion{6, 0, 6002, 1};

    os::OsVersion QueryOsVersion() override {
        ++versionCalls;
        return version;
    }
    std::wstring SystemDirectoryBuffer(unsigned bufferChars) override {
        std::wstring buffer(bufferChars, L'\0');
        if (!systemDirectoryFails) buffer.replace(0, systemDirectory.size(), systemDirectory);
        return buffer;
    }
    std::wstring IconTitleFontFaceField() override {
        std::wstring field(32, L'\0');
        field.replace(0, iconTitleFace.size(), iconTitleFace);
        return field;
    }
    std::uint16_t UserDefaultLangId() override { return langId; }
    std::uint32_t AnsiCodePage() override { return codePage; }
    std::uint32_t TempPathBuffer(unsigned bufferChars, std::wstring& buffer) override {
        buffer.assign(bufferChars, L'\0');
        if (tempPathLength > 0 && tempPath.size() < bufferChars) buffer.replace(0, tempPath.size(), tempPath);
        return tempPathLength;
    }
    std::wstring ModuleFileName() override { return moduleFileName; }
    std::wstring LocalDateTimeText() override { return L"07.12.2026 06:30:00"; }
    // Short forms by long path; any other path has none.
    std::map<std::wstring, std::wstring> shortPaths;
    std::wstring ShortPathName(const std::wstring& path) override {
        const auto it = shortPaths.find(path);
        return it == shortPaths.end() ? L"" : it->second;
    }
    std::wstring ErrorText(std::int32_t code) override { return L"system text " + std::to_wstring(code); }
    bool QueryTrueOsVersion(os::TrueOsVersion& v) override {
        if (trueVersionKnown) v = trueVersion;
        return trueVersionKnown;
    }
};

}  // namespace fakes
