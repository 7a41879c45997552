#pragma once
// A progress bar.
#include "platform/win32/ui/control.h"

namespace win32 {

class ProgressBar : public Control, public ui::ProgressBar {
public:
    using Control::Control;
    void Create(HWND parent) override;
    void SetProgressMax(int max) override;
    void SetProgressValue(int value) override;

private:
    int max_ = -1, value_ = -1;  // as last set; set on the window when it is made
};

}  // namespace win32
