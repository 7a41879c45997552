#pragma once
// The shell: an address handed to the user's default browser.
#include <string>

namespace os {

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecuteA "open" with no owner and SW_SHOWNORMAL; the result is not examined,
    // as nothing can be done about a machine without a browser.
    virtual void Open(const std::wstring& address) = 0;
};

}  // namespace os
