#include "platform/win32/folders_win32.h"

#include <windows.h>
#include <shfolder.h>

#include <string>

namespace win32 {

static_assert(os::kFolderPathChars >= MAX_PATH, "SHGetFolderPathW writes up to MAX_PATH");

// The wide forms throughout: a folder named outside the ANSI code page is still found.

os::FolderPathAnswer Folders::FolderPathBuffer(std::int32_t folderId) {
    std::wstring buffer(os::kFolderPathChars, L' ');
    const auto getPath = library.Procedure<decltype(&::SHGetFolderPathW)>("SHGetFolderPathW");
    const HRESULT hr = getPath ? getPath(nullptr, folderId, nullptr, 0, buffer.data()) : E_FAIL;
    return {static_cast<std::int32_t>(hr), buffer};
}

bool Folders::FolderHasEntry(const std::wstring& path) {
    // An existing folder lists at least its "." entry.
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((path + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return true;
}

}  // namespace win32
