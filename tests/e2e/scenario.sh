#!/bin/sh
# One end-to-end scenario: prepares the Wine prefix, starts LumoraRepair.exe through the
# driver, runs the driver's commands, and puts the prefix back as it was, whatever happened.
#
# Usage: scenario.sh --source DIR --driver LRDRIVER.EXE --exe LUMORAREPAIR.EXE
#                    [--lang en|de] [--product yes|no] [--windows VERSION] [--shots DIR]
#                    [--place FILE WINPATH]... [--mkdir WINPATH]... [--absent WINPATH]...
#                    [--reg-set KEY NAME DATA]... [--reg-delete KEY NAME]...
#                    -- DRIVER-COMMANDS...
#   --product     yes: HKCR\.lma is made; no: it is removed
#   --windows     Wine's HKCU\Software\Wine value Version (win2k, winxp, win2003, vista, ...)
#   --place       copies FILE (a Unix path) to WINPATH (C:\...), making missing folders
#   --mkdir       makes the folder WINPATH exist, with its parents (an existing one is kept)
#   --absent      moves whatever is at WINPATH (file or folder) out of the way
#   --reg-set     sets a text value (REG_SZ), making the key if needed
#   --reg-delete  removes a value
#   --shots       made beforehand; the BMPs saved there are turned into PNGs afterwards
# Every path and value named here is put back afterwards as it was found, including what
# the driver changed there while the program ran (its mkdir, copy and reg-set commands),
# and then compared with its state before: a prefix that was not put back fails the run.
# In the driver commands, %Name becomes the id of control Name (app/control_ids.h),
# @NNN text NNN of the chosen language (app/resources/strings_*.rc), non-ASCII as \uXXXX,
# %VAR% the value of the variable VAR in Wine's environment (%USERPROFILE%, %TEMP%...),
# and an argument @empty the empty text.
# Needs WINEPREFIX (ctest sets it) and a display; without DISPLAY it exits 77 (skipped).
set -eu

tab=$(printf '\t')
us=$(printf '\037')  # separates the fields of a plan line; empty fields survive "read"
say() { printf '%s\n' "$*"; }  # echo would read the backslashes of Windows paths
source_dir="" driver="" exe="" lang=en product="" windows="" shots="" plan=""
add_plan() {  # one prefix change per line: OPERATION, then its arguments
  plan="$plan$1$us${2-}$us${3-}$us${4-}
"
}
while [ $# -gt 0 ]; do
  case $1 in
    --source) source_dir=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --exe) exe=$2; shift 2 ;;
    --lang) lang=$2; shift 2 ;;
    --product) product=$2; shift 2 ;;
    --windows) windows=$2; shift 2 ;;
    --shots) shots=$2; shift 2 ;;
    --place) [ $# -ge 3 ] || { say "scenario.sh: --place FILE WINPATH" >&2; exit 2; }
             add_plan place "$2" "$3"; shift 3 ;;
    --mkdir) [ $# -ge 2 ] || { say "scenario.sh: --mkdir WINPATH" >&2; exit 2; }
             add_plan mkdir "$2"; shift 2 ;;
    --absent) [ $# -ge 2 ] || { say "scenario.sh: --absent WINPATH" >&2; exit 2; }
              add_plan absent "$2"; shift 2 ;;
    --reg-set) [ $# -ge 4 ] || { say "scenario.sh: --reg-set KEY NAME DATA" >&2; exit 2; }
               add_plan value "$2" "$3" "$4"; shift 4 ;;
    --reg-delete) [ $# -ge 3 ] || { say "scenario.sh: --reg-delete KEY NAME" >&2; exit 2; }
                  add_plan novalue "$2" "$3"; shift 3 ;;
    --) shift; break ;;
    *) say "scenario.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -n "$source_dir" ] && [ -n "$driver" ] && [ -n "$exe" ] || { say "scenario.sh: --source, --driver and --exe are required" >&2; exit 2; }
case $lang in
  en) locale=en_US.UTF-8 ;;
  de) locale=de_DE.UTF-8 ;;
  *) say "scenario.sh: --lang en or de" >&2; exit 2 ;;
