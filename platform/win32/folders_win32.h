#pragma once
#include "platform/folders.h"

namespace win32 {

// SHGetFolderPathA of the shell folder library shfolder.dll (imported from there, not from
// shell32, by the link order of the Win32 library).
class Folders : public os::Folders {
public:
    os::FolderPathAnswer FolderPathBuffer(std::int32_t folderId) override;
    bool FolderHasEntry(const std::wstring& path) override;
};

}  // namespace win32
