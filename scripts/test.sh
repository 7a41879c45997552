#!/bin/sh
# Sets everything up and runs every test of the three builds: native (portable logic with
# sanitizers), win32 (the product: checked statically, and its tests under the 32-bit Wine of
# the i386 chroot that scripts/wine32.sh makes), win64 (the same tests under wine64). The Wine
# runs share one Xvfb when there is no display. Ends with ctest's summary line; exits non-zero
# on any failure.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${LR_TEST_XVFB:-}" ]; then
  sh scripts/setup.sh || exit 1
  LR_TEST_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
[ -n "${LR_TEST_XVFB:-}" ] || sh scripts/setup.sh || exit 1
start=$(date +%s)
sh scripts/wine32.sh --setup || exit 1
echo "wine32 set-up: $(( $(date +%s) - start )) s"
failed=""
total_pass=0 total_fail=0
for preset in native win32 win64; do
  echo "=== $preset"
  start=$(date +%s)
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j2; then
    failed="$failed $preset(build)"
    continue
  fi
  built=$(date +%s)
  log="build/$preset/ctest.log"
  ctest --preset "$preset" 2>&1 | tee "$log"
  echo "$preset: build $((built - start)) s, tests $(( $(date +%s) - built )) s"
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
