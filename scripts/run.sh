#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Pendro (release) and starts it. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target pendro
exec ./build/release/app/pendro "$@"
