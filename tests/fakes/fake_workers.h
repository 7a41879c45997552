#pragma once
// Made-up registration workers on a made-up clock. A path without a script registers at
// once through RegisterComponent on the fake modules, as a real worker does; a scripted one
// takes its time (showing a window for part of it) and then ends as told. A log of the
// workers' lives in order.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_modules.h"
#include "platform/workers.h"
#include "register/modDLLRegister.h"

namespace fakes {

class FakeWorkers : public os::Workers {
public:
    static constexpr std::uint32_t kNever = 0xFFFFFFFFu;
    struct Script {
        os::CallEnd end = os::CallEnd::Returned;  // Returned: registers on the fake modules
        std::int32_t code = 0;
        std::uint32_t takesMs = 0;  // kNever: never returns
        std::uint32_t windowMs = 0;  // a window of its own for this long from the start
    };

    explicit FakeWorkers(FakeModules& modules) : modules_(modules) {}

    std::map<std::wstring, Script> scripts;  // by path
    bool startFails = false;
    std::uint32_t now = 0;
    // "start", "send PATH", "killed" (ended during a call), "closed" (ended idle)
    std::vector<std::wstring> log;

    std::unique_ptr<os::RegisterWorker> Start() override {
        if (startFails) return nullptr;
        log.push_back(L"start");
        return std::make_unique<Worker>(*this);
    }
    std::uint32_t TickCount() override { return now; }

private:
    class Worker : public os::RegisterWorker {
    public:
        explicit Worker(FakeWorkers& owner) : owner_(owner) {}
        ~Worker() override { owner_.log.push_back(calling_ ? L"killed" : L"closed"); }
        void Send(const std::wstring& path) override {
            owner_.log.push_back(L"send " + path);
            path_ = path, began_ = owner_.now, calling_ = true;
            const auto it = owner_.scripts.find(path);
            script_ = it == owner_.scripts.end() ? Script{} : it->second;
        }
        // Time passes a second at most per wait, so the window's messages run meanwhile.
        os::CallResult Wait(std::uint32_t ms) override {
            const std::uint32_t step = std::min<std::uint32_t>(ms, 1000);
            if (script_.takesMs == kNever || owner_.now - began_ + step < script_.takesMs) {
                owner_.now += step;
                return {};
            }
            owner_.now = began_ + script_.takesMs;
            calling_ = false;
            if (script_.end != os::CallEnd::Returned) return {script_.end, script_.code};
            return {os::CallEnd::Returned, modDLLRegister::RegisterServer(owner_.modules_, path_)};
        }
        bool ShowsWindow() override { return owner_.now - began_ < script_.windowMs; }

    private:
        FakeWorkers& owner_;
        std::wstring path_;
        Script script_;
        std::uint32_t began_ = 0;
        bool calling_ = false;
    };

    FakeModules& modules_;
};

}  // namespace fakes
