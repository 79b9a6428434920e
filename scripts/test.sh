#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Pendro with its tests (dev preset: debug, warnings are errors) and runs the whole suite
# on Qt's offscreen platform. Installs missing Debian packages first.
# Usage: scripts/test.sh [preset]   (dev by default; asan runs the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" "${PENDRO_TEST_PACKAGES[@]}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
