#include "platform/win32/modules_win32.h"

#include <windows.h>
#include <objbase.h>

#include "platform/win32/ansi.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/newer_windows.h"

namespace win32 {
namespace {

constexpr UINT kQuiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// No system error box while it lives. The thread's own mode where the system has one
// (Windows 7 on); before that the process's, which the load's thread is the only one to use.
class QuietErrors {
public:
    QuietErrors() {
        if (setThreadMode_) {
            setThreadMode_(kQuiet, &previous_);
        } else {
            previous_ = ::SetErrorMode(kQuiet);
            ::SetErrorMode(previous_ | kQuiet);
        }
    }
    ~QuietErrors() {
        if (setThreadMode_) {
            setThreadMode_(previous_, nullptr);
        } else {
            ::SetErrorMode(previous_);
        }
    }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    const newer::SetThreadErrorModeProc setThreadMode_ = newer::SetThreadErrorMode();
    DWORD previous_ = 0;
};

}  // namespace

os::ModuleHandle Modules::Load(const std::wstring& path, std::uint32_t& error) {
    // A file that is no module of ours (bad format, a missing dependency) must fail the
    // call, not stop the run with a system dialog.
    const QuietErrors quiet;
    // The component's own dependencies resolve from its folder. Where the system can be told
    // so, the rest come from the system folder alone (not the default directories, which
    // hold the exe's folder); elsewhere the altered search, which has neither the exe's
    // folder nor, once the search was restricted at start, the current one.
    DWORD flags = LOAD_WITH_ALTERED_SEARCH_PATH;
    if (HasSearchFlags()) flags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
    // The wide form: a file named outside the ANSI code page loads too.
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, flags);
    error = module ? 0 : ::GetLastError();
    return reinterpret_cast<os::ModuleHandle>(module);
}

os::EntryPoint Modules::FindEntryPoint(os::ModuleHandle module, const std::wstring& name) {
    const FARPROC address = ::GetProcAddress(reinterpret_cast<HMODULE>(module), ToAnsi(name).c_str());
    return reinterpret_cast<os::EntryPoint>(reinterpret_cast<void (*)()>(address));
}

void Modules::Free(os::ModuleHandle module) { ::FreeLibrary(reinterpret_cast<HMODULE>(module)); }

void* Modules::TaskMemAlloc(std::size_t bytes) { return ::CoTaskMemAlloc(bytes); }

void Modules::TaskMemFree(void* memory) { ::CoTaskMemFree(memory); }

}  // namespace win32
