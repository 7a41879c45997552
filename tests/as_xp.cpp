// Linked into the Wine test programs and the test build's XP worker: started with LR_AS_XP
// set, the program takes the way it takes on Windows XP, where every function of a later
// Windows is missing. Never part of the shipped exe.
#include <cstdlib>

#include "platform/win32/newer_windows.h"

namespace {

bool TakeXPWay() {
    if (!std::getenv("LR_AS_XP")) return false;
    win32::newer::ReportMissing();
    return true;
}

// Before main and WinMain, so nothing has looked a function up yet.
const bool asXP = TakeXPWay();

}  // namespace
