#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Pendro without the presets, as a user or a distribution would:
#   cmake -S . -B build/plain-<compiler> -DCMAKE_BUILD_TYPE=Release && cmake --build ...
# with CMake's default generator, program, tests and benchmarks, with GCC or with Clang
# (Debian's gcc/g++ or clang/clang++). Extra arguments go to the configure step, e.g.
# -DPENDRO_WERROR=ON as in CI. The build directory starts empty each time, so nothing of an
# earlier configuration carries over. With --test it runs the test suite afterwards.
# Usage: scripts/plain_build.sh gcc|clang [--test] [cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
compiler="${1:?usage: scripts/plain_build.sh gcc|clang [--test] [cmake arguments...]}"
shift
run_tests=0
if [ "${1:-}" = "--test" ]; then
    run_tests=1
    shift
fi

. scripts/ensure_packages.sh
case "$compiler" in
gcc)
    ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" make
    export CC=gcc CXX=g++
    ;;
clang)
    ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" make clang
    export CC=clang CXX=clang++
    ;;
*)
    echo "unknown compiler '$compiler' (gcc or clang)" >&2
    exit 2
    ;;
esac

[ "$run_tests" -eq 1 ] && ensure_packages "${PENDRO_TEST_PACKAGES[@]}"
build="build/plain-$compiler"
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build" --parallel "$(nproc)"
if [ "$run_tests" -eq 1 ]; then
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure
fi
