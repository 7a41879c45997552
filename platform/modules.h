#pragma once
// Component modules: loading a file, finding an exported procedure, freeing the file, and
// the COM task allocator that the call objects of register/ live in.
#include <cstddef>
#include <cstdint>
#include <string>

// The calling convention of exported procedures and COM methods: stdcall on 32-bit x86
// Windows, the one convention there is everywhere else.
#if defined(_WIN32) && defined(__i386__)
#define LR_WINAPI __stdcall
#else
#define LR_WINAPI
#endif

namespace os {

using ModuleHandle = std::uintptr_t;  // 0: no module
// An exported procedure that takes nothing and returns an HRESULT, as DllRegisterServer.
using EntryPoint = std::int32_t(LR_WINAPI*)();

class Modules {
public:
    virtual ~Modules() = default;
    // LoadLibraryExW so that a component's own dependencies resolve from its folder, as the
    // system's registration tool loads it, and never from the exe's or the current folder.
    // On failure 0, with the system's error code in `error`.
    virtual ModuleHandle Load(const std::wstring& path, std::uint32_t& error) = 0;
    // GetProcAddress with the name in the ANSI code page; null when it is not exported.
    virtual EntryPoint FindEntryPoint(ModuleHandle module, const std::wstring& name) = 0;
    virtual void Free(ModuleHandle module) = 0;
    // CoTaskMemAlloc / CoTaskMemFree.
    virtual void* TaskMemAlloc(std::size_t bytes) = 0;
    virtual void TaskMemFree(void* memory) = 0;
};

}  // namespace os
