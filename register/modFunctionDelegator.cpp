#include "register/modFunctionDelegator.h"

#include <new>

#include "register/RegisterError.h"

namespace modFunctionDelegator {
namespace {

DelegatorTable okTable, failTable;
// The allocator that objects go back to on their last Release: the one they came from.
os::Modules* taskAllocator = nullptr;

// The first query hands out the object itself and switches it to the failing table, so
// that any further query fails.
std::int32_t LR_WINAPI OkQueryInterface(DelegatorObject* self, const void*, void** result) {
    *result = self;
    ++self->RefCount;
    self->VTable = FailQueryTable;
    return 0;
}

std::int32_t LR_WINAPI FailQueryInterface(DelegatorObject*, const void*, void** result) {
    *result = nullptr;
    return kNoInterface;
}

std::uint32_t LR_WINAPI AddRef(DelegatorObject* self) { return static_cast<std::uint32_t>(++self->RefCount); }

std::uint32_t LR_WINAPI Release(DelegatorObject* self) {
    const std::int32_t count = --self->RefCount;
    if (count == 0) taskAllocator->TaskMemFree(self);
    return static_cast<std::uint32_t>(count);
}

// Called like the procedure itself, so it starts with nothing of ours on the stack that it
// would have to remove, and its result comes straight back.
std::int32_t LR_WINAPI Call(DelegatorObject* self) { return self->EntryAddress(); }

}  // namespace

const DelegatorTable* OkQueryTable = nullptr;
const DelegatorTable* FailQueryTable = nullptr;

void InitDelegatorTables() {
    okTable = {OkQueryInterface, AddRef, Release, Call};
    failTable = {FailQueryInterface, AddRef, Release, Call};
    FailQueryTable = &failTable;
    OkQueryTable = &okTable;
}

DelegatorObject* NewDelegator(os::Modules& modules, os::EntryPoint address) {
    if (!OkQueryTable) InitDelegatorTables();
    void* memory = modules.TaskMemAlloc(sizeof(DelegatorObject));
    if (!memory) throw RegisterError(kErrorOutOfMemory, L"modFunctionDelegator", L"Out of memory");
    taskAllocator = &modules;
    return new (memory) DelegatorObject{OkQueryTable, address, 1};
}

}  // namespace modFunctionDelegator
