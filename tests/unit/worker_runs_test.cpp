// The re-register commands' calls in workers, on made-up workers and clock: what a component
// does to its worker is named and the run goes on with a fresh worker; a call has a minute,
// and while a window of its own is up, and a minute again after; closing the window ends the
// worker at once; without workers the calls run in the window's process.
#include "unit/window_fixture.h"

#include "app/file_lists.h"

namespace {

using os::CallEnd;
using WorkerRunsTest = WindowTest;
std::int32_t LR_WINAPI Registers() { return 0; }
std::int32_t LR_WINAPI Denied() { return static_cast<std::int32_t>(0x80070005u); }

TEST_F(WorkerRunsTest, WhatAComponentDoesToItsWorkerIsNamedAndTheRunGoesOn) {
    const std::wstring sys = L"C:\\WINDOWS\\system32";
    for (const auto& row : app::kJetFiles) {  // three of them register
        versions.AddVersion(sys + row.suffix, 1, 0, 0, 0);
        system.shortPaths[sys + row.suffix] = L"~" + app::GetFile(row.suffix);
        modules.files[L"~" + app::GetFile(row.suffix)].exports[L"DllRegisterServer"] = &Registers;
    }
    Load();
    window.ShowJetPage();
    const std::vector<std::wstring> one = {L"start", L"send ~msjet40.dll", L"send ~msjtes40.dll",
                                           L"send ~msjetoledb40.dll", L"closed"};
    std::vector<std::wstring> fresh = one, killed = one, closed = one;
    fresh.insert(fresh.begin() + 3, {L"closed", L"start"});
    killed.insert(killed.begin() + 3, {L"killed", L"start"});
    closed.resize(3), closed.push_back(L"killed");
    const std::int32_t crash = static_cast<std::int32_t>(0xC0000005u);
    const std::uint32_t never = fakes::FakeWorkers::kNever;
    const std::wstring denied = L"0x80070005  text of -2147024891 for msjtes40.dll\r\n\r\nen 211";
    struct Case {
        fakes::FakeWorkers::Script script;
        bool denied, noWorker;
        std::uint32_t closeAt, endsAt;
        std::wstring warning;  // what is said of msjtes40.dll
        const std::vector<std::wstring>& workers;
    } const cases[] = {
        {{CallEnd::Crashed, crash, 5}, false, false, 0, 5, L"0xC0000005  en 213", fresh},
        {{CallEnd::Exited, 7, 5}, false, false, 0, 5, L"0x00000007  en 214", fresh},
        {{CallEnd::Returned, 0, 59000}, false, false, 0, 59000, L"", one},
        {{CallEnd::Returned, 0, never}, false, false, 0, 60000, L"en 215", killed},
        {{CallEnd::Returned, 0, 170000, 120000}, false, false, 0, 170000, L"", one},  // asks the user until 120 s
        {{CallEnd::Returned, 0, never, 120000}, false, false, 0, 180000, L"en 215", killed},
        {{CallEnd::Returned, 0, never}, false, false, 5000, 5000, L"", closed},
        {{}, true, false, 0, 0, denied, one},
        {{CallEnd::Crashed, crash, 5}, true, true, 0, 0, denied, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        modules.log.clear(), workers.log.clear(), form.warnings.clear(), form.unloaded = false;
        workers.now = 0;
        workers.scripts = {{L"~msjtes40.dll", c.script}};
        workers.startFails = c.noWorker;
        modules.files[L"~msjtes40.dll"].exports[L"DllRegisterServer"] = c.denied ? &Denied : &Registers;
        form.onDoEvents = [&] { form.unloaded = form.unloaded || (c.closeAt && workers.now == c.closeAt); };
        window.Command3_Click();
        const std::wstring named = L"en 210\r\n\r\n" + sys + L"\\msjtes40.dll\r\n    " + c.warning + L"|LumoraRepair";
        EXPECT_EQ(form.warnings, c.warning.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{named});
        EXPECT_EQ(workers.log, c.workers);
        EXPECT_EQ(workers.now, c.endsAt);
        // The others registered once, in order, whatever the middle one did.
        std::vector<std::wstring> loads;
        for (const auto& line : modules.log)
            if (line.rfind(L"load ~msjet", 0) == 0) loads.push_back(line);
        std::vector<std::wstring> others = {L"load ~msjet40.dll", L"load ~msjetoledb40.dll"};
        if (c.closeAt) others.pop_back();
        EXPECT_EQ(loads, others);
        EXPECT_TRUE(form[ctl::Command3].visible);
    }
}

}  // namespace
