// Prints the Windows version code the way the program classifies the running system, with
// what the system reported. Run under each of Wine's Windows version settings by
// winver_check.sh; it cannot switch its own, as Wine reads the setting at process start.
#include <cstdio>

#include "platform/win32/system_win32.h"
#include "probes/modAPI.h"

int main() {
    win32::System system;
    const os::OsVersion v = system.QueryOsVersion();
    const int code = modAPI::GetWindowsVersion(system);
    std::printf("code=%d platform=%u version=%u.%u build=%u\n", code,
                static_cast<unsigned>(v.platformId), static_cast<unsigned>(v.major),
                static_cast<unsigned>(v.minor), static_cast<unsigned>(v.build));
    return 0;
}
