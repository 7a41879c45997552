#include "fakes/fake_versions.h"

#include <algorithm>

namespace fakes {
namespace {

void PutDword(std::array<std::uint8_t, 52>& record, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) record[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the record sits in a made-up resource: behind the VS_VERSIONINFO header and key.
constexpr std::size_t kRecordOffset = 40;

}  // namespace

std::array<std::uint8_t, 52> FixedInfoRecord(std::uint16_t first, std::uint16_t second,
                                             std::uint16_t third, std::uint16_t fourth) {
    std::array<std::uint8_t, 52> record{};
    PutDword(record, 0, 0xFEEF04BD);                        // signature
    PutDword(record, 4, 0x00010000);                        // structure version
    PutDword(record, 8, (std::uint32_t{first} << 16) | second);
    PutDword(record, 12, (std::uint32_t{third} << 16) | fourth);
    PutDword(record, 16, 0x00630009);                       // product version, unlike the file's
    PutDword(record, 20, 0x00080007);
    PutDword(record, 24, 0x3F);                             // flags mask
    PutDword(record, 28, 0x0);
    PutDword(record, 32, 0x00040004);                       // VOS_NT_WINDOWS32
    PutDword(record, 36, 0x2);                              // VFT_DLL
    PutDword(record, 40, 0x0);
    PutDword(record, 44, 0x01D2A3B4);                       // date
    PutDword(record, 48, 0x5E6F7081);
    return record;
}

FakeVersionFile& FakeVersions::AddVersion(const std::wstring& path, std::uint16_t first,
                                          std::uint16_t second, std::uint16_t third,
                                          std::uint16_t fourth) {
    FakeVersionFile file;
    file.resource.assign(kRecordOffset, 0x11);
    const auto record = FixedInfoRecord(first, second, third, fourth);
    file.resource.insert(file.resource.end(), record.begin(), record.end());
    file.resource.insert(file.resource.end(), 64, 0x22);
    file.root = os::RootBlock{kRecordOffset, record.size()};
    return files[path] = file;
}

os::VersionInfoSize FakeVersions::InfoSize(const std::wstring& path) {
    ++sizeCalls;
    auto it = files.find(path);
    if (it == files.end()) return {};
    const FakeVersionFile& file = it->second;
    return {file.reportedSize.value_or(static_cast<std::uint32_t>(file.resource.size())),
            file.handle};
}

bool FakeVersions::ReadInfo(const std::wstring& path, std::uint32_t handle,
                            std::span<std::uint8_t> buffer) {
    ++fillCalls;
    handlePassed = handle;
    bufferSize = buffer.size();
    bufferWasZeroed = std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; });
    lastFilled_ = nullptr;
    auto it = files.find(path);
    if (it == files.end() || it->second.fillFails) return false;
    const auto& resource = it->second.resource;
    std::copy_n(resource.begin(), std::min(resource.size(), buffer.size()), buffer.begin());
    lastFilled_ = &it->second;
    return true;
}

std::optional<os::RootBlock> FakeVersions::QueryRootBlock(std::span<const std::uint8_t>) {
    ++rootCalls;
    if (lastFilled_ == nullptr) return std::nullopt;
    return lastFilled_->root;
}

}  // namespace fakes
