// The registration worker, the product's exe under Wine, as the window starts it and as anyone
// else might: whom it serves, which windows of a call a user can answer, what a component's
// own programs get of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/win32/workers_win32.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace testdlls;

// Polls for the state a step needs, up to 30 s; false when it never comes.
bool Until(const std::function<bool()>& state) {
    for (const DWORD end = GetTickCount() + 30000; !state(); Sleep(20))
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
    return true;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t sys[MAX_PATH] = {};
    GetSystemDirectoryW(sys, MAX_PATH);
    return std::wstring(sys) + L"\\" + name;
}

// Starts that are not the window's, each with a path waiting behind the handle it names: the
// window's form with a file on no list; with a listed file, more after the handshake, something
// before it, an anonymous pipe's end. Each ends at once with the refusal's code, loading nothing.
TEST(WorkersWin32, OnlyTheWindowsOwnStartAndListedFilesAreServed) {
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    const std::wstring listed = SystemFile(L"gridex20.ocx");
    ASSERT_TRUE(CopyFileW(TestDll("ver_0_0_0_0.dll").c_str(), listed.c_str(), FALSE));
    const wchar_t* const forms[] = {L"\"%s\" --registration-worker=%lu", L"\"%s\" --registration-worker=%lu x",
                                    L"\"%s\" x --registration-worker=%lu", L"\"%s\" --registration-worker=%lu"};
    for (const wchar_t* const& form : forms) {
        const std::wstring path = &form == forms ? TestDll("ver_0_0_0_0.dll") : listed;
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE server = nullptr;
        HANDLE client = nullptr;
        const wchar_t* name = L"\\\\.\\pipe\\lrtest-worker";
        if (&form == forms + 3) CreatePipe(&client, &server, &inherited, 0);
        else server = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE, 1, 4096, 4096, 0, nullptr);
        if (!client) client = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
        DWORD bytes = 0;
        ASSERT_TRUE(WriteFile(server, path.data(), static_cast<DWORD>(path.size() * sizeof(wchar_t)), &bytes, nullptr));
        wchar_t command[1024];
        const auto value = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(client));
        wsprintfW(command, form, ProductExe().c_str(), value);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(ProductExe().c_str(), command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &process));
        CloseHandle(client);
        CloseHandle(server);  // a worker that took the path would register it and then end
        DWORD code = 0;
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(code, static_cast<DWORD>(win32::kRefused)) << &form - forms;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
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
    win32::Workers workers(ProductExe());
    std::unique_ptr<os::RegisterWorker> worker = workers.Start();
    worker->Send(SystemFile(L"msjtes40.dll"));
    EXPECT_TRUE(Until([&] { return FindWindowW(L"Notepad", nullptr) && worker->ShowsWindow(); }));
    EXPECT_EQ(Recorded(L"Kept"), L"msjtes40.dll;");
    worker = workers.Start();  // the last one ended in its call
    EXPECT_TRUE(Until([] { return !FindWindowW(L"Notepad", nullptr); })) << "notepad outlived its worker";
    worker->Send(SystemFile(L"msjetoledb40.dll"));
    EXPECT_TRUE(Until([] { return Recorded(L"Windows") == L"msjetoledb40.dll;"; }));
    EXPECT_FALSE(worker->ShowsWindow());
    worker.reset();
    DeleteFileW(SystemFile(L"msjtes40.dll").c_str());
    DeleteFileW(SystemFile(L"msjetoledb40.dll").c_str());
}

}  // namespace
