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

// Starts that are not the window's, each with a path waiting behind the handle it names: the
// window's form with a file on no list, which the worker refuses; with a listed file, more
// after the handshake, something before it, the pipe's other end, each a user's wrong command
// line. None loads anything.
TEST(WorkersWin32, OnlyTheWindowsOwnStartAndListedFilesAreServed) {
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    const std::wstring listed = SystemFile(L"gridex20.ocx");
    ASSERT_TRUE(CopyFileW(TestDll("ver_0_0_0_0.dll").c_str(), listed.c_str(), FALSE));
    const wchar_t* const forms[] = {L"\"%s\" --registration-worker=%lu", L"\"%s\" --registration-worker=%lu x",
                                    L"\"%s\" x --registration-worker=%lu", L"\"%s\" --registration-worker=%lu"};
    for (int i = 0; i < 4; ++i) {
        const std::wstring path = i ? listed : TestDll("ver_0_0_0_0.dll");
        const wchar_t* name = L"\\\\.\\pipe\\lrtest-worker";
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        const HANDLE server = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE, 1, 512, 512, 0, &inherited);
        const HANDLE client = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
        DWORD bytes = 0;
        const DWORD size = static_cast<DWORD>(path.size() * sizeof(wchar_t));
        ASSERT_TRUE(WriteFile(i == 3 ? client : server, path.data(), size, &bytes, nullptr));
        wchar_t command[1024];
        const auto handed = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(i == 3 ? server : client));
        wsprintfW(command, forms[i], ProductExe().c_str(), handed);
        // The C library's spawn hands on every inheritable handle and puts the command line as given.
        const intptr_t started = _wspawnl(_P_NOWAIT, ProductExe().c_str(), command, nullptr);
        ASSERT_NE(started, -1);
        CloseHandle(client);
        CloseHandle(server);  // a worker that took the path would register it and then end
        int code = 0;
        _cwait(&code, started, 0);
        EXPECT_EQ(code, i ? app::kExitWrongCommandLine : win32::kRefused) << i;
    }
    EXPECT_EQ(Recorded(), L"");
    DeleteFileW(listed.c_str());
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
