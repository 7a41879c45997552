#pragma once
// Made-up special folders by id (any other id fails) and the folders that exist on disk.
#include <map>
#include <set>

#include "platform/folders.h"

namespace fakes {

class FakeFolders : public os::Folders {
public:
    std::map<std::int32_t, os::FolderPathAnswer> answers;
    std::set<std::wstring> existing;  // each with its trailing backslash

    // A folder the platform knows: the path, its NUL, and the buffer's spaces behind it.
    void SetPath(std::int32_t id, const std::wstring& path) {
        answers[id] = {0, path + L'\0' + std::wstring(os::kFolderPathChars - path.size() - 1, L' ')};
    }
    os::FolderPathAnswer FolderPathBuffer(std::int32_t id) override {
        return answers.count(id) ? answers[id] : os::FolderPathAnswer{static_cast<std::int32_t>(0x80070057u), {}};
    }
    bool FolderHasEntry(const std::wstring& path) override { return existing.count(path) > 0; }
};

}  // namespace fakes
