#!/bin/sh
# Plants each fault of scripts/faults.txt in turn: finds the one program file that holds its
# text, changes it, rebuilds incrementally, runs the tests that can see it and records
# "caught" or "missed". The file is restored after every fault, also on failure or Ctrl+C
# (from a backup), so no fault is ever left in the tree.
# Usage: sh scripts/faults.sh [unit|wine|wine32|all] [RESULTS-FILE] [PATTERN]
#   PATTERN: only the faults whose line contains it.
#   unit faults run the native unit tests (seconds); wine faults build the win64 preset and
#   run the matching ctest tests under one Wine prefix, wine32 faults the same with the win32
#   preset under the 32-bit Wine of scripts/wine32.sh (and Xvfb when there is no display).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
which=${1:-all}
results=${2:-build/faults.txt}
only=${3:-}
case $results in /*) ;; *) results=$root/$results ;; esac
list=scripts/faults.txt
py=/usr/bin/python3
nat=build/faults-native
faults=$(grep -v '^#' "$list" | grep ' ~~ ' | grep -F -- "${3:-}")
# The layers to run: unit, and the Wine runs (wine: win64, wine32: win32) some fault names.
kinds=$(echo "$faults" | sed -n 's/^\(unit\|wine\|wine32\)[: ].*/\1/p' | sort -u)
[ "$which" = all ] || kinds=$(echo "$kinds" | grep -x "$which")
wine_kinds=$(echo "$kinds" | grep -v '^unit$')
if [ -n "$wine_kinds" ] && [ -z "${DISPLAY:-}" ] && [ -z "${LR_FAULTS_XVFB:-}" ]; then
  LR_FAULTS_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$which" "$results" "$only"
fi

target="" backup=""
restore() {
  if [ -n "$target" ] && [ -f "$backup" ]; then
    # A plain copy: a new time stamp, so the next build compiles the file again.
    cp "$backup" "$target" && rm -f "$backup"
  fi
  target=""
}
trap restore EXIT
trap 'restore; exit 130' INT TERM HUP

# field N of a fault line
field() { printf '%s\n' "$1" | awk -v n="$2" 'BEGIN { FS = " ~~ " } { print $n }'; }
# find SEARCH: the one program file holding it; apply FILE SEARCH REPLACEMENT
helper() {
  "$py" - "$@" <<'PY'
import pathlib, sys
mode, args = sys.argv[1], sys.argv[2:]
if mode == "find":
    hits = []
    for top in ("app", "probes", "registry", "register", "platform"):
        for p in sorted(pathlib.Path(top).rglob("*")):
            if p.suffix in (".cpp", ".h", ".hpp", ".rc") and p.is_file():
                hits += [str(p)] * p.read_text(encoding="utf-8").count(args[0])
    if len(hits) != 1:
        sys.exit(f"found {len(hits)} times: {args[0]}")
    print(hits[0])
else:
    path, search, replacement = args
    p = pathlib.Path(path)
    p.write_text(p.read_text(encoding="utf-8").replace(search, replacement, 1), encoding="utf-8")
PY
}

build_unit() { cmake --build "$nat" --target unit_tests -j2 >"$nat/last-build.log" 2>&1; }
# A fault that makes a command loop for ever hangs the unit tests: ended, that counts as caught.
run_unit() { timeout 300 "$nat/tests/unit_tests" --gtest_brief=1 >"$nat/last-run.log" 2>&1; }
# A Wine run's build folder and preset: wine (win64) or wine32 (win32).
wine_dir() { echo "build/faults-$(wine_preset "$1")"; }
wine_preset() { if [ "$1" = wine32 ]; then echo win32; else echo win64; fi; }
build_wine() { cmake --build "$(wine_dir "$1")" -j2 >"$(wine_dir "$1")/last-build.log" 2>&1; }
# run_wine KIND REGEX; 0: all passed, 1: a test failed, 2: no test matched
run_wine() {
  dir=$(wine_dir "$1")
  ctest --test-dir "$dir" -R "$2" -FS wine --no-tests=error --timeout 300 >"$dir/last-run.log" 2>&1 && return 0
  grep -q "No tests were found" "$dir/last-run.log" && return 2
  return 1
}

mkdir -p "$(dirname "$results")"
: >"$results"
if echo "$kinds" | grep -qx unit; then
  cmake --preset native -B "$nat" >/dev/null || exit 1
  build_unit && run_unit || { echo "faults.sh: the unit tests fail without a fault" >&2; exit 1; }
fi
! echo "$wine_kinds" | grep -qx wine32 || sh scripts/wine32.sh --setup >/dev/null || exit 1
for kind in $wine_kinds; do
  dir=$(wine_dir "$kind") preset=$(wine_preset "$kind")
  # No debug information here: each fault relinks every test program.
  cmake --preset "$preset" -B "$dir" -DCMAKE_CXX_FLAGS_DEBUG=-O0 >/dev/null || exit 1
  build_wine "$kind" || { echo "faults.sh: the $preset build fails without a fault" >&2; exit 1; }
  ctest --test-dir "$dir" -R '^wine_(plain_)?prefix$' >/dev/null 2>&1 || { echo "faults.sh: no $preset Wine prefixes" >&2; exit 1; }
  regexes=$(echo "$faults" | sed -n "s/^$kind:\([^ ]*\) .*/\1/p" | grep -v '^NONE$' | sort -u | paste -sd'|')
  [ -z "$regexes" ] || run_wine "$kind" "$regexes" || { echo "faults.sh: the $preset Wine tests fail without a fault" >&2; exit 1; }
done

start=$(date +%s)
# Not a pipe: the loop must run in this shell, so the traps see the planted file.
while IFS= read -r line; do
  where=$(field "$line" 1) what=$(field "$line" 2) search=$(field "$line" 3) replacement=$(field "$line" 4)
  echo "$kinds" | grep -qx "${where%%:*}" || continue
  file=$(helper find "$search") || { printf 'error   %-28s %s (text not found once)\n' "$where" "$what" | tee -a "$results"; continue; }
  backup=$root/build/faults-backup
  cp "$file" "$backup" && target=$file
  helper apply "$file" "$search" "$replacement"
  verdict=missed
  if [ "$where" = unit ]; then
    if ! build_unit; then verdict=nobuild; elif ! run_unit; then verdict=caught; fi
  else
    kind=${where%%:*} regex=${where#*:}
    if [ "$regex" = NONE ]; then verdict=missed
    elif ! build_wine "$kind"; then verdict=nobuild
    else run_wine "$kind" "$regex"; case $? in 1) verdict=caught ;; 2) verdict=error ;; esac
    fi
  fi
  restore
  printf '%-7s %-28s %s (%s)\n' "$verdict" "$where" "$what" "$file" | tee -a "$results"
done <<EOF
$faults
EOF
restore
total=$(grep -c . "$results")
c=$(grep -c '^caught' "$results")
echo "$c of $total faults caught ($(( $(date +%s) - start )) s)" | tee -a "$results"
# Leave the build dirs as the clean sources make them.
! echo "$kinds" | grep -qx unit || build_unit
for kind in $wine_kinds; do build_wine "$kind"; done
[ "$c" -eq "$total" ]
