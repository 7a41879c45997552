#include "platform/win32/ui/progress_bar.h"

#include <commctrl.h>

namespace win32 {

void ProgressBar::Create(HWND parent) {
    hwnd_ = MakeWindow(0, PROGRESS_CLASSW, L"", 0, parent);
    Attach();
    if (max_ >= 0) SetProgressMax(max_);
    if (value_ >= 0) SetProgressValue(value_);
}

void ProgressBar::SetProgressMax(int max) {
    max_ = max;
    if (hwnd_) SendMessageW(hwnd_, PBM_SETRANGE32, 0, max);
}

void ProgressBar::SetProgressValue(int value) {
    value_ = value;
    if (hwnd_) SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

}  // namespace win32
