#include "platform/win32/versions_win32.h"

#include <windows.h>

#include <string>

namespace win32 {

os::VersionInfoSize VersionResources::InfoSize(const std::wstring& path) {
    DWORD handle = 0;
    const auto sizeOf = library.Procedure<decltype(&::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    const DWORD size = sizeOf ? sizeOf(path.c_str(), &handle) : 0;
    return {size, handle};
}

bool VersionResources::ReadInfo(const std::wstring& path, std::uint32_t handle,
                                std::span<std::uint8_t> buffer) {
    const auto read = library.Procedure<decltype(&::GetFileVersionInfoW)>("GetFileVersionInfoW");
    return read && read(path.c_str(), handle, static_cast<DWORD>(buffer.size()), buffer.data()) != FALSE;
}

std::optional<os::RootBlock> VersionResources::QueryRootBlock(
    std::span<const std::uint8_t> buffer) {
    void* block = nullptr;
    UINT length = 0;
    const auto query = library.Procedure<decltype(&::VerQueryValueW)>("VerQueryValueW");
    if (!query || !query(buffer.data(), L"\\", &block, &length) || block == nullptr)
        return std::nullopt;
    // The root block always lies inside the buffer it was found in; anything else is a
    // damaged resource, and reading it would read memory we do not own.
    const auto* at = static_cast<const std::uint8_t*>(block);
    const auto* begin = buffer.data();
    if (at < begin || at > begin + buffer.size()) return std::nullopt;
    return os::RootBlock{static_cast<std::size_t>(at - begin), length};
}

}  // namespace win32
