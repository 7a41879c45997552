#pragma once
// Recording controls made from the same layout table as the real ones, so the window's
// logic runs on Linux and tests read back what it set.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace fakes {

class FakeControl : public ui::Control {
public:
    explicit FakeControl(const ui::ControlSpec& design);

    const ui::ControlSpec& design;
    std::wstring caption, fontName = L"MS Sans Serif";
    bool visible, underline = false, refusesFont = false, enabled = false;
    int iconMargins[2] = {-1, -1};  // set when an icon is put on the button
    int progressMax = 100, progressValue = 0;
    std::vector<std::wstring> tabCaptions, columns;
    int selectedTab = 1, focusedTab = 0;  // from 1 and from 0, as the tab strip counts them
    unsigned extendedStyle = 0;
    std::vector<std::vector<std::wstring>> items;  // each row's texts, column 0 first
    std::vector<int> selected;                      // selected rows
    int sortKey = 0, timesCleared = 0;
    bool sorted = false;
    int z = 0;                     // higher is nearer the front
    int* zCounter = nullptr;       // set by the form
    int* focusOwner = nullptr;

    int Id() const override { return design.id; }
    ui::Kind GetKind() const override { return design.kind; }
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    bool Visible() const override { return visible; }
    void SetVisible(bool on) override { visible = on; }
    std::wstring FontName() const override { return fontName; }
    bool SetFontName(const std::wstring& face) override {
        if (design.kind == ui::Kind::Timer || refusesFont) return false;
        return fontName = face, true;
    }
    bool FontUnderline() const override { return underline; }
    void SetFontUnderline(bool on) override { underline = on; }
    void BringToFront() override { z = ++*zCounter; }
    void SetFocus() override { *focusOwner = design.id; }
    void SetProgressMax(int max) override { progressMax = max; }
    void SetProgressValue(int value) override { progressValue = value; }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool on) override { enabled = on; }
    void SetButtonIcon(const ui::Picture&, int left, int top) override { iconMargins[0] = left, iconMargins[1] = top; }
    int TabCount() const override { return static_cast<int>(tabCaptions.size()); }
    std::wstring TabCaption(int i) const override { return tabCaptions.at(static_cast<std::size_t>(i - 1)); }
    void SetTabCaption(int i, const std::wstring& text) override { tabCaptions.at(static_cast<std::size_t>(i - 1)) = text; }
    void RemoveTab(int i) override {  // as the real strip: a tab that is not there is ignored
        if (i < 1 || i > TabCount()) return;
        tabCaptions.erase(tabCaptions.begin() + (i - 1));
    }
    int SelectedTab() const override { return selectedTab; }
    int FocusedTab() const override { return focusedTab; }
    void SelectTab(int i) override { selectedTab = i, focusedTab = i - 1; }
    unsigned ExtendedStyle() const override { return extendedStyle; }
    void SetExtendedStyle(unsigned style) override { extendedStyle = style; }
    void SetColumnCaption(int c, const std::wstring& text) override { columns.at(static_cast<std::size_t>(c - 1)) = text; }
    void ClearItems() override { items.clear(), ++timesCleared; }
    void AddItem(const std::wstring&, const std::wstring& text) override { items.push_back({text}); }
    void SetLastItemSubItem(int sub, const std::wstring& text) override {
        items.back().resize(std::max<std::size_t>(items.back().size(), static_cast<std::size_t>(sub) + 1));
        items.back()[static_cast<std::size_t>(sub)] = text;
    }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    int ColumnCount() const override { return static_cast<int>(columns.size()); }
    std::wstring ColumnCaption(int c) const override { return columns.at(static_cast<std::size_t>(c - 1)); }
    bool ItemSelected(int item) const override {
        return std::find(selected.begin(), selected.end(), item) != selected.end();
    }
    void SelectAllItems() override {
        selected.clear();
        for (int i = 0; i < ItemCount(); ++i) selected.push_back(i);
    }
    std::wstring ItemText(int item, int column) const override {
        const auto& row = items.at(static_cast<std::size_t>(item));
        return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : L"";
    }
    void SetSortKey(int key) override { sortKey = key, Sort(); }
    void SetSorted(bool on) override { sorted = on, Sort(); }
    void EndUpdate() override { Sort(); }

private:
    void Sort();
};

class FakeForm : public ui::Form {
public:
    explicit FakeForm(std::span<const ui::ControlSpec> layout);

    FakeControl& operator[](int id) override { return *byId.at(id); }
    std::vector<ui::Control*> Controls() override;
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    void SetPointer(ui::Pointer p) override { pointer = p; }
    void ShowMessage(const std::wstring& text, const std::wstring& title) override {
        messages.push_back(text + L"|" + title);
        if (onMessage) onMessage();
    }
    void ShowWarning(const std::wstring& text, const std::wstring& title) override {
        warnings.push_back(text + L"|" + title);
    }
    void Refresh() override { ++refreshes; }
    bool UnloadPending() const override { return unloaded; }
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
    }
    int PopupMenu(const std::vector<std::wstring>& items) override { return menus.push_back(items), menuChoice; }
    void AddSystemMenuItem(int command, const std::wstring& text) override { systemMenu.push_back({command, text}); }
    bool SetClipboardText(const std::wstring& text) override { return !clipboardFails && (clipboard = text, true); }
    void Unload() override { unloaded = true; }
    std::unique_ptr<ui::Picture> LoadIconResource(const wchar_t*) override { return std::make_unique<ui::Picture>(); }
    void InitCommonControls() override {}

    std::vector<std::unique_ptr<FakeControl>> controls;
    std::map<int, FakeControl*> byId;
    std::wstring caption;
    std::vector<std::wstring> messages, warnings;  // "text|title"
    std::function<void()> onMessage, onDoEvents;
    ui::Pointer pointer = ui::Pointer::Default;
    int refreshes = 0;
    std::vector<std::vector<std::wstring>> menus;
    int menuChoice = -1;
    std::vector<std::pair<int, std::wstring>> systemMenu;
    std::wstring clipboard;
    bool clipboardFails = false;
    bool unloaded = false;
    int zCounter = 0;
    int focus = 0;  // id of the control with the focus
};

}  // namespace fakes
