// The registration worker, the product's exe under Wine, as the window starts it and as anyone
// else might: whom it serves, which windows of a call a user can answer, what a component's
// own programs get of it.
#include <windows.h>
#include <process.h>

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "platform/win32/workers_win32.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace testdlls;

// The window's worker given a file on no list refuses it. Starts that are not the window's,
// each a user's wrong command line: more after the handshake, something before it, the pipe's
// other end.
TEST(WorkersWin32, OnlyTheWindowsOwnStartAndListedFilesAreServed) {
    const std::unique_ptr<os::RegisterWorker> worker = win32::Workers(ProductExe()).Start();
    worker->Send(TestDll("ver_0_0_0_0.dll"));
    // Refused: the worker's end, with the code no call answers.
    EXPECT_TRUE(Until([&] { return worker->Wait(100).code == win32::kRefused; })) << "the file on no list";
    const wchar_t* const forms[] = {L"\"%s\" --registration-worker=%lu x", L"\"%s\" x --registration-worker=%lu",
                                    L"\"%s\" --registration-worker=%lu"};
    for (const wchar_t* form : forms) {
        const wchar_t* name = L"\\\\.\\pipe\\lrtest-worker";
        const HANDLE server = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE, 1, 512, 512, 0, nullptr);
        const HANDLE client = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const HANDLE handed = form == forms[2] ? server : client;  // the last form hands the pipe's other end
        // The worker's only end: a start taken for the window's reads a broken pipe and ends with 0.
        SetHandleInformation(handed, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        wchar_t command[1024];
        wsprintfW(command, form, ProductExe().c_str(), static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(handed)));
        // The C library's spawn hands on every inheritable handle and puts the command line as given.
        const intptr_t started = _wspawnl(_P_NOWAIT, ProductExe().c_str(), command, nullptr);
        ASSERT_NE(started, -1);
        CloseHandle(client);
        CloseHandle(server);
        int code = 0;
        _cwait(&code, started, 0);
        EXPECT_EQ(code, app::kExitWrongCommandLine) << testing::PrintToString(form);
    }
}

// Through win32::Workers: a Jet file that starts notepad, whose window is the call's and which
// ends with the worker ended in its call; the pipe is not inheritable in the worker, so notepad
// never holds it. A window of no size and one off every screen are nothing a user can answer.
TEST(WorkersWin32, WindowsOfTheCallAndItsPrograms) {
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    ASSERT_TRUE(CopyFileW(TestDll("child.dll").c_str(), SystemFile(L"msjtes40.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestDll("offscreen.dll").c_str(), SystemFile(L"msjetoledb40.dll").c_str(), FALSE));
    // Wine's desktop started by the test, not by a worker's program: its job would end it.
    GetDesktopWindow();
    win32::Workers workers(ProductExe());
    std::unique_ptr<os::RegisterWorker> worker = workers.Start();
    worker->Send(SystemFile(L"msjtes40.dll"));
    // A first start of notepad under the 32-bit Wine's emulation, beside other work, takes its time.
    EXPECT_TRUE(Until([] { return FindWindowW(L"Notepad", nullptr) != nullptr; }, 300000));
    EXPECT_TRUE(Until([&] { return worker->ShowsWindow(); }));
    EXPECT_EQ(Recorded(L"Kept"), L"msjtes40.dll;");
    worker = workers.Start();  // the last one ended in its call
    EXPECT_TRUE(Until([] { return !FindWindowW(L"Notepad", nullptr); })) << "notepad outlived its worker";
    worker->Send(SystemFile(L"msjetoledb40.dll"));
    EXPECT_TRUE(Until([] { return Recorded(L"Windows") == L"msjetoledb40.dll;"; }));
    EXPECT_FALSE(worker->ShowsWindow());
    worker.reset();
    for (const wchar_t* name : {L"msjtes40.dll", L"msjetoledb40.dll"}) DeleteFileW(SystemFile(name).c_str());
}

}  // namespace
