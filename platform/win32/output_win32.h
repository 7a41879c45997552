#pragma once
// The command line's arguments and what its modes write: the console that started the
// program, the report file, the usage's message box.
#include <string>
#include <vector>

#include "platform/output.h"

namespace win32 {

// The arguments after the program's name, split as the C runtime splits them.
std::vector<std::wstring> CommandLineArguments();

class Output : public os::Output {
public:
    bool ToConsole(const std::wstring& text) override;
    std::uint32_t WriteWhole(const std::wstring& path, const std::string& bytes, std::wstring& fullPath) override;
    void ShowMessage(const std::wstring& text, const std::wstring& title) override;

private:
    bool attachTried_ = false;
    bool attached_ = false;
};

}  // namespace win32
