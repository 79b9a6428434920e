#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one cross-built test under Wine for CTest (the Windows build's CMAKE_CROSSCOMPILING_EMULATOR).
# Qt Test's console output does not reach a Unix pipe under Wine, so the test writes its log
# into a file that is printed when it ends; the exit status is the test's own.
# Usage: scripts/wine_test.sh test.exe [Qt Test arguments]
set -uo pipefail
exe="$1"
shift
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
wine "$exe" "$@" -o "Z:${log//\//\\},txt"
status=$?
cat "$log"
exit "$status"
