#pragma once
// The control toolkit as the window's logic sees it: controls made from a layout table,
// with the properties the logic reads and writes. platform/win32/ui/ makes real
// controls; tests/fakes/fake_ui.h makes recording ones.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ui {

enum class Kind { Label, Button, Frame, Page, TabStrip, ListView, ProgressBar, Timer };

// Look bits of a control as laid out.
enum Look : unsigned {
    kPlain = 0,
    kLink = 1u << 0,       // pure blue text and the hand cursor
    kAutoWidth = 1u << 1,  // width follows the caption
    kBold = 1u << 2,
    kUnderline = 1u << 3,
    kHidden = 1u << 4,
};

// Left, top, width, height in twips, relative to the container.
struct Place {
    int left = 0, top = 0, width = 0, height = 0;
};

struct ControlSpec {
    int id;                  // control id, also what GetDlgCtrlID answers
    const char* name;        // the control's name in the window's code
    Kind kind;
    int container;           // id of the page or frame it sits in; 0 for the window
    Place place;
    const wchar_t* caption;  // caption as laid out; tab strips: "caption|key;caption|key"
    unsigned look = kPlain;
    int tabOrder = -1;       // position in the keyboard tab order; -1 takes no focus
    int interval = 0;        // timers: milliseconds
};

// A tab strip's or list view's caption as laid out, "a|b;c|d", as rows of fields.
std::vector<std::vector<std::wstring>> CaptionRows(const std::wstring& text);

// What a list view's items are compared by when it sorts: the column's text, letters
// compared without regard to case, character by character.
int CompareItemText(const std::wstring& a, const std::wstring& b);

// A picture loaded from the resources (an icon); released when the last holder lets go.
class Picture {
public:
    virtual ~Picture() = default;
};

// What every control has. A kind with operations of its own (a list view, a tab strip, a
// progress bar, a button, a timer) adds them in an interface of its own below, which the form
// hands out for an id of that kind only: asking a label for a list's rows does not compile.
class Control {
public:
    virtual ~Control() = default;
    virtual int Id() const = 0;
    virtual Kind GetKind() const = 0;

    virtual std::wstring Caption() const = 0;
    virtual void SetCaption(const std::wstring& text) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual std::wstring FontName() const = 0;
    // False when the control has no font or refuses the face.
    virtual bool SetFontName(const std::wstring& face) = 0;
    virtual bool FontUnderline() const = 0;
    virtual void SetFontUnderline(bool on) = 0;
    virtual void BringToFront() = 0;
    virtual void SetFocus() = 0;
};

// The ids of the kinds with interfaces of their own: the window's code names such a control
// by a constant of its kind's id type, which converts to a plain id but not to another kind's.
enum TabStripId : int {};
enum ListViewId : int {};
enum ProgressBarId : int {};
enum ButtonId : int {};
enum TimerId : int {};

class Timer {
public:
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool on) = 0;

protected:
    ~Timer() = default;
};

class ProgressBar {
public:
    virtual void SetProgressMax(int max) = 0;
    virtual void SetProgressValue(int value) = 0;

protected:
    ~ProgressBar() = default;
};

class Button {
public:
    // An icon at the left, margins in pixels.
    virtual void SetButtonIcon(const Picture& picture, int marginLeft, int marginTop) = 0;

protected:
    ~Button() = default;
};

// Tabs are counted from 1.
class TabStrip {
public:
    virtual int TabCount() const = 0;
    virtual std::wstring TabCaption(int index) const = 0;
    virtual void SetTabCaption(int index, const std::wstring& text) = 0;
    virtual void RemoveTab(int index) = 0;
    virtual int SelectedTab() const = 0;
    // The index (from 0) of the tab that has the focus: TCM_GETCURFOCUS.
    virtual int FocusedTab() const = 0;
    virtual void SelectTab(int index) = 0;

protected:
    ~TabStrip() = default;
};

