#pragma once
// The window's make-up: one row per control, like a form designer's file.
#include <span>

#include "platform/ui.h"

namespace app {

// Client area of the window in twips (532 x 375 pixels at 96 dots per inch).
inline constexpr int kClientWidth = 7980;
inline constexpr int kClientHeight = 5625;

std::span<const ui::ControlSpec> Layout();

}  // namespace app
