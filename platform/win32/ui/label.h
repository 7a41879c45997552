#pragma once
// A label: a static text, as wide as its text; with the link look, blue with the hand cursor.
#include "platform/win32/ui/control.h"

namespace win32 {

class Label : public Control {
public:
    using Control::Control;
    void Create(HWND parent) override;

    void OnCommand(int code) override;
    HBRUSH OnCtlColor(HDC dc) override;
    bool OnSetCursor() override;
    void OnMouseMove() override;
    // A link takes the focus in the tab order, shows it, and opens on Enter or Space.
    bool Press() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    Layer StackLayer() const override { return Layer::LeftToRight; }
    // The height of a line of its text, in pixels, as last fitted.
    int LineHeight() const { return lineHeight_; }
    void JoinArrangement(Arrangement& around) const override;
    void Rearrange(const Arrangement& around) override;

private:
    bool IsLink() const { return (Design().look & ui::kLink) != 0; }
    void Fit() override;
    int lineHeight_ = 0;
};

}  // namespace win32
