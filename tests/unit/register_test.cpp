// The call object and RegisterComponent, on made-up component files whose entry points
// are real functions of this test, so the call slot really calls.
#include <gtest/gtest.h>

#include "fakes/fake_modules.h"
#include "register/RegisterError.h"
#include "register/modDLLRegister.h"
#include "register/modFunctionDelegator.h"

namespace {

using namespace modFunctionDelegator;
std::vector<std::wstring>* callLog = nullptr;

template <std::int32_t Result>
std::int32_t LR_WINAPI Entry() {
    callLog->push_back(L"call " + std::to_wstring(Result));
    return Result;
}

TEST(CallObject, FirstQueryGivesItselfOnceAndTheLastReleaseFreesIt) {
    fakes::FakeModules modules;
    DelegatorObject* object = NewDelegator(modules, &Entry<0>);
    EXPECT_EQ(object->RefCount, 1);
    EXPECT_EQ(object->VTable, OkQueryTable);
    void* result = nullptr;
    EXPECT_EQ(object->VTable->QueryInterface(object, nullptr, &result), 0);
    EXPECT_EQ(result, object);
    EXPECT_EQ(object->RefCount, 2);
    EXPECT_EQ(object->VTable, FailQueryTable);
    EXPECT_EQ(object->VTable->QueryInterface(object, nullptr, &result), kNoInterface);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(object->VTable->AddRef(object), 3u);
    std::vector<std::wstring> log;
    callLog = &log;
    EXPECT_EQ(object->VTable->Call(object), 0);
    EXPECT_EQ(log, std::vector<std::wstring>{L"call 0"});
    EXPECT_EQ(object->VTable->Release(object), 2u);
    EXPECT_EQ(object->VTable->Release(object), 1u);
    EXPECT_EQ(modules.objectsAlive, 1);
    EXPECT_EQ(object->VTable->Release(object), 0u);
    EXPECT_EQ(modules.objectsAlive, 0);
    modules.allocFails = true;
    try {
        NewDelegator(modules, &Entry<0>);
        ADD_FAILURE() << "no memory must raise";
    } catch (const RegisterError& e) {
        EXPECT_EQ(e.Number(), 7);
    }
}

struct Outcome {
    bool raised = false;
    std::int32_t number = 0;
};

Outcome Register(fakes::FakeModules& modules, const std::wstring& path) {
    try {
        modDLLRegister::RegisterComponent(modules, path, L"DllRegisterServer");
    } catch (const RegisterError& e) {
        modules.log.push_back(L"raised");
        return {true, e.Number()};
    }
    return {};
}

TEST(RegisterComponent, EveryOutcomeFreesTheModuleBeforeTheCallerHears) {
    fakes::FakeModules modules;
    callLog = &modules.log;
    modules.files[L"ok.dll"].exports[L"DllRegisterServer"] = &Entry<0>;
    modules.files[L"false.dll"].exports[L"DllRegisterServer"] = &Entry<1>;
    modules.files[L"fails.dll"].exports[L"DllRegisterServer"] = &Entry<static_cast<std::int32_t>(0x80070005u)>;
    modules.files[L"none.dll"].exports[L"DllUnregisterServer"] = &Entry<0>;

    EXPECT_FALSE(Register(modules, L"").raised);
    EXPECT_TRUE(modules.log.empty()) << "an empty path loads nothing";

    // Two calls, two objects: the first is freed before the second is made.
    EXPECT_FALSE(Register(modules, L"ok.dll").raised);
    EXPECT_FALSE(Register(modules, L"false.dll").raised);
    EXPECT_EQ(modules.log, (std::vector<std::wstring>{L"load ok.dll", L"alloc", L"call 0", L"free object",
                                                      L"free ok.dll", L"load false.dll", L"alloc", L"call 1",
                                                      L"free object", L"free false.dll"}));
    modules.log.clear();

    const Outcome failed = Register(modules, L"fails.dll");
    EXPECT_EQ(failed.number, static_cast<std::int32_t>(0x80070005u));
    const Outcome noExport = Register(modules, L"none.dll");
    EXPECT_EQ(noExport.number, modDLLRegister::kEntryPointNotFound);
    const Outcome missing = Register(modules, L"missing.dll");
    EXPECT_EQ(missing.number, static_cast<std::int32_t>(0x80070002u));
    modules.allocFails = true;
    const Outcome noMemory = Register(modules, L"ok.dll");
    EXPECT_EQ(noMemory.number, 7);
    EXPECT_EQ(modules.log,
              (std::vector<std::wstring>{L"load fails.dll", L"alloc", L"call -2147024891", L"free object",
                                         L"free fails.dll", L"raised", L"load none.dll", L"free none.dll", L"raised",
                                         L"raised", L"load ok.dll", L"free ok.dll", L"raised"}));
    EXPECT_EQ(modules.objectsAlive, 0);
    EXPECT_EQ(modDLLRegister::HResultFromWin32(0), static_cast<std::int32_t>(0x80004005u));
}

}  // namespace
