#pragma once
// Shell special folders, asked of the shell folder library (shfolder.dll).
#include <cstdint>
#include <string>

namespace os {

// The folder query writes into a buffer of this many characters (MAX_PATH and one).
inline constexpr unsigned kFolderPathChars = 261;

struct FolderPathAnswer {
    std::int32_t result = 0;  // the HRESULT; 0 when the path was written
    std::wstring buffer;      // the whole buffer
};

class Folders {
public:
    virtual ~Folders() = default;
    // SHGetFolderPath with no owner window, no access token and flags 0 (the folder's
    // current path) into a buffer of kFolderPathChars spaces.
    virtual FolderPathAnswer FolderPathBuffer(std::int32_t folderId) = 0;
    // The folder test: a listing of the folder (path ends with a backslash), folders
    // included, yields at least one entry.
    virtual bool FolderHasEntry(const std::wstring& path) = 0;
};

}  // namespace os
