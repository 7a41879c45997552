#pragma once
// The command line's output: a console that is there or not, files written or refused.
#include <map>
#include <vector>

#include "platform/output.h"

namespace fakes {

class FakeOutput : public os::Output {
public:
    bool console = true;           // started from a console
    std::uint32_t writeError = 0;  // what writing a file answers
    std::vector<std::wstring> lines, boxes;  // boxes: "text|title"
    std::map<std::wstring, std::string> files;

    bool ToConsole(const std::wstring& text) override {
        if (console) lines.push_back(text);
        return console;
    }
    std::uint32_t WriteWhole(const std::wstring& path, const std::string& bytes, std::wstring& fullPath) override {
        fullPath = L"C:\\work\\" + path;
        if (!writeError) files[path] = bytes;
        return writeError;
    }
    void ShowMessage(const std::wstring& text, const std::wstring& title) override {
        boxes.push_back(text + L"|" + title);
    }
};

}  // namespace fakes
