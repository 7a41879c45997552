#pragma once
// A list view in report view: columns from the laid-out caption ("key|header|width;..."),
// items that keep a stable row number as their parameter, sorting by a column's text, and
// bulk fills that draw and sort once at the end.
#include <string>
#include <vector>

#include "platform/win32/ui/control.h"

namespace win32 {

class ListView : public Control, public ui::ListView {
public:
    using Control::Control;
    void Create(HWND parent) override;

    LRESULT OnNotify(const NMHDR& header) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The columns are its captions; the view has no text of its own.
    std::wstring Caption() const override { return {}; }
    void SetCaption(const std::wstring&) override {}

    unsigned ExtendedStyle() const override;
    void SetExtendedStyle(unsigned style) override;
    int ColumnCount() const override;
    std::wstring ColumnCaption(int column) const override;
    void SetColumnCaption(int column, const std::wstring& text) override;
    void ClearItems() override;
    void AddItem(const std::wstring& key, const std::wstring& text) override;
    void SetLastItemSubItem(int sub, const std::wstring& text) override;
    int ItemCount() const override;
    bool ItemSelected(int item) const override;
    void SelectAllItems() override;
    std::wstring ItemText(int item, int column) const override;
    int SortKey() const override { return sortKey_; }
    void SetSortKey(int key) override;
    bool Sorted() const override { return sorted_; }
    void SetSorted(bool on) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    void Fit() override;
    const std::wstring& RowText(LPARAM row, int column) const;
    static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM self);
    void SortIfSorted();
    int ItemOfRow(std::size_t row) const;
    // Sets one text of a row's item, unless a refill finds it there already.
    void SetText(std::size_t row, int sub, const std::wstring& text);

    std::vector<std::vector<std::wstring>> rows_;  // item texts by item parameter
    std::vector<std::vector<std::wstring>> shown_;  // during a refill: what the items hold
    bool refilling_ = false;
    bool changed_ = false;  // an item was set, added or removed since the last sort
    bool redrawOff_ = false;  // drawing stopped for a bulk update
    // Told before there was a window; given to it when it is made.
    unsigned extendedStyle_ = 0;
    bool extendedStyleSet_ = false;
    std::vector<std::pair<int, std::wstring>> headers_;
    // Before an item changes: stops drawing inside a bulk update.
    void Changing();
    int sortKey_ = 0;
    bool sorted_ = false;
    int updating_ = 0;
};

}  // namespace win32
