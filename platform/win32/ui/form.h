#pragma once
// The toolkit over real HWNDs: one window made from a layout table, its controls (one class
// per kind, beside this file), the routing of their messages back to them, the message loop
// with the window's keyboard rules, and message boxes.
#include <windows.h>

#include <exception>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/ui/control.h"

namespace win32 {

// Ascending by key, equal keys kept in their order. By insertion: the lists hold a few
// dozen controls, and std::stable_sort's merge code is a few kilobytes of the exe.
template <typename Key>
void SortStable(std::vector<Control*>& list, Key key) {
    for (std::size_t i = 1; i < list.size(); ++i)
        for (std::size_t j = i; j > 0 && key(list[j]) < key(list[j - 1]); --j) std::swap(list[j], list[j - 1]);
}

class Form : public ui::Form, private ControlHost {
public:
    // The layout must outlive the form. handCursor: resource id of the link cursor.
    Form(HINSTANCE instance, std::span<const ui::ControlSpec> layout, int iconId, int handCursorId);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Makes the window (hidden) and every control of the layout; false when the window
    // cannot be made (no display, no resources).
    bool Create(ui::EventSink& sink, int clientWidthTwips, int clientHeightTwips);
    // For a window that is never shown (the command line's runs): a page's controls keep what
    // they are told and get no windows, which no one would see and each cost Wine round trips.
    void NeverShow() { neverShown_ = true; }
    // Centred on the screen; the first control of the tab order takes the focus.
    void Show();
    // The message loop; returns when the window is gone.
    int Run();

    ui::Control& operator[](int id) override;
    ui::TabStrip& TabsOf(ui::TabStripId id) override;
    ui::ListView& ListOf(ui::ListViewId id) override;
    ui::ProgressBar& BarOf(ui::ProgressBarId id) override;
    ui::Button& ButtonOf(ui::ButtonId id) override;
    ui::Timer& TimerOf(ui::TimerId id) override;
    std::vector<ui::Control*> Controls() override;
    std::wstring Caption() const override;
    void SetCaption(const std::wstring& text) override;
    void SetPointer(ui::Pointer pointer) override;
    void ShowMessage(const std::wstring& text, const std::wstring& title) override;
    void DoEvents() override;
    void Unload() override;
    std::unique_ptr<ui::Picture> LoadIconResource(const wchar_t* name) override;
    void InitCommonControls() override;
    void ShowWarning(const std::wstring& text, const std::wstring& title) override;
    void Refresh() override;
    bool UnloadPending() const override;
    int PopupMenu(const std::vector<std::wstring>& items) override;
    void AddSystemMenuItem(int command, const std::wstring& text) override;
    bool SetClipboardText(const std::wstring& text) override;

private:
    // ControlHost
    HINSTANCE Instance() const override { return instance_; }
    HWND Window() const override { return hwnd_; }
    int Dpi(bool vertical) const override { return vertical ? dpiY_ : dpiX_; }
    HCURSOR HandCursor() const override { return handCursor_; }
    void Raise(int id, ui::Event event, int column) override;
    bool Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    HFONT SharedFont(const LOGFONTW& look) override;
    bool LookApplied() const override { return lookApplied_; }
    void Arrange(const Control& changed) override;

    static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
    void MakeControls();
    void MakeWindow(Control& control);
    int PageOf(const ui::ControlSpec& design) const;
    void RealizePage(int pageId) override;
    void Stack(const std::vector<Control*>& made);
    // A modal box over the window; flags: MB_OK with an icon or none.
    int ShowBox(const std::wstring& text, const std::wstring& title, UINT flags);

    // The message loop and handlers (message_loop.cpp).
    void Pump(bool untilEmpty);
    // Runs one handler; closing asked for meanwhile happens when the outermost one is done.
    template <typename Handler>
    void RunHandler(Handler&& handler) {
        ++handlerDepth_;
        try {
            handler();
        } catch (const std::exception& e) {
            ShowException(e);  // never unwound through the system's window procedures
        }
        EndHandler();
    }
    void ShowException(const std::exception& e);
    void EndHandler();
    void Close();

    // Keys that belong to the window (keyboard.cpp).
    bool PreTranslate(MSG& msg);
    void MoveFocus(bool backwards);
    std::vector<Control*> TabOrder(bool enabledOnly) const;

    int Pixels(int twips, bool vertical) const { return MulDiv(twips, Dpi(vertical), 1440); }

    HINSTANCE instance_;
    std::span<const ui::ControlSpec> layout_;
    int iconId_, handCursorId_;
    HWND hwnd_ = nullptr;
    ui::EventSink* sink_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::pair<int, Control*>> byId_;  // sorted by id
    Control* Find(int id) const;
    // The control of an id, which must be of this kind.
    Control& At(int id, ui::Kind kind) const;
    int dpiX_ = 96, dpiY_ = 96;
    HCURSOR handCursor_ = nullptr;
    ui::Pointer pointer_ = ui::Pointer::Default;
    int handlerDepth_ = 0;
    bool closePending_ = false;
    bool quitSeen_ = false;
    std::vector<int> systemCommands_;  // our items of the system menu
    HWND focusBeforeLeaving_ = nullptr;
    std::vector<std::pair<LOGFONTW, HFONT>> fonts_;  // one per look, freed with the form
    bool lookApplied_ = false;
    bool arranging_ = false;
    bool neverShown_ = false;
};

}  // namespace win32
