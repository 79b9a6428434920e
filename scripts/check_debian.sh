#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and tests Pendro and its Debian package on a Debian release in a clean chroot of it
# (scripts/debian_chroot.sh; needs root or sudo), as a user of that release would:
#   1. scripts/debian_package.sh on the bare chroot: apt-get build-dep, dpkg-buildpackage with
#      the test suite, and that release's lintian, which must report no error or warning;
#   2. scripts/test.sh dev: the dev preset (warnings are errors, every header compiled on its
#      own) and the whole test suite, with the packages the README's quick start installs;
#   3. scripts/check_install.sh --package-built: the installation, the desktop entry and the
#      metainfo validated with that release's tools, and the package of step 1 inspected,
#      installed, started and removed.
# Results stay in build/<codename>/ (debian/, dev/, release/).
# Usage: scripts/check_debian.sh <codename>   e.g. trixie for Debian 13
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--in-chroot" ]; then
    step() {
        local start=$SECONDS
        echo "== $*"
        "$@"
        echo "== $1 done in $((SECONDS - start))s"
    }
    step scripts/debian_package.sh
    step scripts/test.sh dev
    step scripts/check_install.sh --package-built
    exit 0
fi

codename="${1:?usage: scripts/check_debian.sh <codename>}"
exec scripts/debian_chroot.sh "$codename" scripts/check_debian.sh --in-chroot
