#!/bin/sh
# Sets everything up, builds, and runs LumoraRepair.exe under Wine: in a real window when
# $DISPLAY is set; otherwise under Xvfb, saving a PNG of every page to build/screenshots.
# The 64-bit build runs here, natively under wine64 (the 32-bit Wine of the tests runs under
# qemu); the 32-bit product is built beside it and its size printed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/setup.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  # Of win32 the product alone; its tests are the test command's.
  cmake --build --preset "$preset" $([ "$preset" = win32 ] && echo --target LumoraRepair) -j2 | grep -E "LumoraRepair.exe \(|error" || true
done
export WINEPREFIX="$root/build/run-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || sh scripts/wine-prefix.sh "$WINEPREFIX"
exe="$root/build/win64/LumoraRepair.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine64 "$exe"
fi
shots="$root/build/screenshots"
rm -rf "$shots"; mkdir -p "$shots"
xvfb-run -a -s "-screen 0 800x600x24" sh scripts/screenshots.sh "$exe" "$shots"
echo "Screenshots in $shots:"
ls "$shots"
