#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks of the Windows scripts that need no Qt build: shellcheck, and the first step of a
# Windows build on a fresh machine. There, Qt's source is fetched with `apt-get source`, whose
# dpkg-source prints its progress to standard output; none of that may end up in the source
# path that configure is started from. qt_source runs here against an empty cache folder with a
# stand-in apt-get that prints as dpkg-source does and unpacks a stand-in source, so the fresh
# path is taken without downloading or building Qt; what the build then records of that source
# for the packages' QUELLTEXT.txt is read back.
set -euo pipefail
cd "$(dirname "$0")/.."
passed=0

check() {
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1: got \"$2\", expected \"$3\"" >&2
        echo "$passed passed, 1 failed"
        exit 1
    fi
}

shellcheck -x scripts/windows.sh scripts/sign_windows.sh scripts/wine_test.sh scripts/check_windows_scripts.sh
passed=$((passed + 1))

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/cache"
cat >"$work/bin/apt-get" <<'STANDIN'
#!/bin/sh
echo "apt-get $*" >>"$STANDIN_LOG"
if [ "$1" = source ]; then
    echo "dpkg-source: info: extracting qt6-base in qt6-base-6.4.2+dfsg"
    echo "dpkg-source: info: unpacking qt6-base_6.4.2+dfsg.orig.tar.xz"
    echo "dpkg-source: info: applying fix-build.patch"
    mkdir -p qt6-base-6.4.2+dfsg/debian
    printf '#!/bin/sh\n' >qt6-base-6.4.2+dfsg/configure
    chmod +x qt6-base-6.4.2+dfsg/configure
    printf 'qt6-base (6.4.2+dfsg-9) unstable; urgency=medium\n' >qt6-base-6.4.2+dfsg/debian/changelog
    printf 'Format: stand-in\n' >qt6-base-6.4.2+dfsg/debian/copyright
fi
STANDIN
cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/bin/sh
printf '6.4.2+dfsg-10'
STANDIN
cat >"$work/bin/sudo" <<'STANDIN'
#!/bin/sh
exec "$@"
STANDIN
chmod +x "$work/bin/"*
printf 'Types: deb\nURIs: http://archive.invalid/debian\nSuites: bookworm\nComponents: main\n' >"$work/debian.sources"

export STANDIN_LOG="$work/apt.log" PATH="$work/bin:$PATH" XDG_CACHE_HOME="$work/cache"
unset PENDRO_QT_WINDOWS
# shellcheck source=scripts/windows.sh
. scripts/windows.sh
apt_sources="$work/debian.sources"
qt_src=""
qt_source >/dev/null 2>&1
src="$work/cache/pendro/src/qt6-base-6.4.2+dfsg"
check "source folder on an empty cache" "$qt_src" "$src"
check "configure found there" "$([ -x "$qt_src/configure" ] && echo yes)" yes
check "deb-src switched on" "$(head -n1 "$work/debian.sources")" "Types: deb deb-src"
check "apt-get calls" "$(cat "$STANDIN_LOG")" "apt-get update -qq
apt-get source -qq qt6-base=6.4.2+dfsg-10"
check "nothing left of the download" "$(find "$work/cache/pendro/src" -mindepth 1 -maxdepth 1)" "$src"

# The second time the cache holds the source: no apt-get at all.
: >"$STANDIN_LOG"
qt_src=""
qt_source >/dev/null 2>&1
check "source folder from the cache" "$qt_src" "$src"
check "no apt-get with a filled cache" "$(cat "$STANDIN_LOG")" ""

# The packages name the Debian source that Qt was built from: the one recorded beside it, even
# where this machine has another revision (the stand-in dpkg-query says -10); never one of
# another Qt version.
qt_prefix="$work/qt"
mkdir -p "$qt_prefix"
record_qt_source
qt_debian_source
check "source version recorded with Qt" "$qt_source_version" "6.4.2+dfsg-9"
check "copyright recorded with Qt" "$(cat "$qt_copyright")" "Format: stand-in"
echo "qt6-base 6.5.0+dfsg-1" >"$qt_prefix/pendro-qt-source"
check "another Qt version refused" "$( (qt_debian_source) 2>/dev/null && echo taken || echo refused)" refused

echo "Windows scripts: shellcheck clean, Qt's source step works on an empty cache, the packages name Qt's recorded source"
echo "$passed passed, 0 failed"
