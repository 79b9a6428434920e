#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the desktop installation: builds Pendro (release preset), installs it into a temporary
# prefix, checks the installed files, validates the desktop entry and the AppStream metainfo,
# builds the Debian package with scripts/debian_package.sh (dpkg-buildpackage and lintian) and
# inspects it, and - as root, when nothing else on the machine would change - installs the
# package with apt-get, starts it once and removes it again.
# Usage: scripts/check_install.sh [--no-deb-install] [--package-built]
#   --package-built  inspect the package that scripts/debian_package.sh has just built in
#                    build/debian/ instead of building it again
# Ends with "N passed, N failed"; the exit status is non-zero when a check failed.
set -euo pipefail
cd "$(dirname "$0")/.."

try_deb_install=1
build_package=1
for option in "$@"; do
    case "$option" in
    --no-deb-install) try_deb_install=0 ;;
    --package-built) build_package=0 ;;
    *)
        echo "usage: scripts/check_install.sh [--no-deb-install] [--package-built]" >&2
        exit 2
        ;;
    esac
done

. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" desktop-file-utils appstream dpkg-dev man-db file

passed=0
failed=0
pass() {
    passed=$((passed + 1))
    echo "PASS  $*"
}
fail() {
    failed=$((failed + 1))
    echo "FAIL  $*"
}
# check "description" command...: passes when the command succeeds; its output is shown on failure.
check() {
    local what="$1"
    shift
    local output
    if output=$("$@" 2>&1); then
        pass "$what"
    else
        fail "$what"
        [ -n "$output" ] && printf '      %s\n' "${output//$'\n'/$'\n'      }"
    fi
    return 0
}

build=build/release
cmake --preset release >/dev/null
cmake --build --preset release --target pendro

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

