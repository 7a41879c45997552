#pragma once
// Recording controls made from the same layout table as the real ones, so the window's
// logic runs on Linux and tests read back what it set.
#include <algorithm>
#include <deque>
#include <functional>
#include <map>

#include "platform/ui.h"

namespace fakes {

class FakeControl : public ui::Control {
public:
    FakeControl(const ui::ControlSpec& s, int& zCounter, int& focus)
        : design(s), caption(s.caption), visible(!(s.look & ui::kHidden)), underline(s.look & ui::kUnderline),
          z_(zCounter), focus_(focus) {
        const bool list = s.kind == ui::Kind::ListView;  // the caption holds its columns, a tab strip's its tabs
        if (list || s.kind == ui::Kind::TabStrip)
            for (const auto& row : ui::CaptionRows(s.caption)) (list ? columns : tabs).push_back(row.at(list));
    }
    const ui::ControlSpec& design;
    std::wstring caption, fontName = L"MS Sans Serif";
    bool visible, underline, refusesFont = false, enabled = false, sorted = false;
    std::pair<int, int> icon{-1, -1};  // the margins, once an icon is put on the button
    int progressMax = 0, progressValue = 0, selectedTab = 1, focusedTab = 0, sortKey = 0, z = 0;
    unsigned extendedStyle = 0;
    std::vector<std::wstring> tabs, columns;
    std::vector<std::vector<std::wstring>> items;  // each row's texts, column 0 first
    std::vector<int> selected;

    int Id() const override { return design.id; }
    ui::Kind GetKind() const override { return design.kind; }
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    bool Visible() const override { return visible; }
    void SetVisible(bool on) override { visible = on; }
    std::wstring FontName() const override { return fontName; }
    bool SetFontName(const std::wstring& face) override {
        if (!refusesFont) fontName = face;
        return !refusesFont;
    }
    bool FontUnderline() const override { return underline; }
    void SetFontUnderline(bool on) override { underline = on; }
    void BringToFront() override { z = ++z_; }
    void SetFocus() override { focus_ = design.id; }
    void SetEnabled(bool on) override { enabled = on; }
    void SetProgressMax(int max) override { progressMax = max; }
    void SetProgressValue(int value) override { progressValue = value; }
    void SetButtonIcon(const ui::Picture&, int left, int top) override { icon = {left, top}; }
    int TabCount() const override { return static_cast<int>(tabs.size()); }
    std::wstring TabCaption(int i) const override { return tabs.at(i - 1); }
    void SetTabCaption(int i, const std::wstring& text) override { tabs.at(i - 1) = text; }
    void RemoveTab(int i) override { tabs.erase(tabs.begin() + (i - 1)); }
    int SelectedTab() const override { return selectedTab; }
    int FocusedTab() const override { return focusedTab; }
    void SelectTab(int i) override {
        selectedTab = i;
        focusedTab = i - 1;
    }
    unsigned ExtendedStyle() const override { return extendedStyle; }
    void SetExtendedStyle(unsigned style) override { extendedStyle = style; }
    int ColumnCount() const override { return static_cast<int>(columns.size()); }
    std::wstring ColumnCaption(int c) const override { return columns.at(c - 1); }
    void SetColumnCaption(int c, const std::wstring& text) override { columns.at(c - 1) = text; }
    void ClearItems() override { items.clear(); }
    void AddItem(const std::wstring&, const std::wstring& text) override { items.push_back({text}); }
    void SetLastItemSubItem(int sub, const std::wstring& text) override {
        items.back().resize(std::max<std::size_t>(items.back().size(), sub + 1));
        items.back()[sub] = text;
    }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    bool ItemSelected(int item) const override { return std::count(selected.begin(), selected.end(), item) > 0; }
    void SelectAllItems() override {
        selected.clear();
        for (int i = 0; i < ItemCount(); ++i) selected.push_back(i);
    }
    std::wstring ItemText(int item, int column) const override { return items.at(item).at(column); }
    // As the real list view: ordered at once, and after a bulk fill.
    int SortKey() const override { return sortKey; }
    void SetSortKey(int key) override {
        sortKey = key;
        Sort();
    }
    bool Sorted() const override { return sorted; }
    void SetSorted(bool on) override {
        sorted = on;
        Sort();
    }
    void EndUpdate() override { Sort(); }

private:
    void Sort() {
        const int k = sortKey;
        const auto before = [k](const auto& a, const auto& b) { return ui::CompareItemText(a[k], b[k]) < 0; };
        if (sorted) std::stable_sort(items.begin(), items.end(), before);
    }
    int& z_;  // the form's: higher is nearer the front
    int& focus_;
};

class FakeForm : public ui::Form {
public:
    explicit FakeForm(std::span<const ui::ControlSpec> layout) {
        for (const auto& s : layout) all.push_back(byId[s.id] = &controls.emplace_back(s, z, focus));
    }
    FakeControl& operator[](int id) override { return *byId.at(id); }
    std::vector<ui::Control*> Controls() override { return all; }
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    void SetPointer(ui::Pointer p) override { pointer = p; }
    void ShowMessage(const std::wstring& text, const std::wstring& title) override {
        messages.push_back(text + L"|" + title);
    }
    void ShowWarning(const std::wstring& text, const std::wstring& title) override {
        warnings.push_back(text + L"|" + title);
    }
    void Refresh() override { ++refreshes; }
    bool UnloadPending() const override { return unloaded; }
    void DoEvents() override { if (onDoEvents) onDoEvents(); }
    void Unload() override { unloaded = true; }
    std::unique_ptr<ui::Picture> LoadIconResource(const wchar_t*) override { return std::make_unique<ui::Picture>(); }
    void InitCommonControls() override {}
    int PopupMenu(const std::vector<std::wstring>&) override { return menuChoice; }
    void AddSystemMenuItem(int command, const std::wstring& text) override { systemMenu.push_back({command, text}); }
    bool SetClipboardText(const std::wstring& text) override {
        if (!clipboardFails) clipboard = text;
        return !clipboardFails;
    }

    std::deque<FakeControl> controls;
    std::map<int, FakeControl*> byId;
    std::vector<ui::Control*> all;
    std::wstring caption, clipboard;
    std::vector<std::wstring> messages, warnings;  // "text|title"
    std::function<void()> onDoEvents;  // runs a test's step inside a command's message processing
    ui::Pointer pointer = ui::Pointer::Default;
    std::vector<std::pair<int, std::wstring>> systemMenu;
    int refreshes = 0, menuChoice = -1, z = 0, focus = 0;  // focus: id of the control that has it
    bool clipboardFails = false, unloaded = false;
};

}  // namespace fakes
