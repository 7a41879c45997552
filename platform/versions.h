#pragma once
// Version resources of files (the version library). The three calls are offered at byte
// level; what the program makes of the bytes lives in probes/modAPI.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace os {

// What the size query answers: 0 bytes when the file is missing or carries no version
// information. The handle value means nothing to us; it is handed back to the fill call.
struct VersionInfoSize {
    std::uint32_t size = 0;
    std::uint32_t handle = 0;
};

// Where the root block lies inside a filled buffer, and the length the platform reports
// for it. The length is as reported: the reader checks it against the buffer itself.
struct RootBlock {
    std::size_t offset = 0;
    std::size_t length = 0;
};

class VersionResources {
public:
    virtual ~VersionResources() = default;
    // GetFileVersionInfoSizeW on the path as it is: names outside the ANSI code page too.
    virtual VersionInfoSize InfoSize(const std::wstring& path) = 0;
    // GetFileVersionInfoW into exactly the bytes of `buffer`; true when it was filled.
    virtual bool ReadInfo(const std::wstring& path, std::uint32_t handle,
                          std::span<std::uint8_t> buffer) = 0;
    // VerQueryValueW of the root block "\" on a filled buffer; nothing when the platform
    // finds none (or points outside the buffer).
    virtual std::optional<RootBlock> QueryRootBlock(std::span<const std::uint8_t> buffer) = 0;
};

}  // namespace os
