#!/bin/sh
# Makes a fresh Wine prefix for one test run and starts its wineserver so later tests are quick.
# Usage: wine-prefix.sh PREFIX [plain]   (plain: Wine's default fonts alone, as a user's prefix);
#        wine-prefix.sh --end PREFIX ends its wineserver and programs.
# wine64 where it is (win64); the 32-bit loader inside the i386 chroot (win32, through
# scripts/wine32.sh --exec, with WINEARCH=win32).
set -eu
end=false
[ "$1" != --end ] || { end=true; shift; }
prefix=$1 fonts=${2:-wine}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=/usr/lib/wine/wine
server=/usr/lib/wine/wineserver
if $end; then
  "$server" -k </dev/null >/dev/null 2>&1 || true
  exit 0
fi
"$server" -k </dev/null >/dev/null 2>&1 || true
rm -rf "$prefix"
mkdir -p "$prefix"
"$wine" wineboot -i </dev/null >/dev/null 2>&1
# Wine draws with its own fonts (Tahoma, MS Sans Serif, Marlett for the caption buttons) only
# when they are in the prefix; otherwise it substitutes wider ones and the screenshots mislead.
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
  [ "$fonts" = plain ] || { [ -f "$font" ] && ln -sf "$font" "$prefix/drive_c/windows/Fonts/"; }
done
# One virtual desktop: Wine then draws window frames itself, so screenshots show the caption
# bar even though Xvfb runs no window manager.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
"$server" -w </dev/null >/dev/null 2>&1 || true
# A persistent server: started this way, its services do not hold ctest's pipe open.
"$server" -p60 </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
test -f "$prefix/system.reg"
