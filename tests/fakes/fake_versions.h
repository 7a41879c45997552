#pragma once
// Made-up version resources by path: 40 bytes of header, the fixed record, other blocks.
#include <algorithm>
#include <map>
#include <vector>

#include "platform/versions.h"

namespace fakes {

struct FakeVersionFile {
    std::vector<std::uint8_t> resource;  // what the fill call writes
    std::optional<os::RootBlock> root;   // the root query's answer
};

class FakeVersions : public os::VersionResources {
public:
    std::map<std::wstring, FakeVersionFile> files;
    int sizeCalls = 0;

    // The file version's four parts at bytes 8 to 15 of the record (dwFileVersionMS, LS);
    // 0x33 in every other byte, so a reader that takes the wrong field shows it.
    FakeVersionFile& AddVersion(const std::wstring& path, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                                std::uint16_t d) {
        FakeVersionFile& file = files[path] = {std::vector<std::uint8_t>(156, 0x33), os::RootBlock{40, 52}};
        const std::uint16_t words[] = {b, a, d, c};
        for (int i = 0; i < 8; ++i) file.resource[48 + i] = static_cast<std::uint8_t>(words[i / 2] >> (i % 2 * 8));
        return file;
    }
    os::VersionInfoSize InfoSize(const std::wstring& path) override {
        ++sizeCalls;
        return {files.count(path) ? static_cast<std::uint32_t>(files[path].resource.size()) : 0u, 0};
    }
    bool ReadInfo(const std::wstring& path, std::uint32_t, std::span<std::uint8_t> buffer) override {
        filled_ = &files.at(path);  // asked only after its size
        std::copy_n(filled_->resource.begin(), std::min(filled_->resource.size(), buffer.size()), buffer.begin());
        return true;
    }
    std::optional<os::RootBlock> QueryRootBlock(std::span<const std::uint8_t>) override { return filled_->root; }

private:
    const FakeVersionFile* filled_ = nullptr;
};

}  // namespace fakes
