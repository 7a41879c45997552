#pragma once
// Recording controls made from the same layout table as the real ones, so the window's
// logic runs on Linux and tests read back what it set.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/ui.h"

namespace fakes {

// What every kind records: caption, visibility, font, z-order and focus.
class FakeControl : public ui::Control {
public:
    FakeControl(const ui::ControlSpec& s, int& zCounter, int& focus)
        : design(s), caption(s.caption), visible(!(s.look & ui::kHidden)), underline(s.look & ui::kUnderline),
          z_(zCounter), focus_(focus) {}
    const ui::ControlSpec& design;
    std::wstring caption;
    std::wstring fontName = L"MS Sans Serif";
    bool visible;
    bool underline;
    bool refusesFont = false;
    int z = 0;

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

private:
    int& z_;  // the form's: higher is nearer the front
    int& focus_;
};

class FakeTimer : public FakeControl, public ui::Timer {
public:
    using FakeControl::FakeControl;
    bool enabled = false;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool on) override { enabled = on; }
};

class FakeProgressBar : public FakeControl, public ui::ProgressBar {
public:
    using FakeControl::FakeControl;
    int progressMax = 0;
    int progressValue = 0;
    void SetProgressMax(int max) override { progressMax = max; }
    void SetProgressValue(int value) override { progressValue = value; }
};

class FakeButton : public FakeControl, public ui::Button {
public:
    using FakeControl::FakeControl;
    std::pair<int, int> icon{-1, -1};  // the margins, once an icon is put on the button
    void SetButtonIcon(const ui::Picture&, int left, int top) override { icon = {left, top}; }
};

class FakeTabStrip : public FakeControl, public ui::TabStrip {
public:
    FakeTabStrip(const ui::ControlSpec& s, int& zCounter, int& focus) : FakeControl(s, zCounter, focus) {
        for (const auto& row : ui::CaptionRows(s.caption)) tabs.push_back(row.at(0));  // its caption holds its tabs
    }
    std::vector<std::wstring> tabs;
    int selectedTab = 1;
    int focusedTab = 0;
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
};

class FakeListView : public FakeControl, public ui::ListView {
public:
    FakeListView(const ui::ControlSpec& s, int& zCounter, int& focus) : FakeControl(s, zCounter, focus) {
        // Its caption holds its columns.
        for (const auto& row : ui::CaptionRows(s.caption)) columns.push_back(row.at(1));
    }
    std::vector<std::wstring> columns;
    std::vector<std::vector<std::wstring>> items;  // each row's texts, column 0 first
    std::vector<int> selected;
    unsigned extendedStyle = 0;
    bool sorted = false;
    int sortKey = 0;
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
    void BeginUpdate() override {}
    void EndUpdate() override { Sort(); }

private:
    void Sort() {
        const int k = sortKey;
        const auto before = [k](const auto& a, const auto& b) { return ui::CompareItemText(a[k], b[k]) < 0; };
        if (sorted) std::stable_sort(items.begin(), items.end(), before);
    }
};

class FakeForm : public ui::Form {
public:
    explicit FakeForm(std::span<const ui::ControlSpec> layout) {
        for (const auto& s : layout) all.push_back(byId[s.id] = controls.emplace_back(Make(s)).get());
    }
    FakeControl& operator[](int id) override { return *byId.at(id); }
    // A kind's fake by an id of its kind, also through []: what a test reads back of it.
    FakeTabStrip& TabsOf(ui::TabStripId id) override { return Of<FakeTabStrip>(id, ui::Kind::TabStrip); }
    FakeListView& ListOf(ui::ListViewId id) override { return Of<FakeListView>(id, ui::Kind::ListView); }
    FakeProgressBar& BarOf(ui::ProgressBarId id) override { return Of<FakeProgressBar>(id, ui::Kind::ProgressBar); }
    FakeButton& ButtonOf(ui::ButtonId id) override { return Of<FakeButton>(id, ui::Kind::Button); }
    FakeTimer& TimerOf(ui::TimerId id) override { return Of<FakeTimer>(id, ui::Kind::Timer); }
    FakeTabStrip& operator[](ui::TabStripId id) { return TabsOf(id); }
    FakeListView& operator[](ui::ListViewId id) { return ListOf(id); }
    FakeProgressBar& operator[](ui::ProgressBarId id) { return BarOf(id); }
    FakeButton& operator[](ui::ButtonId id) { return ButtonOf(id); }
    FakeTimer& operator[](ui::TimerId id) { return TimerOf(id); }
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

    std::vector<std::unique_ptr<FakeControl>> controls;
    std::map<int, FakeControl*> byId;
    std::vector<ui::Control*> all;
    std::wstring caption, clipboard;
    std::vector<std::wstring> messages, warnings;  // "text|title"
    std::function<void()> onDoEvents;  // runs a test's step inside a command's message processing
    ui::Pointer pointer = ui::Pointer::Default;
    std::vector<std::pair<int, std::wstring>> systemMenu;
    int refreshes = 0, menuChoice = -1, z = 0, focus = 0;  // focus: id of the control that has it
    bool clipboardFails = false, unloaded = false;

private:
    std::unique_ptr<FakeControl> Make(const ui::ControlSpec& s) {
        switch (s.kind) {
            case ui::Kind::TabStrip: return std::make_unique<FakeTabStrip>(s, z, focus);
            case ui::Kind::ListView: return std::make_unique<FakeListView>(s, z, focus);
            case ui::Kind::ProgressBar: return std::make_unique<FakeProgressBar>(s, z, focus);
            case ui::Kind::Button: return std::make_unique<FakeButton>(s, z, focus);
            case ui::Kind::Timer: return std::make_unique<FakeTimer>(s, z, focus);
            default: return std::make_unique<FakeControl>(s, z, focus);
        }
    }
    // The window's code asked a control for another kind's operations.
    template <typename Fake>
    Fake& Of(int id, ui::Kind kind) {
        FakeControl& c = *byId.at(id);
        if (c.design.kind != kind) throw std::logic_error("control " + std::to_string(id) + " is of another kind");
        return static_cast<Fake&>(c);
    }
};

}  // namespace fakes
