#include "platform/win32/ui/timer.h"

namespace win32 {

Timer::~Timer() {
    if (on_) KillTimer(host_.Window(), static_cast<UINT_PTR>(Id()));
}

void Timer::OnTimer() { host_.Raise(Id(), ui::Event::Timer, 0); }

void Timer::SetEnabled(bool on) {
    if (on == on_) return;
    on_ = on;
    const auto id = static_cast<UINT_PTR>(Id());
    if (on) SetTimer(host_.Window(), id, static_cast<UINT>(Design().interval), nullptr);
    else KillTimer(host_.Window(), id);
}

}  // namespace win32
