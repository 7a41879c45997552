// modAPI on fakes (version records and their texts, the Windows version and its cache, folders),
// and RegisterComponent on made-up component files whose entry points are functions of this
// test, so the call object's slot really calls.
#include <gtest/gtest.h>

#include "fakes/fake_folders.h"
#include "fakes/fake_modules.h"
#include "fakes/fake_system.h"
#include "fakes/fake_versions.h"
#include "probes/modAPI.h"
#include "register/RegisterError.h"
#include "register/modDLLRegister.h"

namespace {

// Never more than the record's 52 bytes, never past the end of what was read; a block that
// ends before the file version, none at all or one outside the buffer is no version.
TEST(FileVersion, TextsAndWhatTheBlockAndTheBufferHold) {
    fakes::FakeVersions versions;
    struct Case { std::size_t length, resourceSize, copied; bool root = true; std::size_t offset = 40; };
    for (const Case& c : {Case{80, 156, 52}, Case{52, 60, 20}, Case{15, 156, 0}, Case{52, 55, 0},
                          Case{52, 156, 0, false}, Case{52, 156, 0, true, 1000}}) {
        auto& file = versions.AddVersion(L"x.dll", 65535, 32768, 40000, 7);
        const std::string record(file.resource.begin() + 40, file.resource.begin() + 40 + c.copied);
        file.root = c.root ? std::optional(os::RootBlock{c.offset, c.length}) : std::nullopt;
        file.resource.resize(c.resourceSize);
        modAPI::FixedFileInfo info;
        info.bytes.fill('.');  // each byte the reader leaves as the caller set it
        const bool read = modAPI::ReadFileVersionInfo(versions, L"x.dll", info);
        EXPECT_EQ(read, c.copied > 0) << c.length << " " << c.resourceSize;
        EXPECT_EQ(std::string(info.bytes.begin(), info.bytes.end()), record + std::string(52 - c.copied, '.'));
        if (c.copied == 52) {
            EXPECT_EQ(modAPI::VersionText(info, true), L"65535.32768.40000 (Build 7)");
        }
    }
}

// Classified by platform, major and minor; a recognised system is kept for the run, an
// unrecognised one asked again.
TEST(WindowsVersion, ClassificationAndCache) {
    struct Case { std::uint32_t platform, major, minor; std::int32_t code; };
    const Case cases[] = {{2, 5, 0, 4}, {2, 5, 1, 6}, {2, 5, 2, 7}, {2, 5, 3, 0}, {2, 6, 1, 8}, {2, 4, 0, 3},
                          {2, 10, 0, 0}, {1, 4, 0, 1}, {1, 4, 10, 2}, {1, 4, 90, 5}, {1, 4, 5, 0}};
    fakes::FakeSystem system;
    for (const Case& c : cases) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = {c.platform, c.major, c.minor, 0};
        EXPECT_EQ(modAPI::GetWindowsVersion(system), c.code) << c.platform << " " << c.major << "." << c.minor;
    }
    // After the unrecognised last one: XP is asked and kept, so 98 is never asked.
    for (const os::OsVersion version : {os::OsVersion{2, 5, 1, 0}, os::OsVersion{1, 4, 10, 0}}) {
        system.version = version;
        EXPECT_EQ(modAPI::GetWindowsVersion(system), 6);
    }
    modAPI::ResetWindowsVersionCacheForTests();
}

// The path before its NUL shows on the Windows page (the snapshots); a failure is no path.
TEST(SpecialFolder, EmptyOnFailure) {
    fakes::FakeFolders folders;
    folders.answers[35] = {1, std::wstring(L"C:\\ProgramData") + L'\0'};  // S_FALSE is no success
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 35), L"");
    EXPECT_EQ(modAPI::GetSpecialFolderPath(folders, 0x7F), L"");
}

std::vector<std::wstring>* callLog = nullptr;
template <std::int32_t Result>
std::int32_t LR_WINAPI Entry() {
    callLog->push_back(L"call " + std::to_wstring(Result));
    return Result;
}

// Every outcome frees the call object (on its last release), then the module, before the
// caller hears of it.
TEST(RegisterComponent, EveryOutcomeFreesTheModuleBeforeTheCallerHears) {
    fakes::FakeModules modules;
    callLog = &modules.log;
    constexpr auto kDenied = static_cast<std::int32_t>(0x80070005u);
    modules.files = {{L"ok.dll", {{L"DllRegisterServer", &Entry<0>}}},
                     {L"false.dll", {{L"DllRegisterServer", &Entry<1>}}},
                     {L"fails.dll", {{L"DllRegisterServer", &Entry<kDenied>}}},
                     {L"none.dll", {{L"DllUnregisterServer", &Entry<0>}}}};  // no entry point
    std::vector<std::int32_t> raised;
    for (const wchar_t* path : {L"", L"ok.dll", L"false.dll", L"fails.dll", L"none.dll", L"missing.dll", L"ok.dll"}) {
        modules.allocFails = path == std::wstring(L"ok.dll") && !raised.empty();  // the second time: no memory
        try {
            modDLLRegister::RegisterComponent(modules, path, L"DllRegisterServer");
        } catch (const RegisterError& e) {
            modules.log.push_back(L"raised");
            raised.push_back(e.Number());
        }
    }
    EXPECT_EQ(modules.log, (std::vector<std::wstring>{
                               L"load ok.dll", L"alloc", L"call 0", L"free object", L"free ok.dll", L"load false.dll",
                               L"alloc", L"call 1", L"free object", L"free false.dll", L"load fails.dll", L"alloc",
                               L"call -2147024891", L"free object", L"free fails.dll", L"raised", L"load none.dll",
                               L"free none.dll", L"raised", L"raised", L"load ok.dll", L"free ok.dll", L"raised"}));
    EXPECT_EQ(raised, (std::vector<std::int32_t>{kDenied, modDLLRegister::kEntryPointNotFound,
                                                 static_cast<std::int32_t>(0x80070002u), 7}));  // not found, no memory
    EXPECT_EQ(modules.objectsAlive, 0);
    EXPECT_EQ(modDLLRegister::HResultFromWin32(0), static_cast<std::int32_t>(0x80004005u));
}

}  // namespace
