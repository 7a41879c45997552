#pragma once
// Made-up registration workers on a made-up clock. A path without a script registers at
// once through RegisterComponent on the fake modules, as a real worker does; a scripted one
// takes its time (with a window of its own for part of it), then ends as told. A log of the
// workers' lives: "start", "send PATH", "killed" (ended in a call), "closed".
#include <algorithm>
#include <map>

#include "fakes/fake_modules.h"
#include "platform/workers.h"
#include "register/modDLLRegister.h"

namespace fakes {

class FakeWorkers : public os::Workers {
public:
    struct Script {
        os::CallEnd end = os::CallEnd::Returned;  // Returned: registers on the fake modules
        std::int32_t code = 0;
        std::uint32_t takesMs = 0, windowMs = 0;  // takesMs 0xFFFFFFFF: the call never returns
    };
    explicit FakeWorkers(FakeModules& fakeModules) : modules(fakeModules) {}

    FakeModules& modules;
    std::map<std::wstring, Script> scripts;  // by path
    bool startFails = false;
    std::uint32_t now = 0;
    std::vector<std::wstring> log;

    std::unique_ptr<os::RegisterWorker> Start() override {
        if (startFails) return nullptr;
        log.push_back(L"start");
        return std::make_unique<Worker>(*this);
    }
    std::uint32_t TickCount() override { return now; }

private:
    struct Worker : os::RegisterWorker {
        explicit Worker(FakeWorkers& w) : owner(w) {}
        // In its call until the time its script takes has passed.
        ~Worker() override { owner.log.push_back(owner.now - began < script.takesMs ? L"killed" : L"closed"); }
        void Send(const std::wstring& sent) override {
            owner.log.push_back(L"send " + sent);
            path = sent;
            began = owner.now;
            script = owner.scripts.count(path) ? owner.scripts[path] : Script{};
        }
        // A second at most passes per wait, so the window's messages run meanwhile. An answer
        // that came while the caller was away is there at once.
        os::CallResult Wait(std::uint32_t ms) override {
            const std::uint32_t step = std::min<std::uint32_t>(ms, 1000);
            const bool done = owner.now - began + step >= script.takesMs;
            owner.now = done ? std::max(owner.now, began + script.takesMs) : owner.now + step;
            if (!done) return {};
            if (script.end != os::CallEnd::Returned) return {script.end, script.code};
            return {os::CallEnd::Returned, modDLLRegister::RegisterServer(owner.modules, path)};
        }
        bool ShowsWindow() override { return owner.now - began < script.windowMs; }

        FakeWorkers& owner;
        std::wstring path;
        Script script;
        std::uint32_t began = 0;
    };
};

}  // namespace fakes