esac
case $product in
  yes|no) options_plan=$plan plan=""; add_plan product "$product"; plan=$plan$options_plan ;;
  "") ;;
  *) say "scenario.sh: --product yes or no" >&2; exit 2 ;;
esac
[ -z "$windows" ] || add_plan value 'HKCU\Software\Wine' Version "$windows"

if [ -z "${DISPLAY:-}" ]; then
  say "No DISPLAY: end-to-end scenarios need an X server (run ctest under xvfb-run)."
  exit 77
fi
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=-all
wine=/usr/lib/wine/wine64
# A persistent server with its services, started with no pipe attached: a server that a
# Wine call inside $(...) starts would hold that pipe open, and the call would then take
# until the server quits (some 20 s).
/usr/lib/wine/wineserver -p60 </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

# --- The driver's arguments, with %Name, @NNN and %VAR% replaced ----------------------------
wine_env=""
for arg; do
  case $arg in *%?*%*) wine_env=$("$wine" cmd /c set | tr -d '\r'); break ;; esac
done
expanded=$(LR_WINE_ENV=$wine_env python3 -c '
import os, re, sys
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

# Texts: number -> IDS_ name (platform/text_ids.h) -> string in the .rc file of the language.
names = {}
for m in re.finditer(r"#define\s+(IDS_\w+)\s+(\d+)", open(source + "/platform/text_ids.h").read()):
    names[int(m.group(2))] = m.group(1)
texts = {}
rc = open(source + "/app/resources/strings_%s.rc" % lang, encoding="utf-8").read()
for m in re.finditer(r"^\s*(IDS_\w+)\s*,\s*\"((?:[^\"]|\"\")*)\"\s*$", rc, re.M):
    texts[m.group(1)] = m.group(2).replace("\"\"", "\"").replace("\\\\", "\\")

# Wine environment variables, names without regard to case as on Windows.
env = {}
for line in os.environ.get("LR_WINE_ENV", "").splitlines():
    name, sep, val = line.partition("=")
    if sep:
        env[name.upper()] = val

used = {}
def control(m):
    if m.group(1) not in ids:
        sys.exit("scenario.sh: no control named " + m.group(1))
    used[m.group(1)] = ids[m.group(1)]
    return str(ids[m.group(1)])

def text_or_variable(m):
    if m.group(1):
        number = int(m.group(1))
        if number not in names or names[number] not in texts:
            sys.exit("scenario.sh: no text %d in strings_%s.rc" % (number, lang))
        return texts[names[number]]
    if m.group(2).upper() not in env:
        sys.exit("scenario.sh: no variable %s in Wine\x27s environment" % m.group(2))
    return env[m.group(2).upper()]

def escape(s):
    return "".join(c if 0x20 <= ord(c) < 0x7F else "\\u%04X" % ord(c) for c in s)

for arg in args:
    if arg == "@empty":  # CMake cannot pass an empty argument
        print("")
        continue
    arg = re.sub(r"^%(\w+)$", control, arg)
    print(escape(re.sub(r"@(\d{3})|%(\w[\w()]*)%", text_or_variable, arg)))
# The end, as a line no argument can be (a tab is escaped above): a last argument may be empty.
print("\t")
# The driver logs ids; this says which control each one is.
print("Control ids: " + ", ".join("%s %d" % kv for kv in used.items()), file=sys.stderr)
' "$source_dir" "$lang" "$@")
set --
while IFS= read -r line && [ "$line" != "$tab" ]; do
  set -- "$@" "$line"
done <<EOF
$expanded
EOF

# --- The prefix: plan, remember, change, make sure, and always put back ----------------------
# Backups and the lists live beside the prefix (same file system: moves are renames) and go
# when the scenario ends.
state=$(mktemp -d "$(dirname "$WINEPREFIX")/scenario-state.XXXXXX")
undo=$state/undo kept=0
: >"$undo"

q() {  # one shell word, single-quoted
  printf "'%s'" "$(printf '%s' "$1" | sed "s/'/'\\\\''/g")"
}
on_restore() {  # file steps, run newest first
  { printf '%s\n' "$1"; cat "$undo"; } >"$undo.new" && mv "$undo.new" "$undo"
}
# The top-most folder on the way to a path that does not exist yet, or the path itself.
first_missing() {
  top=$1
  while [ ! -e "$(dirname "$top")" ]; do top=$(dirname "$top"); done
  say "$top"
}
# Whatever is at a path now is put back afterwards; a new entry there is removed.
keep_path() {
  if [ -e "$1" ] || [ -L "$1" ]; then
    kept=$((kept + 1))
    mv "$1" "$state/kept$kept"
    on_restore "rm -rf $(q "$1"); mv $(q "$state/kept$kept") $(q "$1")"
  else
    on_restore "rm -rf $(q "$1")"
  fi
}
# Files and folders: a listing with checksums of each path the plan touches.
file_fingerprint() {
  while IFS=$us read -r op a b c target top; do
    [ -n "$top" ] || continue
    say "path $top"
    if [ -e "$top" ] || [ -L "$top" ]; then
      find "$top" -printf '%P %y %s %l\n' | sort
      find "$top" -type f -exec md5sum {} + | sort
    fi
  done <"$state/plan"
}
# The registry through the driver, all of one step in one Wine start. Prints the lines
# "reg-state STATE" of the commands that report one, in order; fails with the driver.
driver_registry() {
  [ $# -gt 0 ] || return 0
  if ! "$wine" "$driver" "$@" >"$state/driver.log" 2>&1; then
    tr -d '\r' <"$state/driver.log" >&2
    return 1
  fi
  tr -d '\r' <"$state/driver.log" | sed -n 's/^reg-state //p'
}
registry_states() {  # the state of every registry entry the plan names, in plan order
  set --
  while IFS=$us read -r op a b c target top; do
    case $op in
      product) set -- "$@" reg-key-state 'HKCR\.lma' ;;
      value|novalue) set -- "$@" reg-state "$a" "$b" ;;
    esac
  done <"$state/plan"
  driver_registry "$@"
}

