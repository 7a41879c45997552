#pragma once
// Made-up special folders by id; any other id fails as an undefined one does.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/folders.h"

namespace fakes {

class FakeFolders : public os::Folders {
public:
    static constexpr std::int32_t kInvalidArg = static_cast<std::int32_t>(0x80070057u);

    std::map<std::int32_t, os::FolderPathAnswer> answers;
    std::vector<std::int32_t> asked;

    // A folder the platform knows: the path, its NUL, and the buffer's spaces behind it.
    void SetPath(std::int32_t id, const std::wstring& path) {
        std::wstring buffer(os::kFolderPathChars, L' ');
        buffer.replace(0, path.size() + 1, path + L'\0');
        answers[id] = {0, buffer};
    }

    // Folders that exist on the made-up disk, each with its trailing backslash.
    std::set<std::wstring> existing;
    std::vector<std::wstring> listed;

    bool FolderHasEntry(const std::wstring& path) override {
        listed.push_back(path);
        return existing.count(path) != 0;
    }

    os::FolderPathAnswer FolderPathBuffer(std::int32_t folderId) override {
        asked.push_back(folderId);
        auto it = answers.find(folderId);
        if (it != answers.end()) return it->second;
        return {kInvalidArg, std::wstring(os::kFolderPathChars, L' ')};
    }
};

}  // namespace fakes
