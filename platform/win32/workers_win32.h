#pragma once
// Registration workers: the program's own exe started once more as a worker, with no window
// of its own. The handshake is a named pipe whose client end the worker inherits; its handle
// value follows a marker on the worker's command line. On it the window hands over one path
// (UTF-16, one message) and the worker answers with two 32-bit numbers: the kind of answer
// and the registration's result or, from its unhandled-exception filter, the exception code.
// The numbers are the same at 32 and 64 bits.
#include <cstdint>
#include <string>

#include "platform/modules.h"
#include "platform/services.h"
#include "platform/workers.h"

namespace win32 {

class Workers : public os::Workers {
public:
    // exe: the program file the workers run; empty for this process's own.
    explicit Workers(std::wstring exe = {});
    std::unique_ptr<os::RegisterWorker> Start() override;
    std::uint32_t TickCount() override;

private:
    std::wstring exe_;
};

// ServeAsWorker's answer when the program was started as a user starts it (the marker too,
// when the start is not the window's): run the window or the command line.
constexpr int kNotAWorker = -1;
// The exit code of a worker handed a path that is not on the program's lists:
// ERROR_ACCESS_DENIED.
constexpr int kRefused = 5;

// The worker's side. Serves the window's calls until it closes the channel: each path read
// goes to registerOne with the services' modules when onLists takes it, and its result goes
// back; returns 0 then. kNotAWorker at once, having loaded nothing, without the marker or for
// a start with it that is not the window's; kRefused for a path onLists does not take.
int ServeAsWorker(os::Services& services, std::int32_t (*registerOne)(os::Modules&, const std::wstring&),
                  bool (*onLists)(os::Services&, const std::wstring&));

}  // namespace win32
