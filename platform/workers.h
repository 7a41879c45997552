#pragma once
// Registration workers: a process of the program's own exe that makes the registration
// calls of one run, so that a component that crashes, ends its process or never returns
// takes the worker with it and not the window.
#include <cstdint>
#include <memory>
#include <string>

namespace os {

// How a call handed to a worker ended.
enum class CallEnd {
    Waiting,   // not yet: a window message arrived, or the time asked for passed
    Returned,  // code: 0, or the number of the registration's error
    Crashed,   // code: the exception code; the worker is gone
    Exited,    // code: the exit code the worker's process ended with
};

struct CallResult {
    CallEnd end = CallEnd::Waiting;
    std::int32_t code = 0;
};

class RegisterWorker {
public:
    // Ends the worker: at once when a call is still running, else by closing its channel.
    virtual ~RegisterWorker() = default;
    // Hands it the path of one file to register; the answer comes from Wait.
    virtual void Send(const std::wstring& path) = 0;
    // Waits at most `milliseconds` for the call's end; Waiting as soon as a window message
    // of this thread is waiting, so the caller can let it run.
    virtual CallResult Wait(std::uint32_t milliseconds) = 0;
    // True while the worker's process shows a visible window (a component asking the user).
    virtual bool ShowsWindow() = 0;
};

class Workers {
public:
    virtual ~Workers() = default;
    // A new worker, or null when none can be started (out of resources, blocked by policy).
    virtual std::unique_ptr<RegisterWorker> Start() = 0;
    // Milliseconds of a clock that wraps around (GetTickCount).
    virtual std::uint32_t TickCount() = 0;
};

}  // namespace os
