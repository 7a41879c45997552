#pragma once
#include "platform/modules.h"

namespace win32 {

class Modules : public os::Modules {
public:
    os::ModuleHandle Load(const std::wstring& path, std::uint32_t& error) override;
    os::EntryPoint FindEntryPoint(os::ModuleHandle module, const std::wstring& name) override;
    void Free(os::ModuleHandle module) override;
    void* TaskMemAlloc(std::size_t bytes) override;
    void TaskMemFree(void* memory) override;
};

}  // namespace win32
