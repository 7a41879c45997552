#!/bin/sh
# Makes a fresh Wine prefix for one test run and starts its wineserver so later tests are quick.
# Usage: wine-prefix.sh PREFIX [plain]   (plain: Wine's default fonts alone, as a user's prefix)
set -eu
prefix=$1 fonts=${2:-wine}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
rm -rf "$prefix"
mkdir -p "$prefix"
/usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
# Wine draws with its own fonts (Tahoma, MS Sans Serif, Marlett for the caption buttons) only
# when they are in the prefix; otherwise it substitutes wider ones and the screenshots mislead.
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
  [ "$fonts" = plain ] || { [ -f "$font" ] && ln -sf "$font" "$prefix/drive_c/windows/Fonts/"; }
done
# One virtual desktop: Wine then draws window frames itself, so screenshots show the caption
# bar even though Xvfb runs no window manager.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
# A persistent server: started this way, its services do not hold ctest's pipe open.
/usr/lib/wine/wineserver -p60 </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
test -f "$prefix/system.reg"
