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

// Every page the window has, in tab order, filled afresh by its own procedure; the page
// on view stays the one on view.
std::wstring frmLumoraRepair::ReportText() {
    std::wstring text = std::wstring(kProgramLine) + kNewLine + Text(IDS_REPORT_CREATED) + L" " +
                        os_.system.LocalDateTimeText() + kNewLine;
    ui::TabStrip& tabs = form_.TabsOf(ctl::TabStrip1);
    for (int tab = 1; tab <= tabs.TabCount() && tab <= static_cast<int>(Pages().size()); ++tab) {
        const Page& page = Pages()[tab - 1];
        reporting_ = true;
        (this->*page.fill)();
        reporting_ = false;
        text += kNewLine + std::wstring(L"[") + tabs.TabCaption(tab) + L"]" + kNewLine;
        for (const ReportLine& line : page.report) {
            ui::Control& caption = form_[line.caption];
            if (!caption.Visible()) continue;  // a row the page hid
            text += caption.Caption();
            if (line.value) text += L" " + form_[line.value].Caption();
            text += kNewLine;
        }
        if (page.list) text += Rows(form_.ListOf(page.list), false);
        if (page.classes && !(this->*page.classes).empty()) text += Text(IDS_REPORT_CLASSES) + kNewLine;
        for (const ClassReach& checked : page.classes ? this->*page.classes : std::vector<ClassReach>{})
            text += checked.name + L"\t" + checked.file + L"\t" + ReachText(os_.texts, checked.verdict) + L"\t" +
                    checked.registered + kNewLine;
    }
    return text;
}

void frmLumoraRepair::CopyReport() { PutOnClipboard(ReportText()); }

}  // namespace app
