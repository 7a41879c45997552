// Registration on the real loader under Wine: hostile files made here in a folder of the test
// and our recording test DLLs, one worker given paths of each length, the DLL search the
// program sets at start, the system's texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/dll_search.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/texts_win32.h"
#include "platform/win32/versions_win32.h"
#include "platform/win32/workers_win32.h"
#include "probes/modAPI.h"
#include "testdlls/test_dlls.h"

namespace {

using namespace testdlls;
using modDLLRegister::HResultFromWin32;

// A folder of the test's own below the temporary folder.
std::wstring Folder(const wchar_t* name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directory(dir);
    return dir.wstring() + L"\\";
}

// With the prefix that lets a path run past 260 characters.
bool Copy(const char* dll, const std::wstring& to) {
    return CopyFileW(TestDll(dll).c_str(), (L"\\\\?\\" + to).c_str(), FALSE);
}

// Each file as the pages see it (its version text, text 102 when it has none) and as the
// re-register commands do: success, what its entry point returned, none exported, or the
// loader's reason as the HRESULT that carries it (exact where it is one of ours, also one
// above 255); a locked one's reason for not opening.
TEST(HostileWin32, FilesAsThePagesAndTheLoaderSeeThem) {
    const std::wstring dir = Folder(L"lrhostile");
    std::ifstream in(std::filesystem::path(TestDll("ver_2_80_1022_3.dll")), std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), {}};
    std::string cut = good;
    const std::size_t at = cut.find(std::string("V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O", 29));
    ASSERT_NE(at, std::string::npos);
    cut[at - 4] = 10;  // its fixed record cut to 10 bytes
    cut[at - 3] = 0;
    const std::pair<const wchar_t*, std::string> written[] = {
        {L"cut.dll", cut}, {L"half.dll", good.substr(0, good.size() / 2)}, {L"empty.dll", ""},
        {L"text.dll", "MZ no DLL"}};
    for (const auto& [name, bytes] : written)
        std::ofstream(std::filesystem::path(dir + name), std::ios::binary) << bytes;
    CreateDirectoryW((dir + L"folder.dll").c_str(), nullptr);
    std::wstring deep = dir;
    while (deep.size() < 300) CreateDirectoryW((L"\\\\?\\" + (deep += L"deep_folder_name\\")).c_str(), nullptr);
    for (const std::wstring& to : {deep + L"long.dll", dir + L"\u0416\u4E2D.dll", dir + L"locked.dll"})
        ASSERT_TRUE(Copy("ver_2_80_1022_3.dll", to));
    // Held open by another without sharing: the user may not read it.
    const HANDLE lock = CreateFileW((dir + L"locked.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    win32::VersionResources versions;
    win32::Texts texts;
    const std::wstring none = texts.Text(102);
    const std::wstring version = L"2.80.1022 (Build 3)";
    const std::int32_t reason = 1;  // any reason the loader gives
    struct Case { std::wstring path; std::wstring version; std::int32_t result; };
    // A file cut in half keeps its resources here and is shown as present, but does not load.
    const Case cases[] = {
        {dir + L"cut.dll", none, 0}, {dir + L"half.dll", version, reason}, {dir + L"empty.dll", none, reason},
        {dir + L"text.dll", none, reason}, {dir + L"folder.dll", none, reason}, {deep + L"long.dll", version, 0},
        {dir + L"\u0416\u4E2D.dll", version, 0}, {dir + L"locked.dll", none, reason},
        {TestDll("otherarch.dll"), L"3.2.1 (Build 0)", HResultFromWin32(ERROR_BAD_EXE_FORMAT)},
        {TestDll("initfails.dll"), none, HResultFromWin32(ERROR_DLL_INIT_FAILED)},
        {TestDll("denied.dll"), L"1.0.0 (Build 0)", static_cast<std::int32_t>(0x80070005u)},
        {TestDll("noexport.dll"), none, modDLLRegister::kEntryPointNotFound},
    };
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.path.end() - 12, c.path.end())));
        EXPECT_EQ(modAPI::GetFileVersionString(versions, texts, c.path, true), c.version);
        const auto result = static_cast<std::uint32_t>(Register(c.path));
        if (c.result != reason) EXPECT_EQ(result, static_cast<std::uint32_t>(c.result)) << std::hex << result;
        else EXPECT_EQ(result >> 16, 0x8007u) << std::hex << result;  // a Win32 error's HRESULT
    }
    // cut.dll, the deep one (which knows its own name only cut to MAX_PATH), Ж中.dll, denied.dll
    const std::wstring calls = Recorded();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), L';'), 4) << calls;
    // Why a listed file no longer reads: the system's reason for the lock.
    EXPECT_EQ(win32::System().OpenError(dir + L"locked.dll"), HResultFromWin32(ERROR_SHARING_VIOLATION));
    CloseHandle(lock);
    RecordProperty("hostile_files", static_cast<int>(std::size(cases)));  // for scripts/hostile.sh
}