# -- Installed files
app_id=de.pendro.Pendro
desktop="$prefix/share/applications/$app_id.desktop"
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
check "executable bin/pendro" test -x "$prefix/bin/pendro"
check "desktop entry" test -f "$desktop"
check "AppStream metainfo" test -f "$metainfo"
for size in 16 32 48 64 128 133 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    check "icon ${size}x${size}" bash -c "file -b '$icon' | grep -q 'PNG image data, $size x $size'"
done
check "manual page share/man/man1/pendro.1" test -f "$prefix/share/man/man1/pendro.1"
check "manual page renders without warnings" bash -c "
    out=\$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '$prefix/share/man/man1/pendro.1' 2>&1 >/dev/null)
    [ -z \"\$out\" ] || { echo \"\$out\"; false; }"
check "scalable icon" bash -c "file -b '$prefix/share/icons/hicolor/scalable/apps/$app_id.svg' \
    | grep -q 'SVG'"

# -- Desktop entry
check "desktop-file-validate" desktop-file-validate "$desktop"
check "desktop entry: Exec, Icon and categories Education;Math" bash -c "
    grep -qx 'Exec=pendro' '$desktop' && grep -qx 'Icon=$app_id' '$desktop' &&
    grep -Eqx 'Categories=Education;Math;?' '$desktop'"
check "desktop entry: English name, comment and keywords with German translations" bash -c "
    grep -qx 'Name=Pendro' '$desktop' && grep -q '^Name\\[de\\]=' '$desktop' &&
    grep -q '^Comment=.*fractions' '$desktop' && grep -q '^Comment\\[de\\]=.*Bruchrechnung' '$desktop' &&
    grep -q '^Keywords=.*prime' '$desktop' && grep -q '^Keywords\\[de\\]=.*Primzahl' '$desktop'"

# -- AppStream metainfo
# --pedantic shows the pedantic and info hints as well; only errors and warnings fail. AppStream
# 1.0 (Debian 13) also warns that there is no homepage link; Pendro has no homepage, so that one
# is shown as a note.
appstream_options=(--pedantic --no-net --no-color)
if dpkg --compare-versions "$(dpkg-query -W -f='${Version}' appstream)" ge 1.0; then
    appstream_options+=(--override=url-homepage-missing=info)
fi
appstream_status=0
appstream_output=$(appstreamcli validate "${appstream_options[@]}" "$metainfo" 2>&1) ||
    appstream_status=$?
printf '      %s\n' "${appstream_output//$'\n'/$'\n'      }"
check "appstreamcli validate --pedantic --no-net: no error or warning" bash -c \
    '[ "$1" -eq 0 ] && ! grep -Eq "^[EW]: " <<<"$2"' _ "$appstream_status" "$appstream_output"
check "metainfo: licenses, developer, English and German description" bash -c "
    grep -q '<metadata_license>CC0-1.0</metadata_license>' '$metainfo' &&
    grep -q 'SPDX-License-Identifier: CC0-1.0' '$metainfo' &&
    grep -q '<project_license>GPL-3.0-or-later</project_license>' '$metainfo' &&
    grep -Pzo '<developer[^>]*>\\s*<name>Pendro</name>' '$metainfo' >/dev/null &&
    grep -q '<p>' '$metainfo' && grep -q '<p xml:lang=\"de\">' '$metainfo' &&
    grep -q '<summary xml:lang=\"de\">' '$metainfo' &&
    grep -q '<release version=\"2.0.0\" date=\"2026-12-09\">' '$metainfo' &&
    grep -q '<binary>pendro</binary>' '$metainfo'"
check "metainfo: no screenshot, person, e-mail or web address" bash -c "
    ! grep -Eiq '<screenshot|<url|<update_contact|@|https?:|www\\.' '$metainfo'"

# -- Debian package (its version carries the release it is built for, e.g. 2.0.0+deb12)
arch=$(dpkg --print-architecture)
package_status=0
package_output="(built before by scripts/debian_package.sh)"
if [ "$build_package" -eq 1 ]; then
    package_output=$(scripts/debian_package.sh 2>&1) || package_status=$?
fi
debs=(build/debian/pendro_*_"$arch".deb)
deb="${debs[0]}"
if [ "$package_status" -ne 0 ] || [ ${#debs[@]} -ne 1 ] || [ ! -f "$deb" ]; then
    fail "scripts/debian_package.sh (dpkg-buildpackage and lintian)"
    printf '      %s\n' "${package_output//$'\n'/$'\n'      }" | tail -n 60
else
    version=$(dpkg-deb -f "$deb" Version)
    if [ "$build_package" -eq 1 ]; then
        pass "dpkg-buildpackage and lintian without errors or warnings: $(basename "$deb")"
        sed -n '/^== lintian /,$p' <<<"$package_output" | grep -v 'running with root' | sed 's/^/      /'
    fi
    contents=$(dpkg-deb -c "$deb")
    dpkg-deb -I "$deb" | grep -E "^ (Package|Version|Depends|Recommends|Section):" | sed "s/^/     /"
    check "package maintainer" bash -c "[ \"\$(dpkg-deb -f '$deb' Maintainer)\" = 'Pendro <noreply@pendro.invalid>' ]"
    for file in usr/bin/pendro usr/share/man/man1/pendro.1.gz \
        usr/share/doc/pendro/copyright usr/share/doc/pendro/changelog.gz \
        usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
        usr/share/icons/hicolor/133x133/apps/$app_id.png \
        usr/share/icons/hicolor/scalable/apps/$app_id.svg; do
        check "package holds /$file" grep -q " \./$file\$" <<<"$contents"
    done
    check "package holds no tests or benchmarks" bash -c "! grep -Eq '/(test|bench)_' <<<\"\$1\"" _ "$contents"
    check "debug symbols in pendro-dbgsym" test -f "build/debian/pendro-dbgsym_${version}_$arch.deb"
    unpacked=$(mktemp -d)
    dpkg-deb -x "$deb" "$unpacked"
    check "/usr/bin/pendro is stripped" bash -c "file -b '$unpacked/usr/bin/pendro' | grep -q ', stripped'"
    rm -rf "$unpacked"
    depends=$(dpkg-deb -f "$deb" Depends)
    # Debian 13 calls Qt's core library libqt6core6t64 (the 64-bit time_t transition).
    for package in libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation qt6-translations-l10n; do
        check "Depends names $package" grep -Eq "(^|, )$package(t64)?( |,|\$)" <<<"$depends"
    done

    # -- Install, start and remove the package, only when that leaves the machine as it was.
    if [ "$try_deb_install" -eq 1 ] && [ "$(id -u)" -eq 0 ]; then
        if dpkg-query -W -f='${Status}' pendro 2>/dev/null | grep -q "install ok installed"; then
            echo "SKIP  apt-get install of the package: pendro is installed already"
        else
            apt=(env DEBIAN_FRONTEND=noninteractive apt-get -y -qq --no-install-recommends
                -o DPkg::Lock::Timeout=300)
            simulation=$("${apt[@]}" install -s "./$deb" 2>&1 || true)
            others=$(grep '^Inst ' <<<"$simulation" | awk '{print $2}' | grep -vx pendro || true)
            if [ -n "$others" ]; then
                echo "SKIP  apt-get install of the package: it would also install ${others//$'\n'/ }"
            else
                check "apt-get install ./$(basename "$deb")" "${apt[@]}" install "./$deb"
                check "installed /usr/bin/pendro starts (offscreen, still running after 3 s)" \
                    bash -c 'QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/pendro; [ $? -eq 124 ]'
                check "man pendro finds the manual page" bash -c 'man -w pendro | grep -q pendro.1'
                check "apt-get purge pendro" "${apt[@]}" purge pendro
                check "nothing of the package is left" bash -c \
                    'test ! -e /usr/bin/pendro && test ! -e /usr/share/man/man1/pendro.1.gz &&
                     test ! -e /usr/share/doc/pendro'
            fi
        fi
    else
        echo "SKIP  apt-get install of the package (needs root; --no-deb-install skips it)"
    fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
