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

// The worker's side. When this process was started as a worker, serves its calls until the
// window closes the channel: each path read goes to registerOne with `modules`, and its
// result goes back; returns true then. False at once when the program was started as a
// user starts it.
bool ServeAsWorker(os::Modules& modules, std::int32_t (*registerOne)(os::Modules&, const std::wstring&));

}  // namespace win32
