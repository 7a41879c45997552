#!/bin/sh
# The program against hostile input in figures: runs the tests that feed it hostile registry
# data, files, components and planted DLLs and the checks of the binary's hardening, then
# prints for each group the cases tried, crashes, hangs and wrong results (failed checks).
# Builds what is missing first.
# Usage: sh scripts/hostile.sh
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${LR_HOSTILE_XVFB:-}" ]; then
  LR_HOSTILE_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
for preset in native win32 win64; do
  { cmake --preset $preset && cmake --build --preset $preset -j2; } >/dev/null 2>&1 ||
    { echo "hostile.sh: the $preset build fails" >&2; exit 1; }
done
out=build/hostile
rm -rf "$out" && mkdir -p "$out"
ctest --test-dir build/win64 -R '^wine_prefix$' >/dev/null 2>&1 || { echo "hostile.sh: no Wine prefix" >&2; exit 1; }
export WINEPREFIX=$root/build/win64/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LANG=en_US.UTF-8
# name, then the command; its exit code goes to $out/name.rc (124: it hung)
run() {
  name=$1; shift
  timeout 600 "$@" >"$out/$name.log" 2>&1
  echo $? >"$out/$name.rc"
}
wine=/usr/lib/wine/wine64
run platform $wine build/win64/tests/platform_tests.exe --gtest_output=xml:$out/platform.xml \
  --gtest_filter='RegistryWin32Test.EveryType*:HostileWin32.*'
run window $wine build/win64/tests/window_tests.exe --gtest_output=xml:$out/window.xml \
  --gtest_filter='*ComponentsThatMisbehave*'
run product /usr/bin/python3 tests/static/check_product.py build/win32/LumoraRepair.exe
run hardening64 /usr/bin/python3 tests/static/check_product.py --hardening build/win64/LumoraRepair.exe
/usr/bin/python3 - "$out" <<'PY'
import pathlib, sys
import xml.etree.ElementTree as ET
out = pathlib.Path(sys.argv[1])
groups = ["registry", "files", "components", "planting", "binary"]
tried = dict.fromkeys(groups, 0); crashes = dict(tried); hangs = dict(tried); wrong = dict(tried)
def rc(name):
    return int((out / f"{name}.rc").read_text())
for run in ("platform", "window"):
    xml = out / f"{run}.xml"
    if rc(run) == 124:
        hangs["components" if run == "window" else "files"] += 1
    if not xml.exists():  # the test program died before it could write its report
        crashes["components" if run == "window" else "files"] += 1
        continue
    for case in ET.parse(xml).iter("testcase"):
        props = {p.get("name"): int(p.get("value")) for p in case.iter("property")}
        mine = [g for g in groups if f"hostile_{g}" in props]
        for g in mine:
            tried[g] += props[f"hostile_{g}"]
        failed = len(case.findall("failure"))
        wrong[mine[0] if mine else "files"] += failed
for name in ("product", "hardening64"):
    text = (out / f"{name}.log").read_text()
    tried["binary"] += 1
    wrong["binary"] += text.count("FAIL:")
    crashes["binary"] += rc(name) not in (0, 1)
print(f"{'group':<12}{'tried':>9}{'crashes':>9}{'hangs':>7}{'wrong':>7}")
for g in groups:
    print(f"{g:<12}{tried[g]:>9}{crashes[g]:>9}{hangs[g]:>7}{wrong[g]:>7}")
bad = sum(crashes.values()) + sum(hangs.values()) + sum(wrong.values())
print("hostile cases:", "all held" if bad == 0 else f"{bad} gave way (logs in {out})")
sys.exit(1 if bad else 0)
PY