# C:\... -> the Unix path in the prefix, each existing part matched without regard to case
# as Windows does (Wine's own folders are "ADO" and "OLE DB"; a second "ado" beside "ADO"
# would leave it to chance which one the program sees); and the top-most path on the way
# that does not exist yet, which is what the plan touches. Never a place outside drive_c:
# the user folders there are links to the home folder.
printf '%s' "$plan" | python3 -c '
import os, sys
prefix, us = sys.argv[1], "\037"
drive = os.path.realpath(os.path.join(prefix, "drive_c"))
def resolve(path):
    if len(path) < 4 or path[:3].lower() != "c:\\":
        sys.exit("scenario.sh: %s is not a path below C:\\" % path)
    current = drive
    for part in path[3:].split("\\"):
        if part in ("", ".", ".."):
            sys.exit("scenario.sh: %s: empty, . and .. parts are not allowed" % path)
        found = os.listdir(current) if os.path.isdir(current) else []
        current = os.path.join(current, next((n for n in found if n.lower() == part.lower()), part))
    if not (os.path.realpath(os.path.dirname(current)) + os.sep).startswith(drive + os.sep):
        sys.exit("scenario.sh: %s leads out of the prefix" % path)
    top = current
    while not os.path.lexists(os.path.dirname(top)):
        top = os.path.dirname(top)
    return current, top
for line in sys.stdin.read().splitlines():
    fields = line.split(us)
    if fields[0] in ("place", "mkdir", "absent"):
        target, top = resolve(fields[2] if fields[0] == "place" else fields[1])
        if fields[0] == "place" and not os.path.isfile(fields[1]):
            sys.exit("scenario.sh: no file %s to place" % fields[1])
        if fields[0] == "absent":
            top = target
        fields += [target, top]
    else:
        fields += ["", ""]
    print(us.join(fields))
' "$WINEPREFIX" >"$state/plan" || { rm -rf "$state"; exit 2; }

file_fingerprint >"$state/files.before"
registry_states >"$state/registry.before" || { rm -rf "$state"; exit 1; }

