#!/bin/sh
# Runs winver_probe under one of Wine's Windows version settings and checks its code.
# Usage: winver_check.sh WINE PROBE SETTING EXPECTED_CODE
# The setting is made for the probe alone (AppDefaults) and removed again on the way out.
set -u
wine=$1 probe=$2 setting=$3 expected=$4
key='HKCU\Software\Wine\AppDefaults\winver_probe.exe'
trap '"$wine" reg delete "$key" /f </dev/null >/dev/null 2>&1' EXIT
"$wine" reg add "$key" /v Version /d "$setting" /f </dev/null >/dev/null 2>&1 || exit 1
# A Wine process that dies while the server starts up prints nothing: ask once more.
for attempt in 1 2; do
  out=$("$wine" "$probe" </dev/null 2>/dev/null | tr -d '\r')
  [ -z "$out" ] || break
done
echo "$setting: $out (expected code $expected)"
case "$out" in "code=$expected "*) exit 0 ;; esac
exit 1
