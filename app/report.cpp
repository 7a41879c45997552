// What a support desk asks for: the file lists' rows and a report of every page, as plain
// text on the clipboard. Nothing is written to disk.
#include <iterator>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "app/pages.h"
#include "platform/system.h"
#include "platform/text_ids.h"
#include "platform/texts.h"

namespace app {
namespace {

constexpr wchar_t kProgramLine[] = L"LumoraRepair 1.10.0.48";
constexpr wchar_t kNewLine[] = L"\r\n";

std::wstring Row(ui::ListView& view, int item) {
    std::wstring row;
    for (int column = 0; column < view.ColumnCount(); ++column)
        row += (column ? L"\t" : L"") + (item < 0 ? view.ColumnCaption(column + 1) : view.ItemText(item, column));
    return row + kNewLine;
}

// The column headers, then every row (or only the selected ones) in the order shown.
std::wstring Rows(ui::ListView& view, bool selectedOnly) {
    std::wstring text = Row(view, -1);
    for (int item = 0; item < view.ItemCount(); ++item)
        if (!selectedOnly || view.ItemSelected(item)) text += Row(view, item);
    return text;
}

// A file list's headers and rows in the order its view shows them: by the column of the last
// header click (-1: none) as the view sorts, equal rows kept in list order. By insertion, as
// the toolkit's own sorts: a list holds a few dozen files.
std::wstring FileRows(const std::vector<FileEntry>& list, int sortColumn, const os::Texts& texts) {
    std::vector<std::vector<std::wstring>> rows(1);
    for (unsigned column : kFileColumns) rows[0].push_back(texts.Text(column));
    for (const FileEntry& entry : list) rows.push_back(FileRow(entry, texts));
    for (std::size_t i = 2; sortColumn >= 0 && i < rows.size(); ++i)
        for (std::size_t j = i; j > 1 && ui::CompareItemText(rows[j][sortColumn], rows[j - 1][sortColumn]) < 0; --j)
            rows[j].swap(rows[j - 1]);
    std::wstring text;
    for (const std::vector<std::wstring>& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) text += row[i] + (i + 1 < row.size() ? L"\t" : kNewLine);
    return text;
}

}  // namespace

void frmLumoraRepair::PutOnClipboard(const std::wstring& text) {
    if (!form_.SetClipboardText(text)) form_.ShowMessage(Text(IDS_CLIPBOARD_FAILED), kProgramTitle);
}

void frmLumoraRepair::FileList_Copy(ui::ListViewId id) {
    ui::ListView& view = form_.ListOf(id);
    bool any = false;
    for (int item = 0; item < view.ItemCount(); ++item) any = any || view.ItemSelected(item);
    if (any) PutOnClipboard(Rows(view, true));
}

void frmLumoraRepair::FileList_SelectAll(ui::ListViewId view) { form_.ListOf(view).SelectAllItems(); }

void frmLumoraRepair::FileList_ContextMenu(ui::ListViewId view) {
    switch (form_.PopupMenu({Text(IDS_MENU_COPY), Text(IDS_MENU_SELECT_ALL), Text(IDS_MENU_COPY_REPORT)})) {
        case 0: FileList_Copy(view); break;
        case 1: FileList_SelectAll(view); break;
        case 2: CopyReport(); break;
        default: break;
    }
}

// Every page the window has, in tab order, filled afresh by its own procedure and told from
// what the fill kept, never read back from the controls; the page on view stays on view.
std::wstring frmLumoraRepair::ReportText() {
    std::wstring text = std::wstring(kProgramLine) + kNewLine + Text(IDS_REPORT_CREATED) + L" " +
                        os_.system.LocalDateTimeText() + kNewLine;
    // A tab the text table does not name keeps its caption as laid out.
    const std::vector<std::vector<std::wstring>> laidOutTabs = ui::CaptionRows(Kept(ctl::TabStrip1).text);
    for (std::size_t i = 0; i < Pages().size(); ++i) {
        const Page& page = Pages()[i];
        if (page.productOnly && !ProductInstalled) continue;  // its tab was removed at start-up
        reporting_ = true;
        (this->*page.fill)();
        reporting_ = false;
        text += kNewLine + std::wstring(L"[") + (page.tabText ? Text(page.tabText) : laidOutTabs[i][0]) + L"]" +
                kNewLine;
        for (const ReportLine& line : page.report) {
            if (Kept(line.caption).hidden) continue;  // a row the page hid
            text += Kept(line.caption).text;
            if (line.value) text += L" " + Kept(line.value).text;
            text += kNewLine;
        }
        if (page.files) text += FileRows(this->*page.files, this->*page.sortColumn, os_.texts);
        if (page.classes && !(this->*page.classes).empty()) text += Text(IDS_REPORT_CLASSES) + kNewLine;
        for (const ClassReach& checked : page.classes ? this->*page.classes : std::vector<ClassReach>{})
            text += checked.name + L"\t" + checked.file + L"\t" + ReachText(os_.texts, checked.verdict) + L"\t" +
                    checked.registered + kNewLine;
    }
    return text;
}

void frmLumoraRepair::CopyReport() { PutOnClipboard(ReportText()); }

}  // namespace app
