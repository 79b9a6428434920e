#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UndefinedBehaviorSanitizer)
# into build/fuzz and runs each of them for a bounded time. Installs clang and libFuzzer first
# when they are missing.
# Usage: scripts/fuzz.sh [seconds per target] [target...]   (60 s and all targets by default)
# A long run, e.g. one hour each:  scripts/fuzz.sh 3600
# The corpus grows in build/fuzz/corpus/<target>; fuzz/corpus/<target> holds the seeds kept in
# the repository. An input that breaks a target is saved in build/fuzz/artifacts/<target>/ and
# can be replayed with:  build/fuzz/<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_number_text fuzz_factorization fuzz_key_filters)

. scripts/ensure_packages.sh
ensure_packages cmake ninja-build clang-14 libclang-rt-14-dev

build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    echo "== $target for ${seconds}s"
    # New inputs go into the first directory only; the seeds stay as they are. One input
    # running longer than 10 s counts as a hang.
    if "$build/$target" "$corpus" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/" -print_final_stats=1 \
        >"$build/$target.log" 2>&1; then
        grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units)" "$build/$target.log" || true
        echo "== $target passed"
    else
        tail -n 40 "$build/$target.log"
        echo "== $target FAILED (log: $build/$target.log, inputs: $artifacts/)"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found problems in: ${failed[*]}"
    exit 1
fi
echo "All fuzz targets ran ${seconds}s without a finding."
