#include "platform/win32/newer_windows.h"

namespace win32::newer {
namespace {

bool missing = false;

template <class F>
F Kernel32(const char* name) {
    if (missing) return nullptr;
    // kernel32 is in every process; its handle needs no freeing.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

SetThreadErrorModeProc SetThreadErrorMode() { return Kernel32<SetThreadErrorModeProc>("SetThreadErrorMode"); }

SetDefaultDllDirectoriesProc SetDefaultDllDirectories() {
    return Kernel32<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
}

// AddDllDirectory came with the same update as the flags; asked for as the documented test.
bool HasSearchFlags() { return Kernel32<void (*)()>("AddDllDirectory") != nullptr; }

void ReportMissing() { missing = true; }

}  // namespace win32::newer
