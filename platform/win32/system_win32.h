#pragma once
#include "platform/system.h"

namespace win32 {

class System : public os::System {
public:
    os::OsVersion QueryOsVersion() override;
    std::wstring SystemDirectoryBuffer(unsigned bufferChars) override;
    std::wstring IconTitleFontFaceField() override;
    std::wstring ModuleFileName() override;
};

}  // namespace win32
