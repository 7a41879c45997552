#!/bin/sh
# Under a display: starts the exe, waits for its window, saves a PNG of every page, closes it.
# Usage: screenshots.sh EXE OUTDIR [NAME-PREFIX]
set -eu
exe=$1 out=$2 tag=${3:-}
driver="$(dirname "$exe")/tests/e2e/lrdriver.exe"
if [ -f "$driver" ]; then
  /usr/lib/wine/wine64 "$driver" start "$exe" screenshots "$(winepath_out=$(/usr/lib/wine/wine64 winepath -w "$out" 2>/dev/null); echo "$winepath_out")" "$tag" quit
  for f in "$out"/*.bmp; do [ -f "$f" ] && convert "$f" "${f%.bmp}.png" && rm "$f"; done
  exit 0
fi
/usr/lib/wine/wine64 "$exe" &
pid=$!
for _ in $(seq 60); do
  xdotool search --onlyvisible --class "lumorarepair" >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 1
import -window root "$out/${tag}window.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
