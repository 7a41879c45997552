#include "platform/win32/folders_win32.h"

#include <windows.h>
#include <shfolder.h>

#include <string>

#include "platform/win32/ansi.h"

namespace win32 {

static_assert(os::kFolderPathChars >= MAX_PATH, "SHGetFolderPathA writes up to MAX_PATH");

os::FolderPathAnswer Folders::FolderPathBuffer(std::int32_t folderId) {
    std::string buffer(os::kFolderPathChars, ' ');
    const auto getPath = library.Procedure<decltype(&::SHGetFolderPathA)>("SHGetFolderPathA");
    const HRESULT hr = getPath ? getPath(nullptr, folderId, nullptr, 0, buffer.data()) : E_FAIL;
    return {static_cast<std::int32_t>(hr), FromAnsi(buffer)};
}

bool Folders::FolderHasEntry(const std::wstring& path) {
    // An existing folder lists at least its "." entry.
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA(ToAnsi(path + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return true;
}

}  // namespace win32
