#pragma once
#include "platform/folders.h"
#include "platform/win32/dll_search.h"

namespace win32 {

// SHGetFolderPathW of the shell folder library shfolder.dll, loaded from the system folder
// at run time: it is not a known DLL of the system, so it is not imported.
class Folders : public os::Folders {
public:
    SystemLibrary library{L"shfolder.dll"};

    os::FolderPathAnswer FolderPathBuffer(std::int32_t folderId) override;
    bool FolderHasEntry(const std::wstring& path) override;
};

}  // namespace win32
