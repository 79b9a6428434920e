#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks of the Windows scripts that need no Qt build: shellcheck, and the first step of a
# Windows build on a fresh machine. There, Qt's source is fetched with `apt-get source`, whose
# dpkg-source prints its progress to standard output; none of that may end up in the source
# path that configure is started from. qt_source runs here against an empty cache folder with a
# stand-in apt-get that prints as dpkg-source does and unpacks a stand-in source, so the fresh
# path is taken without downloading or building Qt.
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
    mkdir -p qt6-base-6.4.2+dfsg
    printf '#!/bin/sh\n' >qt6-base-6.4.2+dfsg/configure
    chmod +x qt6-base-6.4.2+dfsg/configure
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

echo "Windows scripts: shellcheck clean, Qt's source step works on an empty cache"
echo "$passed passed, 0 failed"
