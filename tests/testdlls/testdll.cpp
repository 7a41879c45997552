// A component of our own for the tests: a DLL that registers with the result it was built
// for (S_OK unless told otherwise) and carries whatever version resource it was given.
#include <windows.h>

#ifndef LR_TESTDLL_RESULT
#define LR_TESTDLL_RESULT S_OK
#endif

#ifndef LR_TESTDLL_NO_EXPORT
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    return static_cast<HRESULT>(LR_TESTDLL_RESULT);
}
#else
// Something to export, so the linker does not export every symbol instead.
extern "C" int STDAPICALLTYPE LrTestDllHasNoRegistration() { return 1; }
#endif
