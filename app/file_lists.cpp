#include "app/file_lists.h"

#include <iterator>

#include "platform/strings.h"
#include "platform/text_ids.h"
#include "platform/texts.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "probes/modAPI.h"

namespace app {

const FileListRow kComponentFiles[3] = {
    {L"\\COMCTL32.OCX", false},
    {L"\\actbar2.ocx", false},
    {L"\\gridex20.ocx", false},
};

const FileListRow kJetFiles[6] = {
    {L"\\msjet40.dll", false},  {L"\\msjtes40.dll", false}, {L"\\msjetoledb40.dll", false},
    {L"\\mswstr10.dll", true},  {L"\\msjint40.dll", true},  {L"\\msjter40.dll", true},
};

// Case and the blank in "Ole DB" exactly as the files are installed.
const FileListRow kMDACFiles[28] = {
    {L"\\System\\ado\\MSADO15.DLL", false},     {L"\\System\\ado\\MSADER15.DLL", true},
    {L"\\System\\ado\\MSADOR15.DLL", false},    {L"\\System\\ado\\MSADRH15.DLL", false},
    {L"\\System\\ado\\MSADOMD.DLL", false},     {L"\\System\\ado\\MSADOX.DLL", false},
    {L"\\System\\ado\\MSJRO.DLL", false},       {L"\\System\\MSADC\\MSADCE.DLL", false},
    {L"\\System\\MSADC\\MSADCER.DLL", true},    {L"\\System\\MSADC\\MSADCF.DLL", false},
    {L"\\System\\MSADC\\MSADCFR.DLL", true},    {L"\\System\\MSADC\\MSADCO.DLL", false},
    {L"\\System\\MSADC\\MSADCOR.DLL", true},    {L"\\System\\MSADC\\MSADCS.DLL", true},
    {L"\\System\\MSADC\\MSADDS.DLL", false},    {L"\\System\\MSADC\\MSADDSR.DLL", true},
    {L"\\System\\MSADC\\MSDAPRST.DLL", false},  {L"\\System\\Ole DB\\OLEDB32.DLL", false},
    {L"\\System\\Ole DB\\MSXACTPS.DLL", false}, {L"\\System\\Ole DB\\MSDAENUM.DLL", false},
    {L"\\System\\Ole DB\\MSDAURL.DLL", false},  {L"\\System\\Ole DB\\MSDATT.DLL", false},
    {L"\\System\\Ole DB\\MSDASQL.DLL", false},  {L"\\System\\Ole DB\\MSDAOSP.DLL", false},
    {L"\\System\\Ole DB\\MSDAORA.DLL", false},  {L"\\System\\Ole DB\\MSDAPS.DLL", false},
    {L"\\System\\Ole DB\\MSDADC.DLL", false},   {L"\\System\\Ole DB\\MSDAER.DLL", true},
};

std::wstring GetFile(const std::wstring& sFile) {
    const std::size_t slash = sFile.rfind(L'\\');
    return slash == std::wstring::npos ? sFile : sFile.substr(slash + 1);
}

std::wstring GetFile03(const std::wstring& sFile) { return GetFile(sFile); }

FileEntry GetFileEntry(os::VersionResources& versions, const std::wstring& path) {
    FileEntry entry;
    modAPI::FixedFileInfo info;
    entry.FileName = GetFile03(path);
    entry.ListedPath = path;
    if (modAPI::ReadFileVersionInfo(versions, path, info)) {
        entry.VersionMajor = info.FirstPart();
        entry.VersionMinor = info.SecondPart();
        entry.VersionBuild = info.ThirdPart();
        entry.FilePath = path;
        entry.FileVersion = os::ToDecimal(entry.VersionMajor) + L"." + os::ToDecimal(entry.VersionMinor) + L"." +
                            os::ToDecimal(entry.VersionBuild);
    } else {
        entry.FilePath = L"Not found";
        entry.FileVersion = L"N/A";
    }
    return entry;
}

std::vector<FileEntry> BuildFileList(os::VersionResources& versions, const std::wstring& base,
                                     const FileListRow* rows, std::size_t count) {
    std::vector<FileEntry> list(count);
    for (std::size_t i = 0; i < count; ++i) list[i] = GetFileEntry(versions, base + rows[i].suffix);
    for (std::size_t i = 0; i < count; ++i)
        if (rows[i].skipRegister) list[i].SkipRegister = true;
    return list;
}

bool Registrable(os::Services& os, const std::wstring& path) {
    const auto onTable = [&](const std::wstring& base, const FileListRow* rows, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::wstring file = base + rows[i].suffix;
            if (file == path || os.system.ShortPathName(file) == path) return true;
        }
        return false;
    };
    const std::wstring systemDirectory = os::BeforeFirstNul(os.system.SystemDirectoryBuffer(261));
    const std::wstring common = modAPI::GetSpecialFolderPath(os.folders, modAPI::kFolderCommonFiles);
    return onTable(common, kMDACFiles, std::size(kMDACFiles)) ||
           onTable(systemDirectory, kJetFiles, std::size(kJetFiles)) ||
           onTable(systemDirectory, kComponentFiles, std::size(kComponentFiles));
}

void SortByColumn(ui::ListView& view, int column) {
    view.SetSortKey(column);
    view.SetSorted(true);
}

std::wstring ReachText(const os::Texts& texts, Reach reach) {
    switch (reach) {
        case Reach::ThisFile: return texts.Text(IDS_REACH_THIS_FILE);
        case Reach::OtherFile: return texts.Text(IDS_REACH_OTHER_FILE);
        case Reach::FileMissing: return texts.Text(IDS_REACH_FILE_MISSING);
        case Reach::NotRegistered: return texts.Text(IDS_REACH_NOT_REGISTERED);
        default: return {};
    }
}

std::vector<std::wstring> FileRow(const FileEntry& entry, const os::Texts& texts) {
    return {entry.FileName, entry.FileVersion, ReachText(texts, entry.Reached), entry.FilePath};
}

void FillFileListView(ui::ListView& view, const std::vector<FileEntry>& list, const os::Texts& texts) {
    view.BeginUpdate();
    view.ClearItems();
    for (const FileEntry& entry : list) {
        const std::vector<std::wstring> row = FileRow(entry, texts);
        view.AddItem(row[0], row[0]);
        view.SetLastItemSubItem(1, row[1]);
        view.SetLastItemSubItem(2, row[2]);
        view.SetLastItemSubItem(3, row[3]);
    }
    view.EndUpdate();
}

}  // namespace app
