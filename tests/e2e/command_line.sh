#!/bin/sh
# What a script reads of the command line outside the driver: the usage and 87 on the
# console of `cmd /c`, and a report file the disk refuses written whole or not at all (a
# read-only folder, a path that is a folder): the old file as it was, nothing left beside.
#   command_line.sh "WINE" EXE DRIVER FOLDER USAGE [console]  (WINE split on blanks; console: that check alone)
set -u
wine=$1 exe=$2 driver=$3 dir=$4 usage=$5 only=${6:-}
[ -n "${DISPLAY:-}" ] || exit 77
# A run ended before it let go of the folder leaves it immutable: undo that first, and at any end.
chattr -i "$dir/ro" 2>/dev/null
trap 'chattr -i "$dir/ro" 2>/dev/null' EXIT
rm -rf "$dir" && mkdir -p "$dir/ro" "$dir/dir" && cd "$dir" || exit 1
$wine cmd /c "$exe" /Bogus > console.txt 2>/dev/null
rc=$?
[ $rc = 87 ] || { echo "cmd /c: exit code $rc"; exit 1; }
tr -d '\r' < console.txt | grep -q "^$usage" || { echo "no usage on the console:"; cat console.txt; exit 1; }
[ "$only" = console ] && { echo "all passed"; exit 0; }
echo old > ro/r.txt
chmod a-w ro
chattr +i ro 2>/dev/null  # root writes into a folder whatever its mode says
$wine "$driver" run 4 "$exe" "/report ro\\r.txt" run 4 "$exe" "/report dir" run 87 "$exe" "/bogus" || exit 1
[ "$(cat ro/r.txt)" = old ] || { echo "the refused file changed"; exit 1; }
# Every file and folder as it was: nothing left beside either refused path, the folder still one.
tree=$(find . -printf '%y %p\n' | LC_ALL=C sort | tr '\n' ' ')
[ "$tree" = "d . d ./dir d ./ro f ./console.txt f ./ro/r.txt " ] || { echo "left behind or changed: $tree"; exit 1; }
echo "all passed"
