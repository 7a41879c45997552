#pragma once
// Made-up version resources by path: a header, the fixed record, other blocks behind it.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/versions.h"

namespace fakes {

// A VS_FIXEDFILEINFO record (52 bytes) with this file version and other values in every
// other field, so a reader that takes the wrong field shows it.
std::array<std::uint8_t, 52> FixedInfoRecord(std::uint16_t first, std::uint16_t second, std::uint16_t third,
                                             std::uint16_t fourth);

struct FakeVersionFile {
    std::vector<std::uint8_t> resource;  // what the fill call writes
    std::optional<os::RootBlock> root;   // the root query's answer
};

class FakeVersions : public os::VersionResources {
public:
    std::map<std::wstring, FakeVersionFile> files;
    int sizeCalls = 0;

    // The record lies 40 bytes into the resource.
    FakeVersionFile& AddVersion(const std::wstring& path, std::uint16_t first, std::uint16_t second,
                                std::uint16_t third, std::uint16_t fourth);

    os::VersionInfoSize InfoSize(const std::wstring& path) override {
        ++sizeCalls;
        const auto it = files.find(path);
        return {it == files.end() ? 0u : static_cast<std::uint32_t>(it->second.resource.size()), 0};
    }
    bool ReadInfo(const std::wstring& path, std::uint32_t, std::span<std::uint8_t> buffer) override;
    std::optional<os::RootBlock> QueryRootBlock(std::span<const std::uint8_t>) override {
        return filled_ ? filled_->root : std::nullopt;
    }

private:
    const FakeVersionFile* filled_ = nullptr;
};

}  // namespace fakes
