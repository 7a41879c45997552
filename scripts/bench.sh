#!/bin/sh
# The benchmark (bench/, docs/testing.md): builds the product (win32) and its 64-bit build
# with the benchmark's programs (bench64), then measures them under wine64 in a throw-away
# prefix, under Xvfb when there is no display. Prints the table and writes it to
# build/bench64/bench-results.md. Arguments go to bench/bench.py (--rounds N).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/setup.sh
for preset in win32 bench64; do
  cmake --preset "$preset" >/dev/null
done
# Of win32 the product alone, for its size (its tests are the test command's).
cmake --build --preset win32 --target LumoraRepair -j2 >/dev/null
cmake --build --preset bench64 -j2 >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" /usr/bin/python3 bench/bench.py "$@"
fi
exec /usr/bin/python3 bench/bench.py "$@"
