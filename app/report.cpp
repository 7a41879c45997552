// What a support desk asks for: the file lists' rows and a report of every page, as plain
// text on the clipboard. Nothing is written to disk.
#include <iterator>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/frmLumoraRepair.h"
#include "platform/system.h"
#include "platform/text_ids.h"
#include "platform/texts.h"

namespace app {
namespace {

constexpr wchar_t kProgramLine[] = L"LumoraRepair 1.10.0.48";
constexpr wchar_t kNewLine[] = L"\r\n";

// One line of a page: a caption and the value beside it; a heading when value is 0.
struct ReportLine {
    int caption, value;
};
// By tab, from the first: the page switch's order.
struct ReportPage {
    void (frmLumoraRepair::*fill)();
    std::initializer_list<ReportLine> lines;
    int list;  // list view of the page's files, or 0
    std::vector<ClassReach> frmLumoraRepair::*classes;  // the list's classes created by name, or none
};

using namespace ctl;
const ReportPage kReportPages[] = {
    {&frmLumoraRepair::ShowMDACPage, {{Label7, Label8}, {Label19, Label21}, {Label22, 0}}, lvwMDACFiles,
     &frmLumoraRepair::MDACClasses},
    {&frmLumoraRepair::ShowJetPage, {{Label25, Label24}, {Label23, Label10}, {Label9, 0}}, lvwJetFiles, &frmLumoraRepair::JetClasses},
    {&frmLumoraRepair::ShowWindowsPage,
     {{Frame1, 0}, {Label1, Label2}, {Label3, Label4}, {Label6, Label5}, {Label14, Label13},
      {Frame2, 0}, {Label28, Label29}, {Label31, Label30}, {Label33, Label32}, {Label26, Label27}},
     0, nullptr},
    {&frmLumoraRepair::ShowComponentsPage,
     {{Frame3, 0}, {Label18, Label17}, {Label15, Label16}, {Label35, Label34}, {Label37, Label36}, {Label39, Label38}},
     0, nullptr},
};

std::wstring Row(ui::Control& view, int item) {
    std::wstring row;
    for (int column = 0; column < view.ColumnCount(); ++column)
        row += (column ? L"\t" : L"") + (item < 0 ? view.ColumnCaption(column + 1) : view.ItemText(item, column));
    return row + kNewLine;
}

// The column headers, then every row (or only the selected ones) in the order shown.
std::wstring Rows(ui::Control& view, bool selectedOnly) {
    std::wstring text = Row(view, -1);
    for (int item = 0; item < view.ItemCount(); ++item)
        if (!selectedOnly || view.ItemSelected(item)) text += Row(view, item);
    return text;
}

}  // namespace

void frmLumoraRepair::PutOnClipboard(const std::wstring& text) {
    if (!form_.SetClipboardText(text)) form_.ShowMessage(Text(IDS_CLIPBOARD_FAILED), kProgramTitle);
}

void frmLumoraRepair::FileList_Copy(int view) {
    bool any = false;
    for (int item = 0; item < form_[view].ItemCount(); ++item) any = any || form_[view].ItemSelected(item);
    if (any) PutOnClipboard(Rows(form_[view], true));
}

void frmLumoraRepair::FileList_SelectAll(int view) { form_[view].SelectAllItems(); }

void frmLumoraRepair::FileList_ContextMenu(int view) {
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
    ui::Control& tabs = form_[TabStrip1];
    for (int tab = 1; tab <= tabs.TabCount() && tab <= static_cast<int>(std::size(kReportPages)); ++tab) {
        const ReportPage& page = kReportPages[tab - 1];
        (this->*page.fill)();
        text += kNewLine + std::wstring(L"[") + tabs.TabCaption(tab) + L"]" + kNewLine;
        for (const ReportLine& line : page.lines) {
            ui::Control& caption = form_[line.caption];
            if (!caption.Visible()) continue;  // a row the page hid
            text += caption.Caption();
            if (line.value) text += L" " + form_[line.value].Caption();
            text += kNewLine;
        }
        if (page.list) text += Rows(form_[page.list], false);
        if (page.classes && !(this->*page.classes).empty()) text += Text(IDS_REPORT_CLASSES) + kNewLine;
        for (const ClassReach& checked : page.classes ? this->*page.classes : std::vector<ClassReach>{})
            text += checked.name + L"\t" + checked.file + L"\t" + ReachText(os_.texts, checked.verdict) + L"\t" +
                    checked.registered + kNewLine;
    }
    return text;
}

void frmLumoraRepair::CopyReport() { PutOnClipboard(ReportText()); }

}  // namespace app
