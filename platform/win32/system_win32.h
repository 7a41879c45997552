#pragma once
#include "platform/system.h"

namespace win32 {

class System : public os::System {
public:
    os::OsVersion QueryOsVersion() override;
    std::wstring SystemDirectoryBuffer(unsigned bufferChars) override;
    std::wstring IconTitleFontFaceField() override;
    std::uint16_t UserDefaultLangId() override;
    std::uint32_t AnsiCodePage() override;
    std::uint32_t TempPathBuffer(unsigned bufferChars, std::wstring& buffer) override;
    std::wstring ModuleFileName() override;
    bool QueryTrueOsVersion(os::TrueOsVersion& version) override;
    std::wstring LocalDateTimeText() override;
    std::wstring ShortPathName(const std::wstring& path) override;
    std::wstring LongPathName(const std::wstring& path) override;
    std::wstring ErrorText(std::int32_t code, const std::wstring& file) override;
};

}  // namespace win32
