#!/bin/sh
# <windows.h> and Win32 calls belong under platform/ (and in tests of the real platform):
# the logic must build and run on Linux against fakes.
set -eu
root=$1
cd "$root"
bad=$(grep -rlE '#include[[:space:]]*[<"](windows|winreg|winuser|winbase|commctrl|shlobj|shellapi|winver)\.h[>"]' \
        app probes register registry tests/unit tests/fakes platform/*.h platform/*.cpp 2>/dev/null || true)
calls=$(grep -rnE '\b(RegOpenKeyExA|RegQueryValueExA|GetFileVersionInfo[A-Za-z]*|SHGetFolderPath[AW]?|LoadLibrary(Ex)?[AW]?|GetShortPathName[AW]?|GetVersionExA|SendMessage[AW]?|CreateWindowEx[AW]?)[[:space:]]*\(' \
        app probes register registry tests/unit tests/fakes platform/*.h platform/*.cpp 2>/dev/null || true)
if [ -n "$bad$calls" ]; then
  echo "Windows headers or calls outside platform/:"
  [ -n "$bad" ] && echo "$bad"
  [ -n "$calls" ] && echo "$calls"
  exit 1
fi
echo "windows.h and Win32 calls only under platform/win32 and the platform tests"
