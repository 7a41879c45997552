// The registration worker, the product's exe under Wine, as the window starts it and as
// anyone else might: whom it serves, which windows of a call count as asking the user, and
// what a component's own programs get of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <string>

#include "platform/win32/workers_win32.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace testdlls;

// Polls for the state a step needs, up to `ms`; false when it never comes.
bool Until(const std::function<bool()>& state, DWORD ms = 30000) {
    for (const DWORD end = GetTickCount() + ms; !state(); Sleep(20))
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
    return true;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t sys[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    return std::wstring(sys) + L"\\" + name;
}

// The exe started with the marker by someone else: a message pipe's client end handed over
// as the window hands it, with a DLL's path waiting on it that is on no list; and starts
// with a listed file waiting that differ from the window's (more after the handshake,
// something before it, an anonymous pipe). Each ends at once with the refusal's code, and
// nothing is loaded.
TEST(WorkersWin32, OnlyTheWindowsOwnStartAndListedFilesAreServed) {
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    const std::wstring listed = SystemFile(L"gridex20.ocx");
    ASSERT_TRUE(CopyFileW(TestDll("ver_0_0_0_0.dll").c_str(), listed.c_str(), FALSE));
    const std::pair<const wchar_t*, std::wstring> starts[] = {
        {L"\"%s\" --registration-worker=%lu", TestDll("ver_0_0_0_0.dll")},
        {L"\"%s\" --registration-worker=%lu x", listed},
        {L"\"%s\" x --registration-worker=%lu", listed},
        {nullptr, listed},  // an anonymous pipe's end
    };
    for (const auto& [form, path] : starts) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(form ? form : L"anonymous")));
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE server = nullptr;
        HANDLE client = nullptr;
        if (!form) {
            ASSERT_TRUE(CreatePipe(&client, &server, &inherited, 0));
        } else {
            const wchar_t* name = L"\\\\.\\pipe\\lrtest-worker";
            server = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1, 4096, 4096, 0,
                                      nullptr);
            client = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
        }
        DWORD bytes = 0;
        ASSERT_TRUE(WriteFile(server, path.data(), static_cast<DWORD>(path.size() * sizeof(wchar_t)), &bytes, nullptr));
        wchar_t command[1024];
        wsprintfW(command, form ? form : L"\"%s\" --registration-worker=%lu", ProductExe().c_str(),
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(client)));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(ProductExe().c_str(), command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &process));
        CloseHandle(client);
        CloseHandle(server);  // a worker that took the path would register it and then end
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(code, static_cast<DWORD>(win32::kRefused));
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    EXPECT_EQ(Recorded(), L"");
    DeleteFileW(listed.c_str());
}

// Through win32::Workers: a Jet file that starts notepad, whose window counts as the worker's
// asking the user and which ends with the worker when it is ended in its call; the pipe never
// reaches notepad (nor is it inheritable in the worker). A window of no size, or one off every
// screen, is nothing a user can answer.
TEST(WorkersWin32, WindowsOfTheCallAndItsPrograms) {
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    ASSERT_TRUE(CopyFileW(TestDll("child.dll").c_str(), SystemFile(L"msjtes40.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(TestDll("offscreen.dll").c_str(), SystemFile(L"msjetoledb40.dll").c_str(), FALSE));
    win32::Workers workers(ProductExe());
    std::unique_ptr<os::RegisterWorker> worker = workers.Start();
    ASSERT_NE(worker, nullptr);
    worker->Send(SystemFile(L"msjtes40.dll"));
    EXPECT_TRUE(Until([] { return FindWindowW(L"Notepad", nullptr) != nullptr; }));
    EXPECT_TRUE(Until([&] { return worker->ShowsWindow(); })) << "notepad's window is the call's";
    EXPECT_EQ(Recorded(L"Inheritable"), L"no");
    worker.reset();
    EXPECT_TRUE(Until([] { return FindWindowW(L"Notepad", nullptr) == nullptr; })) << "notepad outlived the worker";

    worker = workers.Start();
    worker->Send(SystemFile(L"msjetoledb40.dll"));
    EXPECT_TRUE(Until([] { return Recorded(L"Windows") == L"msjetoledb40.dll;"; }));
    EXPECT_FALSE(worker->ShowsWindow());
    worker.reset();
    EXPECT_EQ(Recorded(), L"msjtes40.dll;msjetoledb40.dll;");
    DeleteFileW(SystemFile(L"msjtes40.dll").c_str());
    DeleteFileW(SystemFile(L"msjetoledb40.dll").c_str());
}

}  // namespace
