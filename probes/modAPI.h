#pragma once
// modAPI: what the program asks of the running system. A file's version, the Windows
// version and the shell special folders.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace os {
class Texts;
class System;
class VersionResources;
class Folders;
}  // namespace os

namespace modAPI {

// The fixed version record (VS_FIXEDFILEINFO) as the bytes of a version resource hold
// it: 52 bytes, thirteen little-endian 32-bit fields. Only the file version is read.
struct FixedFileInfo {
    static constexpr std::size_t kSize = 52;
    std::array<std::uint8_t, kSize> bytes{};

    // The file version's four 16-bit parts, in the order the version text shows them:
    // high and low half of dwFileVersionMS, then high and low half of dwFileVersionLS.
    std::uint16_t FirstPart() const { return Word(10); }
    std::uint16_t SecondPart() const { return Word(8); }
    std::uint16_t ThirdPart() const { return Word(14); }
    std::uint16_t FourthPart() const { return Word(12); }

private:
    std::uint16_t Word(std::size_t at) const {
        return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
};
static_assert(sizeof(FixedFileInfo) == FixedFileInfo::kSize);

// Fills `info` from the file's version resource and returns true; returns false and
// leaves `info` untouched when the file is missing or its version cannot be read.
bool ReadFileVersionInfo(os::VersionResources& versions, const std::wstring& sFile,
                         FixedFileInfo& info);

// "first.second.third", and " (Build fourth)" behind it when withBuild is set.
std::wstring VersionText(const FixedFileInfo& info, bool withBuild);

// The version text of a file, or text 102 ("Not available") when it has none.
std::wstring GetFileVersionString(os::VersionResources& versions, const os::Texts& texts,
                                  const std::wstring& sFile, bool withBuild);

// Windows version codes: 0 is a system not recognised.
enum WindowsVersionCode : std::int32_t {
    kWindowsUnknown = 0,
    kWindows95 = 1,
    kWindows98 = 2,
    kWindowsNT4 = 3,
    kWindows2000 = 4,
    kWindowsMe = 5,
    kWindowsXP = 6,
    kWindowsServer2003 = 7,
    kWindowsVista = 8,
};

// The Windows version code. Once a system is recognised the answer is kept for the rest
// of the run and the platform is not asked again; an unrecognised one is asked each time.
std::int32_t GetWindowsVersion(os::System& system);

// Tests only: forget the kept Windows version, as at the start of a run.
void ResetWindowsVersionCacheForTests();

// The folder's path as the platform writes it (no trailing backslash), or an empty text
// when the platform cannot give one. Ids are the platform's CSIDL numbers.
std::wstring GetSpecialFolderPath(os::Folders& folders, std::int32_t folderId);

// The folder ids the program asks for.
inline constexpr std::int32_t kFolderMyDocuments = 5;         // CSIDL_PERSONAL
inline constexpr std::int32_t kFolderAppData = 26;            // CSIDL_APPDATA
inline constexpr std::int32_t kFolderCommonAppData = 35;      // CSIDL_COMMON_APPDATA
inline constexpr std::int32_t kFolderCommonFiles = 43;        // CSIDL_PROGRAM_FILES_COMMON

}  // namespace modAPI
