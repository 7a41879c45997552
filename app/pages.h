#pragma once
// The window's pages in tab order: the one place in app/ that lists them. Start-up names
// their tabs, a tab's choice shows its page and hides the others, the report goes through
// them. A page of its own is a file with its fill procedure and a row here.
#include <initializer_list>
#include <span>
#include <vector>

#include "app/frmLumoraRepair.h"

namespace app {

// A row of a page's report: a caption and the value beside it; a heading when value is 0.
// Their texts as the page's fill showed them, as laid out where no fill sets one.
struct ReportLine {
    int caption;
    int value;
};

struct Page {
    int container;
    unsigned tabText;  // its tab's caption from the text table; 0: the tab's as laid out
    bool productOnly;  // its tab only when the product is installed
    void (frmLumoraRepair::*fill)();  // fills it afresh, each time it is shown or reported
    std::initializer_list<ReportLine> report;
    std::vector<FileEntry> frmLumoraRepair::*files;  // its file list; null: none
    int frmLumoraRepair::*sortColumn;                 // the column its list's view is ordered by
    std::vector<ClassReach> frmLumoraRepair::*classes;  // the list's classes created by name; null: none
};

std::span<const Page> Pages();

}  // namespace app
