#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source and binary packages from debian/ with dpkg-buildpackage, which runs
# the test suite on the offscreen platform, and checks them with lintian. The build runs in a
# clean copy of the work tree's files (tracked and new ones, none that .gitignore names), so
# earlier builds under build/ do not end up in the source package. Installs the tools it needs
# and, as apt-get build-dep does for any package build, the Build-Depends of debian/control.
#
# A package is built for one Debian release (the one for Debian 13 needs its Qt 6.8 and
# libqt6core6t64), so its version carries the release: 2.0.0+deb12 for Debian 12, 2.0.0+deb13
# for Debian 13 (a changelog entry in the build copy says so).
# Without an argument the package is built for the release this machine runs. With the code
# name of another release (bookworm for Debian 12, trixie for Debian 13) it is built in a clean
# chroot of that release (scripts/debian_chroot.sh, needs root or sudo), with that release's
# compiler, Qt and lintian.
# Results: build/debian/ (this machine's release) or build/<codename>/debian/ (another one):
# pendro_<version>_<arch>.deb, the -dbgsym package, .dsc, .tar.xz and .changes.
# Usage: scripts/debian_package.sh [codename]
# Fails when the build fails or lintian reports an error or a warning; lintian's info and
# pedantic tags are shown as well but do not fail it.
set -euo pipefail
cd "$(dirname "$0")/.."

. /etc/os-release
release="${1:-${VERSION_CODENAME:-}}"
if [ -n "$release" ] && [ "$release" != "${VERSION_CODENAME:-}" ]; then
    scripts/debian_chroot.sh "$release" scripts/debian_package.sh
    echo "== packages for Debian $release in build/$release/debian/"
    exit 0
fi

. scripts/ensure_packages.sh
ensure_packages dpkg-dev debhelper lintian
ensure_build_dependencies

# The release's number in the version, in a changelog entry of the build copy by the maintainer
# of the newest one and dated one second after it (an entry must be newer than the one before),
# so that the build stays reproducible. Debian testing and unstable have no number and keep the
# version as it is.
version=$(dpkg-parsechangelog -S Version)
suffix=""
[[ "${VERSION_ID:-}" =~ ^[0-9]+$ ]] && suffix="+deb$VERSION_ID"
out=build/debian
tree="$out/pendro-$version$suffix"
rm -rf "$out"
mkdir -p "$tree"

scripts/copy_work_tree.sh "$tree"

if [ -n "$suffix" ]; then
    {
        echo "pendro ($version$suffix) $(dpkg-parsechangelog -S Distribution); urgency=medium"
        echo
        echo "  * Built for Debian $VERSION_ID ($VERSION_CODENAME)."
        echo
        date=$(LC_ALL=C date -u -R -d "@$(($(dpkg-parsechangelog -S Timestamp) + 1))")
        echo " -- $(dpkg-parsechangelog -S Maintainer)  $date"
        echo
        cat debian/changelog
    } >"$tree/debian/changelog"
    version="$version$suffix"
fi

echo "== dpkg-buildpackage -us -uc in $tree (version $version, Debian ${VERSION_ID:-$VERSION_CODENAME})"
(cd "$tree" && dpkg-buildpackage -us -uc -Jauto)

changes="$out/pendro_${version}_$(dpkg --print-architecture).changes"
echo "== lintian $(dpkg-query -W -f='${Version}' lintian): lintian -I --pedantic $changes"
lintian -I --pedantic --fail-on error,warning "$changes"
echo "== lintian: no errors or warnings"
