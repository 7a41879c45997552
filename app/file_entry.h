#pragma once
// One examined component file.
#include <cstdint>
#include <string>

namespace app {

struct FileEntry {
    std::wstring FileName;
    std::wstring FilePath;     // the path examined, or "Not found"
    std::wstring FileVersion;  // three parts joined by ".", or "N/A"
    std::uint16_t VersionMajor = 0;
    std::uint16_t VersionMinor = 0;
    std::uint16_t VersionBuild = 0;
    bool SkipRegister = false;
};

}  // namespace app
