#pragma once
// A push button, with an icon at its left from an image list.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "platform/win32/ui/control.h"

namespace win32 {

// An icon loaded from the resources, as the logic holds it.
class Icon : public ui::Picture {
public:
    explicit Icon(HICON icon) : icon_(icon) {}
    ~Icon() override { DestroyIcon(icon_); }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    HICON Handle() const { return icon_; }

private:
    HICON icon_;
};

class Button : public Control, public ui::Button {
public:
    using Control::Control;
    ~Button() override;
    void Create(HWND parent) override;

    void OnCommand(int code) override;
    bool Press() override;
    void SetButtonIcon(const ui::Picture& picture, int marginLeft, int marginTop) override;
    // The width its caption needs to be read whole and clear of the icon, in pixels.
    int TextRoom() const;
    void Rearrange(const Arrangement& around) override;

private:
    void Fit() override { host_.Arrange(*this); }
    void ShowImages();
    HIMAGELIST images_ = nullptr;
    RECT margin_{};
};

}  // namespace win32