restore() {
  status=$?
  set +e
  . "$undo"
  # The registry back in reverse plan order, then read again in the same Wine start.
  set --
  n=$(wc -l <"$state/registry.before")
  while IFS=$us read -r op a b c target top; do
    case $op in product|value|novalue) ;; *) continue ;; esac
    before=$(sed -n "${n}p" "$state/registry.before")
    n=$((n - 1))
    case $op:$before in
      product:nokey:*) set -- "$@" reg-key-delete "${before#nokey:}" ;;
      product:*) ;;  # present before: kept, or deleted and imported below
      *) set -- "$@" reg-put "$a" "$b" "$before" ;;
    esac
  done <<EOF
$(sed -n '1!G;h;$p' "$state/plan")
EOF
  driver_registry "$@" >/dev/null || status=1
  [ ! -f "$state/lma.reg" ] || "$wine" reg import "Z:$(printf '%s' "$state/lma.reg" | tr / '\\')" >/dev/null 2>&1 || status=1
  registry_states >"$state/registry.after"
  file_fingerprint >"$state/files.after"
  if ! cmp -s "$state/registry.before" "$state/registry.after" || ! cmp -s "$state/files.before" "$state/files.after"; then
    say "The prefix was not put back as it was found:"
    diff "$state/registry.before" "$state/registry.after"
    diff "$state/files.before" "$state/files.after"
    status=1
  fi
  rm -rf "$state"
  exit "$status"
}
trap restore EXIT
trap 'exit 1' INT TERM HUP

# Files: the steps that put them back are recorded before each change.
while IFS=$us read -r op a b c target top; do
  case $op in
    place)
      # Asked now: an earlier line may have made the folder.
      keep_path "$(first_missing "$target")"
      mkdir -p "$(dirname "$target")"
      cp "$a" "$target" ;;
    mkdir)
      if [ ! -d "$target" ]; then
        keep_path "$(first_missing "$target")"
        mkdir -p "$target"
      fi ;;
    absent)
      keep_path "$target" ;;
  esac
done <"$state/plan"
# The registry, in one Wine start; each command reads back what it set. A document type
# that was there before and is to go is saved with its subkeys first.
apply_registry() {
  set --
  n=0
  while IFS=$us read -r op a b c target top; do
    case $op in
      product)
        n=$((n + 1))
        if [ "$a" = yes ]; then
          set -- "$@" reg-key-make 'HKCR\.lma'
        else
          [ "$(sed -n "${n}p" "$state/registry.before")" != present ] ||
            "$wine" reg export 'HKCR\.lma' "Z:$(printf '%s' "$state/lma.reg" | tr / '\\')" /y >/dev/null
          set -- "$@" reg-key-delete 'HKCR\.lma'
        fi ;;
      value) n=$((n + 1)); set -- "$@" reg-set "$a" "$b" "$c" ;;
      novalue) n=$((n + 1)); set -- "$@" reg-delete "$a" "$b" ;;
    esac
  done <"$state/plan"
  driver_registry "$@" >/dev/null
}
apply_registry

# Made sure of, not assumed: a scenario on the wrong prefix state proves nothing.
while IFS=$us read -r op a b c target top; do
  case $op in
    product) say "  HKCR\\.lma: $([ "$a" = yes ] && say present || say absent)" ;;
    value) say "  $a value $b: $c" ;;
    novalue) say "  $a value $b: absent" ;;
    place)
      cmp -s "$a" "$target" || { say "$b could not be placed"; exit 1; }
      say "  $b: $(basename "$a")" ;;
    mkdir)
      [ -d "$target" ] || { say "$a could not be made"; exit 1; }
      say "  $a: a folder" ;;
    absent)
      ! [ -e "$target" ] && ! [ -L "$target" ] || { say "$a could not be moved away"; exit 1; }
      say "  $a: absent" ;;
  esac
done <"$state/plan"

[ -z "$shots" ] || mkdir -p "$shots"
say "Scenario: language $lang, the prefix as listed above"
status=0
LANG=$locale LC_ALL= "$wine" "$driver" start "$exe" "$@" || status=$?
if [ -n "$shots" ]; then
  for f in "$shots"/*.bmp; do
    [ -f "$f" ] || continue
    convert "$f" "${f%.bmp}.png" && rm -f "$f" || status=1
  done
fi
exit "$status"
