#include "probes/modAPI.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/text_ids.h"
#include "platform/folders.h"
#include "platform/strings.h"
#include "platform/system.h"
#include "platform/texts.h"
#include "platform/versions.h"

namespace modAPI {
namespace {

// The last recognised Windows version code; 0 until a system is recognised. Written only
// by GetWindowsVersion (and the test reset), on the window's thread.
std::int32_t g_windowsVersion = kWindowsUnknown;

constexpr std::uint32_t kPlatformNT = 2;  // VER_PLATFORM_WIN32_NT
// dwFileVersionMS and dwFileVersionLS end at this byte of the fixed version record.
constexpr std::size_t kFileVersionEnd = 16;

std::int32_t Classify(const os::OsVersion& v) {
    if (v.platformId == kPlatformNT) {
        switch (v.major) {
        case 5:
            switch (v.minor) {
            case 0: return kWindows2000;
            case 1: return kWindowsXP;
            case 2: return kWindowsServer2003;
            default: return kWindowsUnknown;
            }
        case 6: return kWindowsVista;
        case 4: return kWindowsNT4;
        default: return kWindowsUnknown;
        }
    }
    // The Windows 95 family tells its members apart by the minor version alone.
    switch (v.minor) {
    case 0: return kWindows95;
    case 10: return kWindows98;
    case 90: return kWindowsMe;
    default: return kWindowsUnknown;
    }
}

}  // namespace

bool ReadFileVersionInfo(os::VersionResources& versions, const std::wstring& sFile,
                         FixedFileInfo& info) {
    // The size query is the only existence test: a missing file and a file without a
    // version resource both answer 0.
    const os::VersionInfoSize size = versions.InfoSize(sFile);
    if (size.size == 0) return false;

    // Owned by the vector, so it is released on every way out.
    std::vector<std::uint8_t> buffer(size.size, 0);
    if (!versions.ReadInfo(sFile, size.handle, buffer)) return false;

    const std::optional<os::RootBlock> root = versions.QueryRootBlock(buffer);
    if (!root || root->offset > buffer.size()) return false;

    // Never more than the record holds, and never past the end of what was read: a short
    // block copies what it has and leaves the rest of the record as the caller set it.
    const std::size_t count =
        std::min({root->length, FixedFileInfo::kSize, buffer.size() - root->offset});
    // A block cut short before the file version's fields holds no version: reading it would
    // show parts of a version made up of the caller's zeros.
    if (count < kFileVersionEnd) return false;
    std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(root->offset), count,
                info.bytes.begin());
    return true;
}

std::wstring VersionText(const FixedFileInfo& info, bool withBuild) {
    std::wstring text = os::ToDecimal(info.FirstPart()) + L"." + os::ToDecimal(info.SecondPart()) +
                        L"." + os::ToDecimal(info.ThirdPart());
    if (withBuild) text += L" (Build " + os::ToDecimal(info.FourthPart()) + L")";
    return text;
}

std::wstring GetFileVersionString(os::VersionResources& versions, const os::Texts& texts,
                                  const std::wstring& sFile, bool withBuild) {
    FixedFileInfo info{};
    if (!ReadFileVersionInfo(versions, sFile, info)) return texts.Text(IDS_NOT_AVAILABLE);
    return VersionText(info, withBuild);
}

std::int32_t GetWindowsVersion(os::System& system) {
    if (g_windowsVersion > 0) return g_windowsVersion;
    const std::int32_t code = Classify(system.QueryOsVersion());
    if (code != kWindowsUnknown) g_windowsVersion = code;
    return g_windowsVersion;
}

void ResetWindowsVersionCacheForTests() { g_windowsVersion = kWindowsUnknown; }

std::wstring GetSpecialFolderPath(os::Folders& folders, std::int32_t folderId) {
    const os::FolderPathAnswer answer = folders.FolderPathBuffer(folderId);
    if (answer.result != 0) return {};
    return os::BeforeFirstNul(answer.buffer);
}

}  // namespace modAPI