// The search set at start: version.dll and shfolder.dll from the system folder; a
// component's helper from the component's own folder, and never a decoy of those names
// beside the exe or in the current folder (decoys record their loading).
TEST(HostileWin32, NothingIsLoadedFromTheExeOrTheCurrentFolder) {
    const std::wstring dir = Folder(L"lrplant");
    std::wstring exeDir = win32::System().ModuleFileName();
    exeDir.erase(exeDir.rfind(L'\\') + 1);
    const wchar_t* const names[] = {L"version.dll", L"shfolder.dll", L"lrdep.dll"};
    // Wine keeps the current folder on the search path after SetDllDirectoryW(L"") (Windows
    // takes it off from XP SP1 on): on XP's way only the exe's folder holds decoys here.
    std::vector<std::wstring> places{exeDir};
    if (!AsXP()) places.push_back(dir);
    for (const wchar_t* name : names) DeleteFileW((dir + name).c_str());  // an earlier run's
    for (const std::wstring& place : places)
        for (const wchar_t* name : names) ASSERT_TRUE(Copy("decoy.dll", place + name));
    for (const wchar_t* sub : {L"alone\\", L"pair\\"}) {
        CreateDirectoryW((dir + sub).c_str(), nullptr);
        ASSERT_TRUE(Copy("withdep.dll", dir + sub + L"withdep.dll"));
    }
    ASSERT_TRUE(Copy("lrdep.dll", dir + L"pair\\lrdep.dll"));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.c_str()));
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");

    // XP has no default search to restrict (Wine offers it): there only the current folder goes.
    EXPECT_EQ(win32::RestrictDllSearch(), !AsXP());
    {
        win32::VersionResources versions;  // each loads its system library on being made
        win32::Folders folders;
    }
    if (!AsXP()) {
        EXPECT_EQ(LoadLibraryW(L"lrdep.dll"), nullptr) << "the default search has the system folder alone";
    }
    EXPECT_EQ(Register(dir + L"alone\\withdep.dll"), HResultFromWin32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(Register(dir + L"pair\\withdep.dll"), 0);
    EXPECT_EQ(Recorded(L"Loads"), L"");
    EXPECT_EQ(Recorded(), L"withdep.dll;");

    SetCurrentDirectoryW(exeDir.c_str());
    for (const wchar_t* name : names) DeleteFileW((exeDir + name).c_str());
    RecordProperty("hostile_planting", 5);  // the loads tried among decoys
}

// One worker given listed files' paths, the longest first: each path reaches it whole, so
// each file is registered.
TEST(RegisterWin32, OneWorkerTakesPathsOfEachLength) {
    const std::wstring mdac = _wgetenv(L"CommonProgramFiles") + std::wstring(L"\\System\\ado\\MSADOX.DLL");
    const std::wstring paths[] = {mdac, SystemFile(L"actbar2.ocx"), SystemFile(L"mswstr10.dll")};
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumoraRepairTests");
    const std::unique_ptr<os::RegisterWorker> worker = win32::Workers(ProductExe()).Start();
    for (const std::wstring& path : paths) {
        ASSERT_TRUE(Copy("ver_0_0_0_0.dll", path));
        worker->Send(path);
        // Answered, or refused (a path cut or run on is on no list) and the worker gone.
        EXPECT_TRUE(Until([&] { return worker->Wait(100).end != os::CallEnd::Waiting; }));
    }
    EXPECT_EQ(Recorded(), L"MSADOX.DLL;actbar2.ocx;mswstr10.dll;");
    for (const std::wstring& path : paths) DeleteFileW(path.c_str());
}

TEST(RegisterWin32, SystemTexts) {
    win32::System system;
    // The text for the other architecture takes the file's name; neither it nor one with more
    // inserts (the message number and file of ERROR_MR_MID_NOT_FOUND) shows a raw insert.
    const auto text = [&](std::uint32_t code) { return system.ErrorText(static_cast<std::int32_t>(code), L"x86.dll"); };
    EXPECT_NE(text(0x800700C1u).find(L"x86.dll"), std::wstring::npos);
    for (const std::uint32_t code : {0x800700C1u, 0x8007013Du})
        EXPECT_EQ(text(code).find(L'%'), std::wstring::npos) << code;
}

}  // namespace
