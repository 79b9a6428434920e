#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the desktop installation: builds Pendro (release preset), installs it into a temporary
# prefix, checks the installed files and validates the desktop entry and the AppStream metainfo,
# builds the Debian package and inspects it, and - as root, when nothing else on the machine
# would change - installs the package with apt-get, starts it once and removes it again.
# Usage: scripts/check_install.sh [--no-deb-install]
# Ends with "N passed, N failed"; the exit status is non-zero when a check failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir="$PWD"

try_deb_install=1
[ "${1:-}" = "--no-deb-install" ] && try_deb_install=0

. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" desktop-file-utils appstream dpkg-dev

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
check "scalable icon" bash -c "file -b '$prefix/share/icons/hicolor/scalable/apps/$app_id.svg' \
    | grep -q 'SVG'"

# -- Desktop entry
check "desktop-file-validate" desktop-file-validate "$desktop"
check "desktop entry: Exec, Icon and categories Education;Math" bash -c "
    grep -qx 'Exec=pendro' '$desktop' && grep -qx 'Icon=$app_id' '$desktop' &&
    grep -Eqx 'Categories=Education;Math;?' '$desktop'"
check "desktop entry: German name and comment" bash -c "
    grep -q '^Name\\[de\\]=' '$desktop' && grep -q '^Comment\\[de\\]=.*Bruchrechnung' '$desktop'"

# -- AppStream metainfo
check "appstreamcli validate --no-net" appstreamcli validate --no-net --no-color "$metainfo"
check "metainfo: licenses, developer, German description" bash -c "
    grep -q '<metadata_license>CC0-1.0</metadata_license>' '$metainfo' &&
    grep -q '<project_license>LicenseRef-free-to-use</project_license>' '$metainfo' &&
    grep -Pzo '<developer[^>]*>\\s*<name>Pendro</name>' '$metainfo' >/dev/null &&
    grep -q 'Primfaktoren' '$metainfo'"
check "metainfo: no screenshot, person, e-mail or web address" bash -c "
    ! grep -Eiq '<screenshot|<url|<update_contact|@|https?:|www\\.' '$metainfo'"

# -- Debian package
version=$(sed -n 's/^project(Pendro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="$build/pendro_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
if ! cpack_output=$(cd "$build" && cpack -G DEB 2>&1) || [ ! -f "$deb" ]; then
    fail "cpack -G DEB did not produce $deb"
    printf '      %s\n' "${cpack_output//$'\n'/$'\n'      }"
else
    pass "cpack -G DEB: $(basename "$deb")"
    contents=$(dpkg-deb -c "$deb")
    depends=$(dpkg-deb -f "$deb" Depends)
    dpkg-deb -I "$deb" | grep -E "^ (Package|Version|Depends|Recommends|Section):" | sed "s/^/     /"
    check "package maintainer" bash -c "[ \"\$(dpkg-deb -f '$deb' Maintainer)\" = 'Pendro <noreply@invalid>' ]"
    for file in usr/bin/pendro usr/share/applications/$app_id.desktop \
        usr/share/metainfo/$app_id.metainfo.xml \
        usr/share/icons/hicolor/133x133/apps/$app_id.png \
        usr/share/icons/hicolor/scalable/apps/$app_id.svg; do
        check "package holds /$file" grep -q " \./$file\$" <<<"$contents"
    done
    # "name (>= version)" per line, from the Depends field.
    depends_lines=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ *$//')
    declared_version() { # name -> the version after ">=", empty when none; fails when absent
        local line
        line=$(awk -v n="$1" '$1 == n' <<<"$depends_lines")
        [ -n "$line" ] || return 1
        sed -n 's/.*(>= *\([^)]*\)).*/\1/p' <<<"$line"
    }
    for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
        check "Depends names $package" declared_version "$package"
    done
    # Every library the executable links against comes from a package the Depends line names,
    # at least in the version dpkg-shlibdeps finds the executable needs.
    shlibs_dir=$(mktemp -d)
    mkdir -p "$shlibs_dir/debian"
    touch "$shlibs_dir/debian/control"
    if needed=$(cd "$shlibs_dir" && dpkg-shlibdeps -O "$source_dir/$build/app/pendro" 2>/dev/null); then
        needed=${needed#shlibs:Depends=}
        echo "      the executable needs: $needed"
        problems=()
        while IFS= read -r entry; do
            name=$(awk '{print $1}' <<<"$entry")
            wanted=$(sed -n 's/.*(>= *\([^)]*\)).*/\1/p' <<<"$entry")
            if ! have=$(declared_version "$name"); then
                problems+=("$name missing")
            elif [ -n "$wanted" ] && { [ -z "$have" ] || ! dpkg --compare-versions "$have" ge "$wanted"; }; then
                problems+=("$name (>= ${have:-any}) below $wanted")
            fi
        done < <(tr ',' '\n' <<<"$needed" | sed 's/^ *//; s/ *$//')
        if [ ${#problems[@]} -eq 0 ]; then
            pass "Depends covers every linked library in the needed version"
        else
            fail "Depends: ${problems[*]}"
        fi
    else
        fail "dpkg-shlibdeps could not read the executable"
    fi
    rm -rf "$shlibs_dir"

    # -- Install, start and remove the package, only when that leaves the machine as it was.
    if [ "$try_deb_install" -eq 1 ] && [ "$(id -u)" -eq 0 ]; then
        if dpkg-query -W -f='${Status}' pendro 2>/dev/null | grep -q "install ok installed"; then
            echo "SKIP  apt-get install of the package: pendro is installed already"
        else
            simulation=$(apt-get install -s -y "./$deb" 2>&1 || true)
            others=$(grep '^Inst ' <<<"$simulation" | awk '{print $2}' | grep -vx pendro || true)
            if [ -n "$others" ]; then
                echo "SKIP  apt-get install of the package: it would also install ${others//$'\n'/ }"
            else
                apt=(env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300)
                check "apt-get install ./$(basename "$deb")" "${apt[@]}" install "./$deb"
                check "installed /usr/bin/pendro starts (offscreen, still running after 3 s)" \
                    bash -c 'QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/pendro; [ $? -eq 124 ]'
                check "apt-get remove -y pendro" "${apt[@]}" remove pendro
                check "nothing of the package is left" test ! -e /usr/bin/pendro
            fi
        fi
    else
        echo "SKIP  apt-get install of the package (needs root; --no-deb-install skips it)"
    fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
