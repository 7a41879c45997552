#pragma once
// Made-up version resources by path. Records how the reader used the three calls, so tests
// can tell that the buffer was the reported size, zero-filled, and given the handle back.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/versions.h"

namespace fakes {

// A VS_FIXEDFILEINFO record (52 bytes) with the given file version and made-up values in
// every other field, so a reader that takes the wrong field shows it.
std::array<std::uint8_t, 52> FixedInfoRecord(std::uint16_t first, std::uint16_t second,
                                             std::uint16_t third, std::uint16_t fourth);

struct FakeVersionFile {
    std::vector<std::uint8_t> resource;         // what the fill call writes into the buffer
    std::optional<std::uint32_t> reportedSize;  // the size query's answer; resource size if unset
    std::uint32_t handle = 0;
    bool fillFails = false;
    std::optional<os::RootBlock> root;          // the root query's answer; none if unset
};

class FakeVersions : public os::VersionResources {
public:
    std::map<std::wstring, FakeVersionFile> files;

    // A resource with a header in front of the record and other blocks behind it, as a
    // real one has, and the root block pointing at the record.
    FakeVersionFile& AddVersion(const std::wstring& path, std::uint16_t first,
                                std::uint16_t second, std::uint16_t third, std::uint16_t fourth);

    int sizeCalls = 0;
    int fillCalls = 0;
    int rootCalls = 0;
    std::uint32_t handlePassed = 0;
    std::size_t bufferSize = 0;        // size of the buffer handed to the fill call
    bool bufferWasZeroed = false;      // whether it was all zeros when handed over

    os::VersionInfoSize InfoSize(const std::wstring& path) override;
    bool ReadInfo(const std::wstring& path, std::uint32_t handle,
                  std::span<std::uint8_t> buffer) override;
    std::optional<os::RootBlock> QueryRootBlock(std::span<const std::uint8_t> buffer) override;

private:
    const FakeVersionFile* lastFilled_ = nullptr;
};

}  // namespace fakes
