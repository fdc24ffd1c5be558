#!/usr/bin/env bash
# Runs a cross-built QtTest program under Wine (scripts/wine-run.sh) and prints its
# log: a QtTest program under Wine writes nothing to the Unix stdout, so the log goes
# to a file. Exit status: the program's (its number of failed tests).
# Usage: scripts/wine-qtest.sh PROGRAM.exe [QTEST_ARGS...]
set -euo pipefail
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
status=0
"$(dirname "$0")/wine-run.sh" "$1" "${@:2}" -o "Z:${log//\//\\},txt" || status=$?
cat "$log"
exit "$status"
