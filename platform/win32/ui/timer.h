#pragma once
// A timer: no window of its own, a SetTimer on the form's window while enabled.
#include "platform/win32/ui/control.h"

namespace win32 {

class Timer : public Control, public ui::Timer {
public:
    using Control::Control;
    ~Timer() override;
    void Create(HWND) override {}

    void OnTimer() override;

    // A timer has no font.
    std::wstring FontName() const override { return {}; }
    bool SetFontName(const std::wstring&) override { return false; }
    void SetFontUnderline(bool) override {}

    bool Enabled() const override { return on_; }
    void SetEnabled(bool on) override;

private:
    bool on_ = false;
};

}  // namespace win32
