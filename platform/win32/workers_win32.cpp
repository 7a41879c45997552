#include "platform/win32/workers_win32.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace win32 {
namespace {

// Follows the exe's quoted path on a worker's command line, then the pipe's handle value.
constexpr wchar_t kMarker[] = L" --registration-worker=";
// The kinds of answer on the pipe.
constexpr std::uint32_t kReturned = 0, kCrashed = 1;
// Pixels a side at least: a window smaller than that is nothing a user can read or answer.
constexpr LONG kRealSize = 16;

struct Search {
    DWORD processId;  // the worker's
    // The processes of its job: what the worker's components started (a set-up box's program).
    JOBOBJECT_BASIC_PROCESS_ID_LIST job;
    ULONG_PTR more[63];
    bool found;
};

// A top-level window of the processes searched for that a user can see and answer ends the
// search: visible, of a real size, on a monitor (not parked off every screen).
BOOL CALLBACK FindShown(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    bool ours = owner == search->processId;
    for (DWORD i = 0; i < search->job.NumberOfProcessIdsInList; ++i)
        ours = ours || search->job.ProcessIdList[i] == owner;
    RECT r{};
    if (!ours || !IsWindowVisible(window) || !GetWindowRect(window, &r)) return TRUE;
    search->found = r.right - r.left >= kRealSize && r.bottom - r.top >= kRealSize &&
                    MonitorFromWindow(window, MONITOR_DEFAULTTONULL) != nullptr;
    return !search->found;
}

class Worker final : public os::RegisterWorker {
public:
    Worker(HANDLE pipe, const PROCESS_INFORMATION& process, HANDLE job)
        : pipe_(pipe), process_(process.hProcess), job_(job), processId_(process.dwProcessId) {
        io_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Worker() override {
        // A call still running is ended with its process and every program it started; an
        // idle worker ends by itself when its channel closes.
        if (calling_ && !(job_ && TerminateJobObject(job_, 1))) TerminateProcess(process_, 1);
        if (reading_) {
            CancelIo(pipe_);
            DWORD bytes = 0;
            GetOverlappedResult(pipe_, &io_, &bytes, TRUE);  // the buffer is ours again
        }
        CloseHandle(pipe_);
        CloseHandle(io_.hEvent);
        CloseHandle(process_);
        if (job_) CloseHandle(job_);
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void Send(const std::wstring& path) override {
        calling_ = true;
        DWORD bytes = 0;
        const bool sent = (WriteFile(pipe_, path.data(), static_cast<DWORD>(path.size() * sizeof(wchar_t)), nullptr, &io_) ||
                           GetLastError() == ERROR_IO_PENDING) &&
                          GetOverlappedResult(pipe_, &io_, &bytes, TRUE);
        // A worker that cannot take it is gone or going: its end is the call's answer.
        closed_ = !sent;
        if (sent) {
            reading_ = ReadFile(pipe_, answer_, sizeof answer_, nullptr, &io_) || GetLastError() == ERROR_IO_PENDING;
            closed_ = !reading_;
        }
    }

    os::CallResult Wait(std::uint32_t milliseconds) override {
        // The answer first (the lower index wins), then the process's end: a crash is
        // answered before it ends.
        const HANDLE handles[] = {io_.hEvent, process_};
        const DWORD count = closed_ ? 1 : 2;
        const DWORD woke = MsgWaitForMultipleObjectsEx(count, handles + (closed_ ? 1 : 0), milliseconds, QS_ALLINPUT,
                                                       MWMO_INPUTAVAILABLE);
        if (woke >= WAIT_OBJECT_0 + count) return {};  // a message, or the time is up
        if (woke == WAIT_OBJECT_0 && !closed_) {
            DWORD bytes = 0;
            const bool read = GetOverlappedResult(pipe_, &io_, &bytes, FALSE) && bytes == sizeof answer_;
            reading_ = false;
            if (read) {
                calling_ = answer_[0] == kCrashed;  // ending: made sure of when we let go
                return {answer_[0] == kCrashed ? os::CallEnd::Crashed : os::CallEnd::Returned,
                        static_cast<std::int32_t>(answer_[1])};
            }
            closed_ = true;  // the worker's end closed: wait for its process to end
            return {};
        }
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        calling_ = false;
        // Without an answer: a crash the filter did not see (a stack overflow) ends the
        // process with its exception code, anything else with the code it was given.
        return {code >= 0xC0000000u ? os::CallEnd::Crashed : os::CallEnd::Exited, static_cast<std::int32_t>(code)};
    }

    bool ShowsWindow() override {
        Search search{};
        search.processId = processId_;
        // Filled as far as it goes; without a job (or with more processes than fit) the list
        // says so in its count.
        const DWORD size = sizeof search.job + sizeof search.more;
        if (job_) QueryInformationJobObject(job_, JobObjectBasicProcessIdList, &search.job, size, nullptr);
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    HANDLE pipe_;
    HANDLE process_;
    HANDLE job_;  // null when the worker could not be put in a job of its own
    DWORD processId_;
    OVERLAPPED io_{};
    std::uint32_t answer_[2] = {};
    bool calling_ = false;  // a path was sent and its call has not ended
    bool reading_ = false;  // a read of the answer is under way
    bool closed_ = false;   // the channel is gone; the process's end is awaited
};

HANDLE workerPipe = nullptr;  // the worker's end, for its exception filter

// In the worker: a crash anywhere in it is answered with its code, and the process ends
// without the system's error report (or Wine's debugger) holding it up.
LONG WINAPI AnswerCrash(EXCEPTION_POINTERS* exception) {
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    const std::uint32_t answer[2] = {kCrashed, code};
    DWORD bytes = 0;
    WriteFile(workerPipe, answer, sizeof answer, &bytes, nullptr);
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

Workers::Workers(std::wstring exe) : exe_(std::move(exe)) {
    if (exe_.empty()) {
        wchar_t path[MAX_PATH] = {};
        exe_.assign(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    }
}

std::uint32_t Workers::TickCount() { return GetTickCount(); }

std::unique_ptr<os::RegisterWorker> Workers::Start() {
    static unsigned count = 0;
    wchar_t name[64];
    wsprintfW(name, L"\\\\.\\pipe\\LumoraRepair-%lu-%u", GetCurrentProcessId(), ++count);
    // One instance, made by us: nobody else can be the worker's end of it.
    const HANDLE pipe = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return nullptr;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE end = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    PROCESS_INFORMATION process{};
    bool started = false;
    // The worker reads in bytes: one path at a time is waiting, written in one piece.
    if (end != INVALID_HANDLE_VALUE) {
        // Handle values fit 32 bits in either kind of process. wsprintfW writes at most 1024.
        wchar_t command[1025];
        wsprintfW(command, L"\"%s\"%s%lu", exe_.c_str(), kMarker,
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(end)));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        // Suspended until it is in its job, so nothing it starts escapes the job.
        started = CreateProcessW(exe_.c_str(), command, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                                 &startup, &process);
    }
    if (end != INVALID_HANDLE_VALUE) CloseHandle(end);
    if (!started) {
        CloseHandle(pipe);
        return nullptr;
    }
    // A job of its own: the programs a component starts count as the worker's and end with
    // it. Before Windows 8 a process that is in a job already (ours, started by a launcher
    // that uses one) cannot join a second: the worker then runs as it is, on its own.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    // Started by the window in front, the worker may bring a component's own window to the
    // front without being allowed to.
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    return std::make_unique<Worker>(pipe, process, job);
}

int ServeAsWorker(os::Services& services, std::int32_t (*registerOne)(os::Modules&, const std::wstring&),
                  bool (*onLists)(os::Services&, const std::wstring&)) {
    const wchar_t* line = GetCommandLineW();
    const wchar_t* marker = std::wcsstr(line, kMarker);
    if (!marker) return kNotAWorker;
    // Only as the window starts it: its quoted path, the marker, the handle's digits and
    // nothing else, the client end of a message pipe behind them.
    const wchar_t* quote = line[0] == L'"' ? std::wcschr(line + 1, L'"') : nullptr;
    const wchar_t* digits = marker + std::size(kMarker) - 1;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(digits, &end, 10);
    const HANDLE pipe = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
    DWORD flags = 0;
    if (!quote || quote + 1 != marker || *digits < L'0' || *digits > L'9' || *end ||
        !GetNamedPipeInfo(pipe, &flags, nullptr, nullptr, nullptr) || flags != (PIPE_CLIENT_END | PIPE_TYPE_MESSAGE))
        return kNotAWorker;  // a user's command line: refused there as any unknown switch
    // Ours alone: no program a component starts holds it.
    SetHandleInformation(pipe, HANDLE_FLAG_INHERIT, 0);
    workerPipe = pipe;
    SetUnhandledExceptionFilter(AnswerCrash);
    static wchar_t path[32768];  // the longest path there is
    DWORD bytes = 0;
    while (ReadFile(pipe, path, sizeof path, &bytes, nullptr)) {
        const std::wstring file(path, bytes / sizeof *path);
        // Only a file of the program's own lists: never a door to any DLL's entry point.
        if (!onLists(services, file)) return kRefused;
        const std::uint32_t answer[2] = {kReturned, static_cast<std::uint32_t>(registerOne(services.modules, file))};
        if (!WriteFile(pipe, answer, sizeof answer, &bytes, nullptr)) break;
    }
    return 0;
}

}  // namespace win32
