#pragma once
#include "platform/versions.h"
#include "platform/win32/dll_search.h"

namespace win32 {

// The version library (version.dll), wide entry points. Not a known DLL of the system, so
// loaded from the system folder at run time rather than imported.
class VersionResources : public os::VersionResources {
public:
    SystemLibrary library{L"version.dll"};

    os::VersionInfoSize InfoSize(const std::wstring& path) override;
    bool ReadInfo(const std::wstring& path, std::uint32_t handle,
                  std::span<std::uint8_t> buffer) override;
    std::optional<os::RootBlock> QueryRootBlock(std::span<const std::uint8_t> buffer) override;
};

}  // namespace win32
