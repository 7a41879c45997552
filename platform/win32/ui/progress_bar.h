#pragma once
// A progress bar.
#include "platform/win32/ui/control.h"

namespace win32 {

class ProgressBar : public Control {
public:
    using Control::Control;
    void Create(HWND parent) override;
    void SetProgressMax(int max) override;
    void SetProgressValue(int value) override;
};

}  // namespace win32
