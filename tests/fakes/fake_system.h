#pragma once
// Made-up system facts; counts the questions so tests can tell what was asked.
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
    std::wstring ModuleFileName() override { return moduleFileName; }
};

}  // namespace fakes
