#pragma once
// What the command line's modes hand to the system instead of a window: lines on the
// console of the program that started this one, the report file, and the one message box a
// wrong command line started without a console gets.
#include <cstdint>
#include <string>

namespace os {

class Output {
public:
    virtual ~Output() = default;
    // Writes text to the console of the process that started this one, or to where its
    // output is redirected; false when there is neither.
    virtual bool ToConsole(const std::wstring& text) = 0;
    // Replaces the file at `path` (relative to the current folder) with `bytes` whole, or
    // leaves it as it was: 0, or the system's error number. `fullPath` gets the full path.
    virtual std::uint32_t WriteWhole(const std::wstring& path, const std::string& bytes, std::wstring& fullPath) = 0;
    // Modal, OK only, no owner window.
    virtual void ShowMessage(const std::wstring& text, const std::wstring& title) = 0;
};

}  // namespace os
