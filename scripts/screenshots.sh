#!/bin/sh
# Under a display: starts the exe through the end-to-end driver, once with the product
# installed and once without (the prefix's own state, left as found), saves a PNG of every
# page and of the About box, and closes the program.
# Usage: screenshots.sh EXE OUTDIR [NAME-PREFIX]
# WINEPREFIX and LANG are taken from the environment (LANG=de_DE.UTF-8 for the German window).
set -eu
exe=$1 out=$2 tag=${3:-}
driver="$(dirname "$exe")/tests/e2e/lrdriver.exe"
if [ ! -f "$driver" ]; then
  echo "screenshots.sh: $driver is missing; build the win64 preset first" >&2
  exit 1
fi
# A Wine server left running from before this display (wine-prefix.sh starts one that
# lingers) would put the window on a display that is gone: start afresh.
/usr/lib/wine/wineserver -k 2>/dev/null || true
mkdir -p "$out"
for form in installed not-installed; do
  product=yes
  [ "$form" = installed ] || product=no
  /usr/lib/wine/wine64 "$driver" product $product start "$exe" screenshots "$out" "$tag$form-" \
    click 1009 box shot "$out/$tag$form-about.png" key return close exited
done