// In report view; columns counted from 1, items and sub-items from 0.
class ListView {
public:
    virtual unsigned ExtendedStyle() const = 0;
    virtual void SetExtendedStyle(unsigned style) = 0;
    virtual int ColumnCount() const = 0;
    virtual std::wstring ColumnCaption(int column) const = 0;
    virtual void SetColumnCaption(int column, const std::wstring& text) = 0;
    virtual void ClearItems() = 0;
    virtual void AddItem(const std::wstring& key, const std::wstring& text) = 0;
    // Sets a sub-item of the item added last; 1 is the second column.
    virtual void SetLastItemSubItem(int sub, const std::wstring& text) = 0;
    virtual int ItemCount() const = 0;
    virtual bool ItemSelected(int item) const = 0;
    virtual void SelectAllItems() = 0;
    virtual std::wstring ItemText(int item, int column) const = 0;
    virtual int SortKey() const = 0;
    virtual void SetSortKey(int key) = 0;
    virtual bool Sorted() const = 0;
    virtual void SetSorted(bool on) = 0;
    // Bulk fills: drawing is held back and a sorted view is ordered once at the end.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

protected:
    ~ListView() = default;
};

// ContextMenu, Copy (Ctrl+C) and SelectAll (Ctrl+A) come from list views; SystemMenu from an
// item added to the window's system menu, its command in place of the column.
enum class Event { Click, MouseDown, MouseMove, Timer, ColumnClick, ContextMenu, Copy, SelectAll, SystemMenu };
enum class Pointer { Default, Hourglass };

// The window's handlers, reached by control id and event.
class EventSink {
public:
    virtual ~EventSink() = default;
    // column: the clicked column (from 0) for ColumnClick, else 0.
    virtual void OnEvent(int controlId, Event event, int column) = 0;
    // Esc, the cancel key.
    virtual void OnCancel() = 0;
};

class Form {
public:
    virtual ~Form() = default;
    virtual Control& operator[](int id) = 0;
    // The operations of a kind's own, for an id of that kind.
    virtual TabStrip& TabsOf(TabStripId id) = 0;
    virtual ListView& ListOf(ListViewId id) = 0;
    virtual ProgressBar& BarOf(ProgressBarId id) = 0;
    virtual Button& ButtonOf(ButtonId id) = 0;
    virtual Timer& TimerOf(TimerId id) = 0;
    virtual std::vector<Control*> Controls() = 0;

    virtual std::wstring Caption() const = 0;
    virtual void SetCaption(const std::wstring& text) = 0;
    virtual void SetPointer(Pointer pointer) = 0;
    // Modal, OK only, no icon.
    virtual void ShowMessage(const std::wstring& text, const std::wstring& title) = 0;
    // Modal, OK only, the warning icon.
    virtual void ShowWarning(const std::wstring& text, const std::wstring& title) = 0;
    // Paints what is waiting to be painted, now.
    virtual void Refresh() = 0;
    // True once closing was asked for while a handler runs: the window goes when it returns.
    virtual bool UnloadPending() const = 0;
    // Lets the messages waiting in the queue run, once.
    virtual void DoEvents() = 0;
    // Closes the window; the program ends when its handlers have returned.
    virtual void Unload() = 0;
    // An icon resource by name, or nothing when it cannot be loaded.
    virtual std::unique_ptr<Picture> LoadIconResource(const wchar_t* name) = 0;
    virtual void InitCommonControls() = 0;
    // A menu at the mouse pointer; the index of the item chosen, -1 for none.
    virtual int PopupMenu(const std::vector<std::wstring>& items) = 0;
    // An item at the end of the window's system menu (Alt+Space), raising SystemMenu.
    virtual void AddSystemMenuItem(int command, const std::wstring& text) = 0;
    // Plain text on the clipboard; false when the clipboard cannot be had.
    virtual bool SetClipboardText(const std::wstring& text) = 0;
};

}  // namespace ui
