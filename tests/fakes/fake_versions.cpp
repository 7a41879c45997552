#include "fakes/fake_versions.h"

#include <algorithm>

namespace fakes {

std::array<std::uint8_t, 52> FixedInfoRecord(std::uint16_t first, std::uint16_t second, std::uint16_t third,
                                             std::uint16_t fourth) {
    const std::uint32_t fields[13] = {0xFEEF04BD, 0x00010000, (std::uint32_t{first} << 16) | second,
                                      (std::uint32_t{third} << 16) | fourth, 0x00630009, 0x00080007, 0x3F, 0,
                                      0x00040004, 2, 0, 0x01D2A3B4, 0x5E6F7081};
    std::array<std::uint8_t, 52> record{};
    for (std::size_t i = 0; i < 52; ++i) record[i] = static_cast<std::uint8_t>(fields[i / 4] >> (8 * (i % 4)));
    return record;
}

FakeVersionFile& FakeVersions::AddVersion(const std::wstring& path, std::uint16_t first, std::uint16_t second,
                                          std::uint16_t third, std::uint16_t fourth) {
    FakeVersionFile file;
    file.resource.assign(40, 0x11);
    const auto record = FixedInfoRecord(first, second, third, fourth);
    file.resource.insert(file.resource.end(), record.begin(), record.end());
    file.resource.insert(file.resource.end(), 64, 0x22);
    file.root = os::RootBlock{40, record.size()};
    return files[path] = file;
}

bool FakeVersions::ReadInfo(const std::wstring& path, std::uint32_t, std::span<std::uint8_t> buffer) {
    const auto it = files.find(path);
    filled_ = it == files.end() ? nullptr : &it->second;
    if (filled_) std::copy_n(filled_->resource.begin(), std::min(filled_->resource.size(), buffer.size()), buffer.begin());
    return filled_ != nullptr;
}

}  // namespace fakes
