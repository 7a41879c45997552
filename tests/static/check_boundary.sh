#!/bin/sh
# <windows.h> and Win32 calls belong under platform/ (and in tests of the real platform):
# the logic must build and run on Linux against fakes.
set -eu
cd "$1"
where='app probes register registry tests/unit tests/fakes platform/*.h platform/*.cpp'
bad=$(grep -rlE '#include[[:space:]]*[<"](windows|winreg|winuser|winbase|commctrl|shlobj|shellapi|winver)\.h[>"]' \
        $where 2>/dev/null || true)
calls=$(grep -rnE '\b(RegOpenKeyExA|RegQueryValueExA|GetFileVersionInfo[A-Za-z]*|SHGetFolderPath[AW]?|LoadLibrary(Ex)?[AW]?|GetShortPathName[AW]?|GetVersionExA|SendMessage[AW]?|CreateWindowEx[AW]?)[[:space:]]*\(' \
        $where 2>/dev/null || true)
# entry/ takes <windows.h> for WinMain's own signature alone.
bad="$bad$(grep -rlE '#include[[:space:]]*[<"](winreg|winuser|winbase|commctrl|shlobj|shellapi|winver|ole2|objbase)\.h[>"]' \
        entry 2>/dev/null || true)"
calls="$calls$(grep -rnE '\b(OleInitialize|CoInitialize(Ex)?|GetCommandLineW|MessageBoxW)[[:space:]]*\(' entry 2>/dev/null || true)"
if [ -n "$bad$calls" ]; then
  printf 'Windows headers or calls outside platform/:\n%s\n%s\n' "$bad" "$calls"
  exit 1
fi
echo "windows.h and Win32 calls only under platform/win32 and the platform tests (entry: WinMain alone)"
