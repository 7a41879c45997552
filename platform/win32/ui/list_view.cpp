#include "platform/win32/ui/list_view.h"

#include <commctrl.h>

#include <algorithm>

namespace win32 {

void ListView::Create(HWND parent) {
    hwnd_ = MakeWindow(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                       WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, parent);
    if (hwnd_) {
        int column = 0;
        for (const auto& row : ui::CaptionRows(LaidOutCaption())) {
            std::wstring header = row.size() > 1 ? row[1] : L"";
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.pszText = header.data();
            col.cx = Pixels(row.size() > 2 ? std::stoi(row[2]) : 1000, false);
            col.iSubItem = column;
            SendMessageW(hwnd_, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&col));
        }
    }
    Attach();
    if (!hwnd_) return;
    // What it was told before it had a window.
    if (extendedStyleSet_) SetExtendedStyle(extendedStyle_);
    for (const auto& [at, text] : headers_) SetColumnCaption(at, text);
    if (!rows_.empty()) {
        auto rows = std::move(rows_);
        rows_.clear();
        BeginUpdate();
        for (const auto& texts : rows) {
            AddItem(texts.empty() ? L"" : texts[0], texts.empty() ? L"" : texts[0]);
            for (std::size_t sub = 1; sub < texts.size(); ++sub) SetLastItemSubItem(static_cast<int>(sub), texts[sub]);
        }
        EndUpdate();
    }
}

LRESULT ListView::OnNotify(const NMHDR& header) {
    if (header.code == static_cast<UINT>(LVN_COLUMNCLICK))
        host_.Raise(Id(), ui::Event::ColumnClick, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    return 0;
}

// Ctrl+A, Ctrl+C and the context menu (by the mouse, Shift+F10 or the menu key) go to the
// window's handlers, which know the texts of the menu and what a copy holds.
bool ListView::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    if (msg == WM_CONTEXTMENU) {
        host_.Raise(Id(), ui::Event::ContextMenu, 0);
        return true;
    }
    if (msg != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
    if (wParam == 'A') host_.Raise(Id(), ui::Event::SelectAll, 0);
    else if (wParam == 'C') host_.Raise(Id(), ui::Event::Copy, 0);
    else return false;
    return true;
}

bool ListView::ItemSelected(int item) const {
    if (!hwnd_) return false;
    return SendMessageW(hwnd_, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) != 0;
}

void ListView::SelectAllItems() {
    if (!hwnd_) return;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

unsigned ListView::ExtendedStyle() const {
    if (!hwnd_) return extendedStyle_;
    return static_cast<unsigned>(SendMessageW(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

void ListView::SetExtendedStyle(unsigned style) {
    extendedStyle_ = style;
    extendedStyleSet_ = true;
    if (!hwnd_) return;
    SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

int ListView::ColumnCount() const {
    if (!hwnd_) return static_cast<int>(ui::CaptionRows(LaidOutCaption()).size());
    HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring ListView::ColumnCaption(int column) const {
    if (!hwnd_) {
        for (const auto& [at, text] : headers_)
            if (at == column) return text;
        const auto rows = ui::CaptionRows(LaidOutCaption());
        const auto at = static_cast<std::size_t>(column - 1);
        return at < rows.size() && rows[at].size() > 1 ? rows[at][1] : L"";
    }
    wchar_t text[260] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = 260;
    if (!SendMessageW(hwnd_, LVM_GETCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col)))
        return {};
    return text;
}

void ListView::SetColumnCaption(int column, const std::wstring& text) {
    if (!hwnd_) {
        for (auto& [at, was] : headers_)
            if (at == column) return void(was = text);
        headers_.emplace_back(column, text);
        return;
    }
    std::wstring copy = text;
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = copy.data();
    SendMessageW(hwnd_, LVM_SETCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col));
    Fit();
}

// Every column but the last as wide as its widest text, header included, and never narrower
// than laid out; the last takes the rest of the client area and shows what it cuts in its
// label tip. So every column but the last is read whole without scrolling, in any font and DPI.
void ListView::Fit() {
    if (!hwnd_) return;
    const auto rows = ui::CaptionRows(LaidOutCaption());
    const int last = static_cast<int>(rows.size()) - 1;
    RECT client{};
    GetClientRect(hwnd_, &client);
    // A vertical scroll bar the items call for takes its width even before it is drawn.
    const bool scrollBarDue = SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0) > SendMessageW(hwnd_, LVM_GETCOUNTPERPAGE, 0, 0);
    if (scrollBarDue && !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_VSCROLL)) client.right -= GetSystemMetrics(SM_CXVSCROLL);
    int used = 0;
    for (int column = 0; column < last; ++column) {
        const auto& row = rows[static_cast<std::size_t>(column)];
        int width = Pixels(row.size() > 2 ? std::stoi(row[2]) : 1000, false);
        SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE);
        width = std::max(width, static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)));
        // The header's text with the margins a header draws beside it (three edges a side).
        const std::wstring header = ColumnCaption(column + 1);
        const auto headerWidth = SendMessageW(hwnd_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(header.c_str()));
        width = std::max(width, static_cast<int>(headerWidth) + 6 * GetSystemMetrics(SM_CXEDGE));
        SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width);
        used += width;
    }
    if (last >= 0) SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(last), std::max<LONG>(client.right - used, 0));
}

