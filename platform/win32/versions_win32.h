#pragma once
#include "platform/versions.h"

namespace win32 {

// The version library (version.dll), ANSI entry points.
class VersionResources : public os::VersionResources {
public:
    os::VersionInfoSize InfoSize(const std::wstring& path) override;
    bool ReadInfo(const std::wstring& path, std::uint32_t handle,
                  std::span<std::uint8_t> buffer) override;
    std::optional<os::RootBlock> QueryRootBlock(std::span<const std::uint8_t> buffer) override;
};

}  // namespace win32
