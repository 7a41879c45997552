#!/bin/sh
# Runs winver_probe under one of Wine's Windows version settings and checks its code.
# Usage: winver_check.sh WINE PROBE SETTING EXPECTED_CODE
# The setting is made for the probe alone (AppDefaults), so tests running beside this one
# keep the prefix's own version; it is removed again on the way out.
set -u
wine=$1 probe=$2 setting=$3 expected=$4
key='HKCU\Software\Wine\AppDefaults\winver_probe.exe'

"$wine" reg delete "$key" /f </dev/null >/dev/null 2>&1
trap '"$wine" reg delete "$key" /f </dev/null >/dev/null 2>&1' EXIT
if ! "$wine" reg add "$key" /v Version /d "$setting" /f </dev/null >/dev/null 2>&1; then
    echo "could not set the Windows version $setting"
    exit 1
fi
out=$("$wine" "$probe" </dev/null 2>/dev/null | tr -d '\r')
# A Wine process that dies while the server starts up prints nothing: that is not an answer,
# ask once more.
[ -n "$out" ] || out=$("$wine" "$probe" </dev/null 2>/dev/null | tr -d '\r')
echo "$setting: $out"
case "$out" in
    "code=$expected "*) exit 0 ;;
esac
echo "expected code $expected"
exit 1