// Inside a bulk update a refill reuses the items the control holds: a row whose texts are
// those it shows already costs nothing, and only what differs is set, added or removed at
// the end. On screen it is the same as removing everything and adding it again.
void ListView::ClearItems() {
    if (!hwnd_) return rows_.clear();
    if (updating_ > 0 && !refilling_) {
        shown_ = std::move(rows_);
        refilling_ = true;
    } else if (!refilling_) {
        Changing();
        SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0);
    }
    rows_.clear();
}

int ListView::ItemOfRow(std::size_t row) const {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(row);
    return static_cast<int>(
        SendMessageW(hwnd_, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void ListView::SetText(std::size_t row, int sub, const std::wstring& text) {
    if (refilling_ && row < shown_.size()) {
        const auto& was = shown_[row];
        if (static_cast<std::size_t>(sub) < was.size() && was[static_cast<std::size_t>(sub)] == text) return;
    }
    std::wstring copy = text;
    LVITEMW item{};
    item.iSubItem = sub;
    item.pszText = copy.data();
    Changing();
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(ItemOfRow(row)), reinterpret_cast<LPARAM>(&item));
}

void ListView::AddItem(const std::wstring& /*key*/, const std::wstring& text) {
    const std::size_t row = rows_.size();
    rows_.push_back({text});
    if (!hwnd_) return;
    if (refilling_ && row < shown_.size()) {
        SetText(row, 0, text);
        return;
    }
    // Each item carries its row in rows_ as its parameter: sorting compares those texts,
    // never item indexes, which move while the control sorts.
    std::wstring copy = text;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ItemCount();
    item.pszText = copy.data();
    item.lParam = static_cast<LPARAM>(row);
    Changing();
    SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (updating_ == 0) SortIfSorted();
}

void ListView::SetLastItemSubItem(int sub, const std::wstring& text) {
    if (rows_.empty() || sub < 1) return;
    auto& row = rows_.back();
    if (row.size() <= static_cast<std::size_t>(sub)) row.resize(static_cast<std::size_t>(sub) + 1);
    row[static_cast<std::size_t>(sub)] = text;
    if (!hwnd_) return;
    SetText(rows_.size() - 1, sub, text);
    if (updating_ == 0) SortIfSorted();
}

int ListView::ItemCount() const {
    if (!hwnd_) return static_cast<int>(rows_.size());
    return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListView::ItemText(int itemIndex, int column) const {
    if (!hwnd_) return RowText(itemIndex, column);
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item));
    return text;
}

void ListView::SetSortKey(int key) {
    sortKey_ = key;
    SortIfSorted();
}

void ListView::SetSorted(bool on) {
    sorted_ = on;
    SortIfSorted();
}

// Drawing stops at the first change of a bulk update, not at its start: turning it back on
// makes the control lay itself out again, which a refill that changes nothing does not need.
void ListView::BeginUpdate() { ++updating_; }

void ListView::Changing() {
    if (updating_ > 0 && !redrawOff_ && hwnd_) {
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
        redrawOff_ = true;
    }
    changed_ = true;
}

void ListView::EndUpdate() {
    if (updating_ == 0 || --updating_ != 0 || !hwnd_) return;
    if (refilling_) {
        for (std::size_t row = shown_.size(); row-- > rows_.size();) {
            Changing();
            SendMessageW(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(ItemOfRow(row)), 0);
        }
        // As after removing every item: nothing selected or focused, the first row in view.
        const auto none = static_cast<WPARAM>(-1);
        if (SendMessageW(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0) > 0 ||
            SendMessageW(hwnd_, LVM_GETNEXTITEM, none, LVNI_FOCUSED) != -1) {
            LVITEMW state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(hwnd_, LVM_SETITEMSTATE, none, reinterpret_cast<LPARAM>(&state));
        }
        SendMessageW(hwnd_, LVM_SETSELECTIONMARK, 0, -1);
        if (SendMessageW(hwnd_, LVM_GETTOPINDEX, 0, 0) > 0) SendMessageW(hwnd_, LVM_ENSUREVISIBLE, 0, FALSE);
        shown_.clear();
        refilling_ = false;
    }
    if (changed_) SortIfSorted();  // unchanged rows are in the order a sort gives already
    if (changed_) Fit();
    changed_ = false;
    if (redrawOff_) {
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
        redrawOff_ = false;
    }
}

const std::wstring& ListView::RowText(LPARAM row, int column) const {
    static const std::wstring none;
    const auto& texts = rows_.at(static_cast<std::size_t>(row));
    return static_cast<std::size_t>(column) < texts.size() ? texts[static_cast<std::size_t>(column)] : none;
}

int CALLBACK ListView::CompareItems(LPARAM a, LPARAM b, LPARAM self) {
    const auto* me = reinterpret_cast<const ListView*>(self);
    return ui::CompareItemText(me->RowText(a, me->sortKey_), me->RowText(b, me->sortKey_));
}

void ListView::SortIfSorted() {
    if (sorted_ && hwnd_)
        SendMessageW(hwnd_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(CompareItems));
}

}  // namespace win32
