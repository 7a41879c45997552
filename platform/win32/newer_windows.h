#pragma once
// Functions of Windows versions after XP SP3, the oldest system the program starts on. XP's
// loader refuses an exe that imports a function it lacks, before any of our code runs, so
// these are never imported: they are looked up by name here, the one place that does, and
// every caller has an XP way beside them.
#include <windows.h>

namespace win32::newer {

// Windows 7 on: the error mode of the calling thread alone.
using SetThreadErrorModeProc = BOOL(WINAPI*)(DWORD mode, DWORD* previous);
SetThreadErrorModeProc SetThreadErrorMode();

// Windows 8 on, Vista and 7 with their 2011 update: the default DLL search. The same
// systems take LoadLibraryEx's LOAD_LIBRARY_SEARCH_ flags.
using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD flags);
SetDefaultDllDirectoriesProc SetDefaultDllDirectories();
bool HasSearchFlags();

// For the tests of the XP way: from now on every function here is reported missing.
void ReportMissing();

}  // namespace win32::newer
