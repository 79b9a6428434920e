#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source and binary packages from debian/ with dpkg-buildpackage, which runs
# the test suite on the offscreen platform, and checks them with lintian. The build runs in a
# clean copy of the work tree's files (tracked and new ones, none that .gitignore names), so
# earlier builds under build/ do not end up in the source package.
# Results: build/debian/pendro_<version>_<arch>.deb, the -dbgsym package, .dsc, .tar.xz and
# .changes. Installs the Debian packages it needs first.
# Usage: scripts/debian_package.sh
# Fails when the build fails or lintian reports an error or a warning; lintian's info and
# pedantic tags are shown as well but do not fail it.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" debhelper dpkg-dev lintian

version=$(dpkg-parsechangelog -S Version)
out=build/debian
tree="$out/pendro-$version"
rm -rf "$out"
mkdir -p "$tree"

# git ls-files also lists tracked files deleted in the work tree; copy only what exists.
files=()
while IFS= read -r -d '' file; do
    [ -e "$file" ] && files+=("$file")
done < <(git ls-files -z --cached --others --exclude-standard)
tar -cf - -- "${files[@]}" | tar -xf - -C "$tree"

echo "== dpkg-buildpackage -us -uc in $tree"
(cd "$tree" && dpkg-buildpackage -us -uc -Jauto)

changes="$out/pendro_${version}_$(dpkg --print-architecture).changes"
echo "== lintian -I --pedantic $changes"
lintian -I --pedantic --fail-on error,warning "$changes"
echo "== lintian: no errors or warnings"
