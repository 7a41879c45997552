#pragma once
// The control toolkit over real HWNDs: one window made from a layout table, its controls,
// and the message loop that routes their messages to the window's handlers.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "platform/ui.h"

namespace win32 {

class Form : public ui::Form {
public:
    // The layout must outlive the form. handCursor: resource id of the link cursor.
    Form(HINSTANCE instance, std::span<const ui::ControlSpec> layout, int iconId, int handCursorId);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Makes the window (hidden) and every control of the layout; false when the window
    // cannot be made (no display, no resources).
    bool Create(ui::EventSink& sink, int clientWidthTwips, int clientHeightTwips);
    // Centred on the screen; the first control of the tab order takes the focus.
    void Show();
    // The message loop; returns when the window is gone.
    int Run();

    ui::Control& operator[](int id) override;
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

    class Ctl;  // one control, any kind

private:
    friend class Ctl;
    static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM, bool* handled);
    bool PreTranslate(MSG& msg);
    void MoveFocus(bool backwards);
    void Raise(int id, ui::Event event, int column = 0);
    // Runs one handler; closing asked for meanwhile happens when the outermost one is done.
    void RunHandler(const std::function<void()>& handler);
    void Pump(bool untilEmpty);
    Ctl* FromHwnd(HWND hwnd) const;
    int Pixels(int twips, bool vertical) const;

    HINSTANCE instance_;
    std::span<const ui::ControlSpec> layout_;
    int iconId_, handCursorId_;
    HWND hwnd_ = nullptr;
    ui::EventSink* sink_ = nullptr;
    std::vector<std::unique_ptr<Ctl>> controls_;
    std::map<int, Ctl*> byId_;
    int dpiX_ = 96, dpiY_ = 96;
    HCURSOR handCursor_ = nullptr;
    ui::Pointer pointer_ = ui::Pointer::Default;
    int handlerDepth_ = 0;
    bool closePending_ = false;
    bool quitSeen_ = false;
};

}  // namespace win32
