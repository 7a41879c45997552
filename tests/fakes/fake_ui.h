#pragma once
// Recording controls made from the same layout table as the real ones, so the window's
// logic runs on Linux and tests read back what it set.
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace fakes {

struct FakeItem {
    std::wstring key;
    std::vector<std::wstring> texts;  // column 0, then the sub-items
    bool selected = false;
};

class FakeControl : public ui::Control {
public:
    explicit FakeControl(const ui::ControlSpec& design);

    const ui::ControlSpec& design;
    std::wstring caption;
    bool visible;
    std::wstring fontName = L"MS Sans Serif";
    bool underline;
    bool refusesFont = false;  // a control that will not take another face
    bool enabled = false;
    int progressMax = 100, progressValue = 0;
    int buttonIconMargins[2] = {-1, -1};  // set when an icon is put on the button
    std::vector<std::wstring> tabCaptions, tabKeys;
    int selectedTab = 1, focusedTab = 0;  // what the tab strip holds: from 1, from 0
    unsigned extendedStyle = 0;
    std::vector<std::wstring> columns;
    std::vector<FakeItem> items;
    int sortKey = 0;
    bool sorted = false;
    int timesCleared = 0;

    int Id() const override { return design.id; }
    ui::Kind GetKind() const override { return design.kind; }
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    bool Visible() const override { return visible; }
    void SetVisible(bool on) override { visible = on; }
    std::wstring FontName() const override { return design.kind == ui::Kind::Timer ? L"" : fontName; }
    bool SetFontName(const std::wstring& face) override;
    bool FontUnderline() const override { return underline; }
    void SetFontUnderline(bool on) override { underline = on; }
    void BringToFront() override;
    void SetFocus() override;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool on) override { enabled = on; }
    void SetProgressMax(int max) override { progressMax = max; }
    void SetProgressValue(int value) override { progressValue = value; }
    void SetButtonIcon(const ui::Picture&, int marginLeft, int marginTop) override {
        buttonIconMargins[0] = marginLeft;
        buttonIconMargins[1] = marginTop;
    }
    int TabCount() const override { return static_cast<int>(tabCaptions.size()); }
    std::wstring TabCaption(int index) const override { return tabCaptions.at(static_cast<std::size_t>(index - 1)); }
    void SetTabCaption(int index, const std::wstring& text) override {
        tabCaptions.at(static_cast<std::size_t>(index - 1)) = text;
    }
    std::wstring TabKey(int index) const override { return tabKeys.at(static_cast<std::size_t>(index - 1)); }
    void RemoveTab(int index) override;
    int SelectedTab() const override { return selectedTab; }
    int FocusedTab() const override { return focusedTab; }
    void SelectTab(int index) override {
        selectedTab = index;
        focusedTab = index - 1;
    }
    unsigned ExtendedStyle() const override { return extendedStyle; }
    void SetExtendedStyle(unsigned style) override { extendedStyle = style; }
    int ColumnCount() const override { return static_cast<int>(columns.size()); }
    std::wstring ColumnCaption(int column) const override { return columns.at(static_cast<std::size_t>(column - 1)); }
    void SetColumnCaption(int column, const std::wstring& text) override {
        columns.at(static_cast<std::size_t>(column - 1)) = text;
    }
    void ClearItems() override {
        items.clear();
        ++timesCleared;
    }
    void AddItem(const std::wstring& key, const std::wstring& text) override;
    void SetLastItemSubItem(int sub, const std::wstring& text) override;
    int ItemCount() const override { return static_cast<int>(items.size()); }
    bool ItemSelected(int item) const override { return items.at(static_cast<std::size_t>(item)).selected; }
    void SelectAllItems() override {
        for (auto& item : items) item.selected = true;
    }
    std::wstring ItemText(int item, int column) const override;
    int SortKey() const override { return sortKey; }
    void SetSortKey(int key) override { sortKey = key; Sort(); }
    bool Sorted() const override { return sorted; }
    void SetSorted(bool on) override { sorted = on; Sort(); }
    void EndUpdate() override { Sort(); }

    // Set by the form: z-order (higher is nearer the front) and who has the focus.
    int* zCounter = nullptr;
    int z = 0;
    int* focusOwner = nullptr;

private:
    void Sort();
};

class FakePicture : public ui::Picture {};

class FakeForm : public ui::Form {
public:
    explicit FakeForm(std::span<const ui::ControlSpec> layout);

    FakeControl& operator[](int id) override { return *byId.at(id); }
    std::vector<ui::Control*> Controls() override;
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    void SetPointer(ui::Pointer p) override { pointer = p; }
    void ShowMessage(const std::wstring& text, const std::wstring& title) override {
        messages.push_back({text, title});
        if (onMessage) onMessage();
    }
    void ShowWarning(const std::wstring& text, const std::wstring& title) override {
        warnings.push_back({text, title});
    }
    void Refresh() override { ++refreshCalls; }
    bool UnloadPending() const override { return unloaded; }
    void DoEvents() override { ++doEventsCalls; if (onDoEvents) onDoEvents(); }
    void Unload() override { unloaded = true; }
    std::unique_ptr<ui::Picture> LoadIconResource(const wchar_t* name) override {
        iconsLoaded.push_back(name);
        return std::make_unique<FakePicture>();
    }
    void InitCommonControls() override { ++initCommonControlsCalls; }
    int PopupMenu(const std::vector<std::wstring>& items) override {
        menus.push_back(items);
        return menuChoice;
    }
    void AddSystemMenuItem(int command, const std::wstring& text) override { systemMenu.push_back({command, text}); }
    bool SetClipboardText(const std::wstring& text) override {
        if (clipboardFails) return false;
        clipboard = text;
        return true;
    }

    std::vector<std::unique_ptr<FakeControl>> controls;
    std::map<int, FakeControl*> byId;
    std::wstring caption;
    ui::Pointer pointer = ui::Pointer::Default;
    struct Message { std::wstring text, title; };
    std::vector<Message> messages, warnings;
    int refreshCalls = 0;
    std::function<void()> onMessage, onDoEvents;
    int doEventsCalls = 0;
    bool unloaded = false;
    std::vector<std::wstring> iconsLoaded;
    int initCommonControlsCalls = 0;
    std::vector<std::vector<std::wstring>> menus;
    int menuChoice = -1;
    std::vector<std::pair<int, std::wstring>> systemMenu;
    std::wstring clipboard;
    bool clipboardFails = false;
    int zCounter = 0;
    int focus = 0;  // id of the control with the focus
};

}  // namespace fakes
