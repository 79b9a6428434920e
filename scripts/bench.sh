#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's benchmark commands: builds the release preset in full (program, tests and
# benchmarks; warnings are errors) and runs every benchmark once on Qt's offscreen platform.
# Installs missing Debian packages first.
# Usage: scripts/bench.sh [repeats]   (each benchmark's own repeat count by default; CI passes
#                                      a small one, which is enough to prove they run)
set -euo pipefail
cd "$(dirname "$0")/.."
repeats=("$@")
. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release
export QT_QPA_PLATFORM=offscreen
for bench in bench_core bench_startup bench_trainers; do
    echo "== $bench ${repeats[*]}"
    "build/release/bench/$bench" "${repeats[@]}"
done
