#!/bin/sh
# Sets everything up and runs every test of the three builds: native (portable logic with
# sanitizers), win32 (the product, checked statically), win64 (unit, platform and end-to-end
# tests under wine64 and Xvfb). Ends with ctest's summary line; exits non-zero on any failure.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sh scripts/setup.sh || exit 1
failed=""
total_pass=0 total_fail=0
for preset in native win32 win64; do
  echo "=== $preset"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j2; then
    failed="$failed $preset(build)"
    continue
  fi
  log="build/$preset/ctest.log"
  if [ "$preset" = win64 ] && [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset" 2>&1 | tee "$log"
  else
    ctest --preset "$preset" 2>&1 | tee "$log"
  fi
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1)
  [ -n "$line" ] || { failed="$failed $preset(no tests)"; continue; }
  n_fail=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  n_all=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  total_pass=$((total_pass + n_all - n_fail)); total_fail=$((total_fail + n_fail))
  [ "$n_fail" -eq 0 ] || failed="$failed $preset"
done
if [ -n "$failed" ]; then
  echo "Failed:$failed"
  echo "$total_pass passed, $((total_fail > 0 ? total_fail : 1)) failed"
  exit 1
fi
echo "all three builds: $total_pass passed, 0 failed"
echo "$line"
