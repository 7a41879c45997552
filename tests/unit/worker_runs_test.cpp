// The re-register commands' calls in workers, on made-up workers and a made-up clock: what a
// component does to its worker is named, the run goes on with a fresh worker, a call has a
// minute (for as long as a window of the component's is up, and a minute again after it),
// closing the window ends the worker at once, and without workers the calls run here.
#include "unit/window_fixture.h"

#include "app/file_lists.h"

namespace {

using namespace ctl;
using fakes::FakeWorkers;
using os::CallEnd;

std::int32_t LR_WINAPI Registers() { return 0; }
std::int32_t LR_WINAPI Denied() { return static_cast<std::int32_t>(0x80070005u); }

class WorkerRunsTest : public WindowTest {
protected:
    const std::wstring sys = L"C:\\WINDOWS\\system32";
    // The Jet page with its three registering files found, their short forms loading.
    void OpenJetPage() {
        for (const auto& row : app::kJetFiles) {
            const std::wstring path = sys + row.suffix;
            versions.AddVersion(path, 1, 0, 0, 0);
            system.shortPaths[path] = L"~" + app::GetFile(path);
            modules.files[L"~" + app::GetFile(path)].exports[L"DllRegisterServer"] = &Registers;
        }
        Load();
        window.ShowJetPage();
    }
    std::vector<std::wstring> Loaded() {
        std::vector<std::wstring> names;
        for (const auto& line : modules.log)
            if (line.rfind(L"load ~", 0) == 0) names.push_back(line.substr(6));
        return names;
    }
};

TEST_F(WorkerRunsTest, WhatAComponentDoesToItsWorkerIsNamedAndTheRunGoesOn) {
    const std::wstring middle = L"~msjtes40.dll";
    const std::vector<std::wstring> fresh = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll", L"closed",
                                             L"start", L"send ~msjetoledb40.dll", L"closed"};
    const std::vector<std::wstring> one = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll",
                                           L"send ~msjetoledb40.dll", L"closed"};
    std::vector<std::wstring> killed = fresh;
    killed[3] = L"killed";
    const std::vector<std::wstring> all = {L"msjet40.dll", L"msjtes40.dll", L"msjetoledb40.dll"};
    const std::vector<std::wstring> outer = {L"msjet40.dll", L"msjetoledb40.dll"};
    const std::wstring named = L"en 210\r\n\r\n" + sys + L"\\msjtes40.dll\r\n    ";
    struct Case {
        const char* what;
        FakeWorkers::Script script;
        bool denied, startFails;
        std::wstring warning;  // after "named", without the title
        std::vector<std::wstring> workerLog, loaded;
        std::uint32_t endsAt;  // the made-up clock when the run is over
    };
    const std::uint32_t never = FakeWorkers::kNever;
    const Case cases[] = {
        {"crash", {CallEnd::Crashed, static_cast<std::int32_t>(0xC0000005u), 5}, false, false,
         L"0xC0000005  en 213", fresh, outer, 5},
        {"ExitProcess", {CallEnd::Exited, 7, 5}, false, false, L"0x00000007  en 214", fresh, outer, 5},
        {"never returns", {CallEnd::Returned, 0, never}, false, false, L"en 215", killed, outer, 60000},
        {"59 s", {CallEnd::Returned, 0, 59000}, false, false, L"", one, all, 59000},
        // A window from 0 to 120 s: waited for, then a minute again.
        {"asks, then returns", {CallEnd::Returned, 0, 170000, 120000}, false, false, L"", one, all, 170000},
        {"asks, then hangs", {CallEnd::Returned, 0, never, 120000}, false, false, L"en 215", killed, outer, 180000},
        {"access denied", {}, true, false, L"0x80070005  text of -2147024891\r\n\r\nen 211", one, all, 0},
        {"no worker", {CallEnd::Crashed, 5, never}, true, true, L"0x80070005  text of -2147024891\r\n\r\nen 211", {},
         all, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        modules.log.clear();
        workers.log.clear();
        workers.now = 0;
        form.warnings.clear();
        workers.scripts = {{middle, c.script}};
        workers.startFails = c.startFails;
        if (modules.files.empty()) OpenJetPage();
        modules.files[middle].exports[L"DllRegisterServer"] = c.denied ? &Denied : &Registers;
        window.Command3_Click();
        EXPECT_EQ(form.warnings, c.warning.empty() ? std::vector<std::wstring>{}
                                                   : std::vector<std::wstring>{named + c.warning + L"|LumoraRepair"});
        EXPECT_EQ(workers.log, c.workerLog);
        EXPECT_EQ(Loaded(), c.loaded);
        EXPECT_EQ(workers.now, c.endsAt);
        EXPECT_EQ(form[ProgressBar3].progressValue, 6);
        EXPECT_TRUE(form[Command3].visible);
        EXPECT_EQ(form.focus, cmdQuit);
    }
}

// The window's messages run during the call; closed there, the worker ends at once and
// nothing after it is registered or named.
TEST_F(WorkerRunsTest, ClosingDuringACallEndsTheWorkerAtOnce) {
    OpenJetPage();
    workers.scripts = {{L"~msjtes40.dll", {CallEnd::Returned, 0, FakeWorkers::kNever}}};
    form.onDoEvents = [this] {
        if (workers.now == 5000) form.Unload();
    };
    window.Command3_Click();
    EXPECT_EQ(workers.log, (std::vector<std::wstring>{L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll", L"killed"}));
    EXPECT_EQ(workers.now, 5000u);
    EXPECT_TRUE(form.warnings.empty());
    EXPECT_TRUE(form[Command3].visible);
}

}  // namespace
