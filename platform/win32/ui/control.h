#pragma once
// What every control of the toolkit shares: its window and font, visibility, caption,
// z-order and focus, and the hooks the form calls when it reflects a message back to the
// control that sent it. Each kind derives from Control in a file of its own.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui.h"

namespace win32 {

// The whole text of a window, however long.
std::wstring WindowText(HWND hwnd);

class Control;
class Label;

// What arranging a container gives each of its controls (arrange.cpp).
struct Arrangement {
    RECT room;  // the container's client area
    int gap;    // between a label and the one before it on its row
    std::vector<const Label*> labels;  // the container's, in layout order: what others keep clear of
};

// What a control needs from the form that holds it.
class ControlHost {
public:
    virtual HINSTANCE Instance() const = 0;
    // The form's own window: timers are set on it.
    virtual HWND Window() const = 0;
    virtual int Dpi(bool vertical) const = 0;
    // The link cursor, or null when it could not be loaded.
    virtual HCURSOR HandCursor() const = 0;
    // Runs the window's handler for the control's event.
    virtual void Raise(int id, ui::Event event, int column) = 0;
    // The form's routing for a window of ours (the form and its containers): true and a
    // result when it handled the message.
    virtual bool Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
    // The font of a look, made once and shared by every control that has it; the form
    // frees it. Null when the system cannot make it.
    virtual HFONT SharedFont(const LOGFONTW& look) = 0;
    // False until the form is first shown. Until then controls only record their font and
    // width and the form applies them once, when it shows: each application is a round trip
    // to the window system, and the window's load changes most of them again anyway.
    virtual bool LookApplied() const = 0;
    // Makes the windows of what a page holds, the first time it is shown: until then its
    // controls record what they are told (caption, visibility, font, list rows and so on).
    virtual void RealizePage(int pageId) = 0;
    // After a control's size changed: places its container's labels and buttons so that
    // every text stays readable (arrange.cpp).
    virtual void Arrange(const Control& changed) = 0;

protected:
    ~ControlHost() = default;
};

class Control : public ui::Control {
public:
    Control(ControlHost& host, const ui::ControlSpec& design);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Makes the control's window under parent (a timer makes none).
    virtual void Create(HWND parent) = 0;
    // Gives the window its recorded font and width (the form does, when it shows).
    void ApplyLook();

    // The control a window belongs to: the window itself or the nearest window above it
    // that is one of ours; found through the window's own data, never by a search.
    static Control* FromHwnd(HWND hwnd);

    HWND Hwnd() const { return hwnd_; }
    const ui::ControlSpec& Design() const { return spec_; }
    int TabOrder() const { return spec_.tabOrder; }

    // Messages the form reflects back to the control that sent them.
    virtual void OnCommand(int /*code*/) {}
    virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
    // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: sets up dc, answers the background brush.
    virtual HBRUSH OnCtlColor(HDC dc);
    // True when the control set the cursor itself.
    virtual bool OnSetCursor() { return false; }
    // Messages the control's own window receives.
    virtual void OnMouseDown() {}
    virtual void OnMouseMove() {}
    virtual void OnTimer() {}
    // Any other message of the control's own window: true and a result when the kind
    // handled it itself (keys, focus, context menu).
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

    // Keyboard rules of the form, answered by the kinds they concern. Ctrl+Tab: moves to the
    // next (or previous) tab and answers true. Enter on the focused control: true when pressed.
    virtual bool StepTab(bool /*backwards*/) { return false; }
    virtual bool Press() { return false; }

    // Arranging its container after a size changed: a kind that others keep clear of joins
    // first; then each kind that moves to keep its text readable places itself.
    virtual void JoinArrangement(Arrangement&) const {}
    virtual void Rearrange(const Arrangement&) {}

    // Where the form puts the control's window in the z-order once everything is made.
    enum class Layer { AsMade, OverTabs, LeftToRight };
    virtual Layer StackLayer() const { return Layer::AsMade; }
    // A window of the control that lies beneath all others of its container (a group box).
    virtual HWND Backdrop() const { return nullptr; }
    // The laid-out place in pixels, relative to the container.
    RECT LaidOut() const;
    // The caption's width on one line as the control draws it, with its own font; the font's
    // metrics too when asked.
    int CaptionWidth(TEXTMETRICW* metrics = nullptr) const;

    int Id() const override { return spec_.id; }
    ui::Kind GetKind() const override { return spec_.kind; }
    std::wstring Caption() const override;
    void SetCaption(const std::wstring& text) override;
    bool Visible() const override { return visible_; }
    void SetVisible(bool on) override;
    std::wstring FontName() const override { return font_.lfFaceName; }
    bool SetFontName(const std::wstring& face) override;
    bool FontUnderline() const override { return font_.lfUnderline != 0; }
    void SetFontUnderline(bool on) override;
    void BringToFront() override;
    void SetFocus() override;

protected:
    // A child window at the laid-out place, visible unless laid out hidden.
    HWND MakeWindow(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text, DWORD style, HWND parent,
                    void* createParam = nullptr);
    // Called at the end of Create: subclasses the window and gives it its font.
    void Attach();
    int Pixels(int twips, bool vertical) const { return MulDiv(twips, host_.Dpi(vertical), 1440); }
    std::wstring LaidOutCaption() const { return spec_.caption ? spec_.caption : L""; }
    // The caption as last set, the laid-out one until then: what a window is made with.
    const std::wstring& CurrentCaption() const { return caption_; }
    bool ApplyFont();
    HFONT Font() const { return hfont_; }

    // The window whose text is the caption.
    virtual HWND CaptionWindow() const { return hwnd_; }
    // Other windows of the control that take its font.
    virtual void OnFont(HFONT) {}
    // After the caption or the font changed, once the look is applied.
    virtual void Fit() {}

    ControlHost& host_;
    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

protected:
    // What the window would have done without us.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

private:

    const ui::ControlSpec& spec_;
    WNDPROC original_ = nullptr;  // the window's procedure before ours
    std::wstring caption_;  // kept while there is no window
    LOGFONTW font_{};
    HFONT hfont_ = nullptr;
    bool visible_ = true;
};

}  // namespace win32
