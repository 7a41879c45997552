#pragma once
// Records the addresses handed to the browser.
#include <vector>

#include "platform/shell.h"

namespace fakes {

class FakeShell : public os::Shell {
public:
    std::vector<std::wstring> opened;
    void Open(const std::wstring& address) override { opened.push_back(address); }
};

}  // namespace fakes
