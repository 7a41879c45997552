#pragma once
// Re-registering one component file: load it, call its registration entry point, free it.
#include <cstdint>
#include <string>

namespace os {
class Modules;
}

namespace modDLLRegister {

// HRESULT_FROM_WIN32 of ERROR_PROC_NOT_FOUND: the file exports no such entry point.
inline constexpr std::int32_t kEntryPointNotFound = static_cast<std::int32_t>(0x8007007Fu);

// HRESULT_FROM_WIN32: a system error code as the HRESULT that carries it.
std::int32_t HResultFromWin32(std::uint32_t error);

// An empty path does nothing. Otherwise the file is loaded, sEntryPoint called through a
// call object, and the file freed on every path. Raises RegisterError carrying the entry
// point's negative result, the system's reason when the file cannot be loaded,
// kEntryPointNotFound when it exports no such entry point, or 7 when there is no memory.
// S_OK and S_FALSE are success.
void RegisterComponent(os::Modules& modules, const std::wstring& sFile, const std::wstring& sEntryPoint);

// RegisterComponent with "DllRegisterServer", read as a number: 0, or the raised error's.
// What a registration worker answers for a path, and what the calls in the window's own
// process count by.
std::int32_t RegisterServer(os::Modules& modules, const std::wstring& sFile);

}  // namespace modDLLRegister
