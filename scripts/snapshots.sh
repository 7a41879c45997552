#!/bin/sh
# Renders the snapshots of what the user sees (tests/snapshots/*.txt) anew from the fakes,
# then shows what changed: a change is a diff for the reviewer, committed with the code.
set -eu
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target unit_tests
LR_UPDATE_SNAPSHOTS=1 build/native/tests/unit_tests --gtest_filter='Snapshots.*:Layout.*'
git diff --stat -- tests/snapshots
