#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's benchmark commands: builds the release preset in full (program, tests and
# benchmarks; warnings are errors) and runs every benchmark once: the in-process ones on Qt's
# offscreen platform, bench_display and bench_zoom on an Xvfb of their own.
# Installs missing Debian packages first.
# Usage: scripts/bench.sh [repeats]   (each benchmark's own repeat count by default; CI passes
#                                      a small one, which is enough to prove they run)
set -euo pipefail
cd "$(dirname "$0")/.."
repeats=("$@")
. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" "${PENDRO_DISPLAY_BENCH_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release
export QT_QPA_PLATFORM=offscreen
for bench in bench_core bench_startup bench_trainers bench_worksheet; do
    echo "== $bench ${repeats[*]}"
    "build/release/bench/$bench" "${repeats[@]}"
done
# A 100,000-character paste into three kinds of field: the length first, then the runs.
echo "== bench_paste 100000 ${repeats[*]}"
build/release/bench/bench_paste 100000 "${repeats[@]}"
# Start-up and trainer opening on a real X server: pairs and trainer runs.
echo "== bench_display ${repeats[*]:-21 11}"
unset QT_QPA_PLATFORM
if [ ${#repeats[@]} -gt 0 ]; then
    build/release/bench/bench_display "${repeats[0]}" 1
else
    build/release/bench/bench_display
fi
# The zoom of all five windows on a real X server: rounds from 100 % to 300 % and back.
echo "== bench_zoom ${repeats[*]:-11}"
build/release/bench/bench_zoom "${repeats[@]}"
