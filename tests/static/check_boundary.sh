#!/bin/sh
# <windows.h> and Win32 calls belong under platform/ (and in tests of the real platform):
# the logic must build and run on Linux against fakes.
set -eu
cd "$1"
where='app probes register registry tests/unit tests/fakes platform/*.h platform/*.cpp'
headers='windows|winreg|winuser|winbase|commctrl|shlobj|shellapi|winver'
calls='RegOpenKeyExA|RegQueryValueExA|GetFileVersionInfo[A-Za-z]*|SHGetFolderPath[AW]?|LoadLibrary(Ex)?[AW]?'
calls="$calls|GetShortPathName[AW]?|GetVersionExA|SendMessage[AW]?|CreateWindowEx[AW]?"
bad=$(grep -rlE "#include[[:space:]]*[<\"]($headers)\.h[>\"]" $where 2>/dev/null || true)
found=$(grep -rnE "\b($calls)[[:space:]]*\(" $where 2>/dev/null || true)
# entry/ takes <windows.h> for WinMain's own signature alone.
entry_headers='winreg|winuser|winbase|commctrl|shlobj|shellapi|winver|ole2|objbase'
bad="$bad$(grep -rlE "#include[[:space:]]*[<\"]($entry_headers)\.h[>\"]" entry 2>/dev/null || true)"
entry_calls='OleInitialize|CoInitialize(Ex)?|GetCommandLineW|MessageBoxW'
found="$found$(grep -rnE "\b($entry_calls)[[:space:]]*\(" entry 2>/dev/null || true)"
if [ -n "$bad$found" ]; then
  printf 'Windows headers or calls outside platform/:\n%s\n%s\n' "$bad" "$found"
  exit 1
fi
echo "windows.h and Win32 calls only under platform/win32 and the platform tests (entry: WinMain alone)"
