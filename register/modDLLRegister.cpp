#include "register/modDLLRegister.h"

#include "platform/modules.h"
#include "register/RegisterError.h"
#include "register/modFunctionDelegator.h"

namespace modDLLRegister {
namespace {

using modFunctionDelegator::DelegatorObject;

constexpr wchar_t kSource[] = L"modDLLRegister";
constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);  // E_FAIL

// What is held for the call: freed in reverse order however the call ends, the call object
// before the module that its address points into.
class LoadedModule {
public:
    LoadedModule(os::Modules& modules, os::ModuleHandle handle) : modules_(modules), handle_(handle) {}
    ~LoadedModule() { modules_.Free(handle_); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

private:
    os::Modules& modules_;
    os::ModuleHandle handle_;
};

class CallReference {
public:
    explicit CallReference(DelegatorObject* object) : object_(object) {}
    ~CallReference() {
        if (object_) object_->VTable->Release(object_);
    }
    CallReference(const CallReference&) = delete;
    CallReference& operator=(const CallReference&) = delete;
    DelegatorObject* operator->() const { return object_; }

private:
    DelegatorObject* object_;
};

}  // namespace

std::int32_t HResultFromWin32(std::uint32_t error) {
    if (error == 0) return kFail;  // failed without saying why
    return static_cast<std::int32_t>((error & 0xFFFFu) | 0x80070000u);
}

void RegisterComponent(os::Modules& modules, const std::wstring& sFile, const std::wstring& sEntryPoint) {
    if (sFile.empty()) return;
    std::uint32_t error = 0;
    const os::ModuleHandle handle = modules.Load(sFile, error);
    if (!handle) throw RegisterError(HResultFromWin32(error), kSource, L"'" + sFile + L"' could not be loaded");
    LoadedModule module(modules, handle);

    // A file without the entry point is never called.
    const os::EntryPoint entry = modules.FindEntryPoint(handle, sEntryPoint);
    if (!entry) throw RegisterError(kEntryPointNotFound, kSource, L"'" + sFile + L"' has no entry point " + sEntryPoint);

    // The first query gives the object under the interface whose fourth slot is the call;
    // the reference of its making is then given back.
    DelegatorObject* made = modFunctionDelegator::NewDelegator(modules, entry);
    DelegatorObject* queried = nullptr;
    made->VTable->QueryInterface(made, nullptr, reinterpret_cast<void**>(&queried));
    made->VTable->Release(made);
    CallReference call(queried);

    const std::int32_t result = call->VTable->Call(queried);
    if (result < 0) throw RegisterError(result, kSource, L"'" + sFile + L"': " + sEntryPoint + L" failed");
}

std::int32_t RegisterServer(os::Modules& modules, const std::wstring& sFile) {
    try {
        RegisterComponent(modules, sFile, L"DllRegisterServer");
    } catch (const RegisterError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace modDLLRegister
