#!/bin/sh
# One end-to-end scenario: prepares the Wine prefix, starts LumoraRepair.exe through the
# driver, runs the driver's commands, and puts the prefix back as it was, whatever happened.
#
# Usage: scenario.sh --source DIR --driver LRDRIVER.EXE --exe LUMORAREPAIR.EXE
#                    [--lang en|de] [--product yes|no] [--windows VERSION] [--shots DIR]
#                    -- DRIVER-COMMANDS...
#   --product   yes: HKCR\.lma is made; no: it is removed
#   --windows   Wine's HKCU\Software\Wine value Version (win2k, winxp, win2003, vista, ...)
#   --shots     made beforehand; the BMPs saved there are turned into PNGs afterwards
# In the driver commands, %Name becomes the id of control Name (app/control_ids.h) and
# @NNN text NNN of the chosen language (app/resources/strings_*.rc), non-ASCII as \uXXXX.
# Needs WINEPREFIX (ctest sets it) and a display; without DISPLAY it exits 77 (skipped).
set -eu

source_dir="" driver="" exe="" lang=en product="" windows="" shots=""
while [ $# -gt 0 ]; do
  case $1 in
    --source) source_dir=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --exe) exe=$2; shift 2 ;;
    --lang) lang=$2; shift 2 ;;
    --product) product=$2; shift 2 ;;
    --windows) windows=$2; shift 2 ;;
    --shots) shots=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "scenario.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -n "$source_dir" ] && [ -n "$driver" ] && [ -n "$exe" ] || { echo "scenario.sh: --source, --driver and --exe are required" >&2; exit 2; }
case $lang in
  en) locale=en_US.UTF-8 ;;
  de) locale=de_DE.UTF-8 ;;
  *) echo "scenario.sh: --lang en or de" >&2; exit 2 ;;
esac
case $product in yes|no|"") ;; *) echo "scenario.sh: --product yes or no" >&2; exit 2 ;; esac

if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY: end-to-end scenarios need an X server (run ctest under xvfb-run)."
  exit 77
fi
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64

# --- The driver's arguments, with %Name and @NNN replaced -----------------------------------
expanded=$(python3 -c '
import re, sys
source, lang, args = sys.argv[1], sys.argv[2], sys.argv[3:]

# Control ids: the enum in app/control_ids.h, "Name = value" or the one before plus one.
ids, value = {}, -1
body = open(source + "/app/control_ids.h", encoding="utf-8").read()
body = re.sub(r"//[^\n]*", "", body)
body = body[body.index("{") + 1:body.index("}")]
for item in body.split(","):
    item = item.strip()
    if not item:
        continue
    name, _, number = item.partition("=")
    value = int(number, 0) if number.strip() else value + 1
    ids[name.strip()] = value

# Texts: number -> IDS_ name (resource_ids.h) -> string in the .rc file of the language.
names = {}
for m in re.finditer(r"#define\s+(IDS_\w+)\s+(\d+)", open(source + "/app/resources/resource_ids.h").read()):
    names[int(m.group(2))] = m.group(1)
texts = {}
rc = open(source + "/app/resources/strings_%s.rc" % lang, encoding="utf-8").read()
for m in re.finditer(r"^\s*(IDS_\w+)\s*,\s*\"((?:[^\"]|\"\")*)\"\s*$", rc, re.M):
    texts[m.group(1)] = m.group(2).replace("\"\"", "\"").replace("\\\\", "\\")

used = {}
def control(m):
    if m.group(1) not in ids:
        sys.exit("scenario.sh: no control named " + m.group(1))
    used[m.group(1)] = ids[m.group(1)]
    return str(ids[m.group(1)])

def text(m):
    number = int(m.group(1))
    if number not in names or names[number] not in texts:
        sys.exit("scenario.sh: no text %d in strings_%s.rc" % (number, lang))
    return texts[names[number]]

def escape(s):
    return "".join(c if 0x20 <= ord(c) < 0x7F else "\\u%04X" % ord(c) for c in s)

for arg in args:
    arg = re.sub(r"^%(\w+)$", control, arg)
    print(escape(re.sub(r"@(\d{3})", text, arg)))
# The driver logs ids; this says which control each one is.
print("Control ids: " + ", ".join("%s %d" % kv for kv in used.items()), file=sys.stderr)
' "$source_dir" "$lang" "$@")
set --
if [ -n "$expanded" ]; then
  while IFS= read -r line; do
    set -- "$@" "$line"
  done <<EOF
$expanded
EOF
fi

# --- The prefix: remember, change, and always restore ---------------------------------------
reg_value() {  # key value -> the data, or nothing
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
had_lma=no
"$wine" reg query 'HKCR\.lma' >/dev/null 2>&1 && had_lma=yes
old_version=$(reg_value 'HKCU\Software\Wine' Version)

restore() {
  if [ "$had_lma" = yes ]; then
    "$wine" reg add 'HKCR\.lma' /f >/dev/null 2>&1 || true
  else
    "$wine" reg delete 'HKCR\.lma' /f >/dev/null 2>&1 || true
  fi
  if [ -n "$old_version" ]; then
    "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$old_version" /f >/dev/null 2>&1 || true
  else
    "$wine" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
  fi
}
trap restore EXIT
trap 'exit 1' INT TERM HUP

case $product in
  yes) "$wine" reg add 'HKCR\.lma' /f >/dev/null ;;
  no) "$wine" reg delete 'HKCR\.lma' /f >/dev/null 2>&1 || true ;;
esac
if [ -n "$windows" ]; then
  "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$windows" /f >/dev/null
fi
# Made sure of, not assumed: a scenario on the wrong prefix state proves nothing.
case $product in
  yes) "$wine" reg query 'HKCR\.lma' >/dev/null 2>&1 || { echo "HKCR\\.lma could not be made"; exit 1; } ;;
  no) ! "$wine" reg query 'HKCR\.lma' >/dev/null 2>&1 || { echo "HKCR\\.lma could not be removed"; exit 1; } ;;
esac
if [ -n "$windows" ] && [ "$(reg_value 'HKCU\Software\Wine' Version)" != "$windows" ]; then
  echo "Wine's Version value could not be set to $windows"; exit 1
fi

[ -z "$shots" ] || mkdir -p "$shots"
echo "Scenario: language $lang, product installed: ${product:-unchanged}, Windows: ${windows:-unchanged}"
status=0
LANG=$locale LC_ALL= "$wine" "$driver" start "$exe" "$@" || status=$?
if [ -n "$shots" ]; then
  for f in "$shots"/*.bmp; do
    [ -f "$f" ] || continue
    convert "$f" "${f%.bmp}.png" && rm -f "$f" || status=1
  done
fi
exit "$status"
