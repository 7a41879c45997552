#pragma once
// The component file lists: how one file is examined, and the three fixed sets of files.
#include <string>
#include <vector>

#include "app/file_entry.h"
#include "platform/ui.h"
#include "platform/text_ids.h"

namespace os {
class Texts;
struct Services;
class VersionResources;
}
namespace app {

// The part of a path after its last backslash; the path itself when it has none.
std::wstring GetFile(const std::wstring& sFile);
std::wstring GetFile03(const std::wstring& sFile);

// One file examined: found only when its version resource can be read.
FileEntry GetFileEntry(os::VersionResources& versions, const std::wstring& path);

// A list row: the file's suffix below the base folder, and whether re-registration skips it.
struct FileListRow {
    const wchar_t* suffix;
    bool skipRegister;
};

// Every entry of the table examined below base, in table order.
std::vector<FileEntry> BuildFileList(os::VersionResources& versions, const std::wstring& base,
                                     const FileListRow* rows, std::size_t count);

// The three tables.
extern const FileListRow kComponentFiles[3];
extern const FileListRow kJetFiles[6];
extern const FileListRow kMDACFiles[28];

// Whether a re-register command may hand `path` to its worker: the full or the short form of
// a file of the three lists, below the folders as the window finds them
// (looked up afresh for each path: a worker's few calls do not need them kept).
bool Registrable(os::Services& os, const std::wstring& path);

// The column-header click: ordered by that column's text from now on, refills included.
void SortByColumn(ui::ListView& view, int column);

// A verdict as its list and the report show it; empty for a file with no class.
std::wstring ReachText(const os::Texts& texts, Reach reach);

// The columns' headers from the text table, and one entry's texts under them: name (also
// the key), version, registration, path.
inline constexpr unsigned kFileColumns[] = {IDS_COLUMN_FILE_NAME, IDS_COLUMN_FILE_VERSION, IDS_COLUMN_REGISTRATION,
                                            IDS_COLUMN_PATH};
std::vector<std::wstring> FileRow(const FileEntry& entry, const os::Texts& texts);

// All rows replaced by one per entry.
void FillFileListView(ui::ListView& view, const std::vector<FileEntry>& list, const os::Texts& texts);

}  // namespace app
