#pragma once
// One examined component file.
#include <cstdint>
#include <string>

namespace app {

// Whether applications that create the file's classes by name reach this file, from best to
// worst; a file's is the worst of its classes'.
enum class Reach : int {
    None = -1,  // no class of the file is created by name
    ThisFile,
    OtherFile,      // registered to another copy or a path that is gone
    FileMissing,    // registered to this file's path, where the file is missing
    NotRegistered,
};

struct FileEntry {
    std::wstring FileName;
    std::wstring FilePath;     // the path examined, or "Not found"
    std::wstring ListedPath;   // the path examined, found or not
    std::wstring FileVersion;  // three parts joined by ".", or "N/A"
    std::uint16_t VersionMajor = 0;
    std::uint16_t VersionMinor = 0;
    std::uint16_t VersionBuild = 0;
    bool SkipRegister = false;
    Reach Reached = Reach::None;
};

}  // namespace app
