#pragma once
// Pages and frames: windows of our own class that hold other controls and pass their
// messages on to the form, as if the controls sat on it. A frame's caption is drawn by a
// group box inside it.
#include "platform/win32/ui/control.h"

namespace win32 {

class Container : public Control {
public:
    using Control::Control;
    // The window class of pages and frames, registered once per form.
    static void RegisterWindowClass(HINSTANCE instance);
    void Create(HWND parent) override;

    void OnMouseMove() override;
    Layer StackLayer() const override;
    HWND Backdrop() const override { return box_; }
    void SetVisible(bool on) override;
    void BringToFront() override;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    bool IsPage() const { return GetKind() == ui::Kind::Page; }
    HWND CaptionWindow() const override { return box_ ? box_ : hwnd_; }
    void OnFont(HFONT font) override;

    HWND box_ = nullptr;  // a frame's group box
};

}  // namespace win32
