#pragma once
// A minimal call object around the address of an exported procedure: an interface table of
// four slots (QueryInterface, AddRef, Release, the call) whose fourth slot calls the address
// with no arguments. The call slot is an ordinary function of ours: no code is ever written
// into data memory, which data execution prevention would refuse to run.
#include <cstdint>

#include "platform/modules.h"

namespace modFunctionDelegator {

struct DelegatorObject;

struct DelegatorTable {
    std::int32_t(LR_WINAPI* QueryInterface)(DelegatorObject* self, const void* iid, void** result);
    std::uint32_t(LR_WINAPI* AddRef)(DelegatorObject* self);
    std::uint32_t(LR_WINAPI* Release)(DelegatorObject* self);
    std::int32_t(LR_WINAPI* Call)(DelegatorObject* self);
};

// Laid out as a COM object: the table first.
struct DelegatorObject {
    const DelegatorTable* VTable;
    os::EntryPoint EntryAddress;
    std::int32_t RefCount;
};

inline constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002u);  // E_NOINTERFACE
inline constexpr std::int32_t kErrorOutOfMemory = 7;

// The two tables, set up once on first use and kept for the rest of the run.
extern const DelegatorTable* OkQueryTable;
extern const DelegatorTable* FailQueryTable;
void InitDelegatorTables();

// A new object with RefCount 1 and OkQueryTable in force, in memory of the task allocator
// (which frees it on the last Release); raises error 7 when there is none.
DelegatorObject* NewDelegator(os::Modules& modules, os::EntryPoint address);

}  // namespace modFunctionDelegator
