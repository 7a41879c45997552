#pragma once
#include "platform/shell.h"

namespace win32 {

class Shell : public os::Shell {
public:
    void Open(const std::wstring& address) override;
};

}  // namespace win32
