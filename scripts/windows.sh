#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pendro for Windows, built on Debian: cross-builds Qt (once, into a cache), Pendro and its
# tests with MinGW-w64, runs the tests under Wine and writes the portable zip, the installer
# and the MSI to build/windows/dist/.
# Usage: scripts/windows.sh [qt|build|test|package|check-qt|check-scripts]...
#   (no argument: qt build package test)
#   qt        build Qt for Windows from Debian's qt6-base source, unless the cache holds it
#   build     cross-build Pendro and its tests against the cached Qt, and gather the program
#             folder: pendro.exe, Qt, the MinGW runtime, the licences (Lizenzen\) and the
#             corresponding source (Quelltext\: the source archive and QUELLTEXT.txt)
#   package   the portable zip, the installer and the MSI, reproducibly (time stamps from
#             SOURCE_DATE_EPOCH, by default the last commit's time), signed when a certificate
#             is given (see scripts/sign_windows.sh)
#   test      run the test suite under Wine (offscreen platform), then Pendro itself with the
#             windows platform on Xvfb: the zip in a fresh prefix, the installer, the MSI with
#             an upgrade and a refused downgrade (each with its source folder and the Start-menu
#             entry to it, removed again), the display scales 125, 150 and 200 %, a
#             second packaging compared byte for byte, and signing with a throwaway certificate
#   check-qt  fail at once, with the command that builds it, if the cached Qt is missing
#   check-scripts  shellcheck on the Windows scripts and Qt's source step on an empty cache
#             folder with a stand-in apt-get (scripts/check_windows_scripts.sh)
# Environment: PENDRO_QT_WINDOWS overrides the cache folder of the cross-built Qt;
# PENDRO_RANDOM_STEPS the random-use steps under Wine (default 20000); SOURCE_DATE_EPOCH the
# packages' time stamps; PENDRO_SIGN_CERT, PENDRO_SIGN_KEY, PENDRO_SIGN_PASSWORD and
# PENDRO_SIGN_TIMESTAMP_URL the signing (scripts/sign_windows.sh).
#
# The tests run steps in subshells with another dist_dir or signing certificate on purpose,
# and NSIS lines are written with their $INSTDIR and ${APP_DIR} as they stand.
# shellcheck disable=SC2030,SC2031,SC2016
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
# shellcheck source=scripts/ensure_packages.sh
. scripts/ensure_packages.sh
# shellcheck source=scripts/shared_qt_archive.sh
. scripts/shared_qt_archive.sh

qt_version=6.4.2
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/pendro"
qt_prefix="${PENDRO_QT_WINDOWS:-$cache_root/qt-$qt_version-mingw-x86_64}"
triple=x86_64-w64-mingw32
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
build_dir="$root/build/windows"
dist_dir="$build_dir/dist"
version=$(sed -n 's/^project(Pendro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
qt_translations=/usr/share/qt6/translations/qtbase_de.qm

WINDOWS_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev
    wine wine64 xvfb xauth x11-utils nsis zip unzip imagemagick icoutils fonts-liberation
    wixl msitools faketime osslsigncode openssl shellcheck git)

# Only what Pendro needs: Core, Gui, Widgets and Test with the windows, offscreen and style
# plugins. Debian's source has no wintab, so tablet events (and direct2d, which shares the
# windows plugin's sources) stay off, and with direct2d the DirectWrite 3 font database (the
# windows plugin uses its GDI one by default); PNG is built into QtGui: no image-format plugin.
# The cache is keyed by this exact line: change it and the next run rebuilds Qt.
qt_configure_args=(-prefix "$qt_prefix" -release -shared -opensource -confirm-license
    -xplatform win32-g++ -device-option CROSS_COMPILE="$triple-" -qt-host-path /usr
    -nomake examples -nomake tests
    -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype -qt-doubleconversion
    -no-opengl -no-dbus -no-feature-vulkan -no-feature-network -no-feature-sql
    -no-feature-printsupport -no-feature-xml -no-feature-concurrent
    -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite3
    -no-feature-gif -no-feature-ico -no-feature-jpeg
    -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
# The key holds the toolchain by its content, not by where this checkout lies.
qt_key="$qt_version ${qt_configure_args[*]//$root/<checkout>} toolchain:$(sha256sum <"$toolchain" | cut -c1-64)"

qt_cached() {
    [ -f "$qt_prefix/pendro-configure-line" ] &&
        [ "$(cat "$qt_prefix/pendro-configure-line")" = "$qt_key" ] &&
        [ -f "$qt_prefix/bin/Qt6Widgets.dll" ] && [ -f "$qt_prefix/plugins/platforms/qwindows.dll" ]
}

check_qt() {
    if ! qt_cached; then
        echo "Qt $qt_version for Windows is not in the cache ($qt_prefix)." >&2
        echo "Build it once (about an hour on 2 cores) with: scripts/windows.sh qt" >&2
        exit 1
    fi
}

# Debian's own source of the Qt this machine has, unpacked once into the cache; deb-src is
# switched on for apt if needed. Sets qt_src to the source folder. It is not called as
# $(qt_source): apt-get and dpkg-source print their progress to standard output, and that
# must never become part of a path.
apt_sources=/etc/apt/sources.list.d/debian.sources
qt_source() {
    local src_parent="$cache_root/src" unpack="$cache_root/src/unpacking"
    qt_src=""
    [ -d "$src_parent" ] &&
        qt_src=$(find "$src_parent" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$qt_version*" -print -quit)
    if [ -n "$qt_src" ] && [ -f "$qt_src/configure" ]; then
        return 0
    fi
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    if [ -f "$apt_sources" ] && ! grep -q '^Types:.*deb-src' "$apt_sources"; then
        "${sudo[@]}" sed -i 's/^Types: deb$/Types: deb deb-src/' "$apt_sources"
        "${sudo[@]}" apt-get update -qq >&2
    fi
    # Unpacked aside and moved in whole, so that an interrupted download leaves no half folder.
    rm -rf "$unpack"
    mkdir -p "$unpack"
    (cd "$unpack" && apt-get source -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)") >&2
    local unpacked
    unpacked=$(find "$unpack" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$qt_version*" -print -quit)
    if [ -z "$unpacked" ] || [ ! -f "$unpacked/configure" ]; then
        echo "apt-get source qt6-base left no Qt $qt_version source with a configure script in $unpack" >&2
        exit 1
    fi
    rm -rf "${src_parent:?}/${unpacked##*/}"
    mv "$unpacked" "$src_parent/"
    rm -rf "$unpack"
    qt_src="$src_parent/${unpacked##*/}"
}

# Which Debian source the cached Qt was built from, kept with it for the packages'
# QUELLTEXT.txt and Lizenzen\qt6-base.txt (see qt_debian_source).
record_qt_source() {
    sed -n '1s/^[^(]*(\([^)]*\)).*/qt6-base \1/p' "$qt_src/debian/changelog" >"$qt_prefix/pendro-qt-source"
    cp "$qt_src/debian/copyright" "$qt_prefix/pendro-qt-copyright"
}

build_qt() {
    if qt_cached; then
        echo "Qt for Windows: cached in $qt_prefix"
        return 0
    fi
    local qt_build start=$SECONDS
    qt_source
    qt_build="$cache_root/qt-build-mingw-x86_64"
    rm -rf "$qt_build" "$qt_prefix"
    mkdir -p "$qt_build"
    echo "Qt for Windows: configuring $qt_src"
    (cd "$qt_build" && "$qt_src/configure" "${qt_configure_args[@]}")
    cmake --build "$qt_build" --parallel "$(nproc)"
    cmake --install "$qt_build"
    echo "$qt_key" >"$qt_prefix/pendro-configure-line"
    record_qt_source
    rm -rf "$qt_build"
    echo "Qt for Windows: built in $((SECONDS - start))s into $qt_prefix"
}


mingw_runtime_dirs() {
    local gcc_dir
    gcc_dir=$(dirname "$($triple-g++-posix -print-libgcc-file-name)")
    echo "$gcc_dir" "/usr/$triple/lib"
}

build_pendro() {
    check_qt
    # The linker and strip write SOURCE_DATE_EPOCH into the PE headers instead of the time.
    source_date_epoch
    local start=$SECONDS
    # Qt's rcc writes SOURCE_DATE_EPOCH into the resources it compiles, but ninja does not run
    # it again for another value: resources compiled at another commit's time are made anew,
    # or pendro.exe would depend on which builds came before.
    local stamp="$build_dir/build/pendro-source-date-epoch"
    if [ -d "$build_dir/build" ] && [ "$(cat "$stamp" 2>/dev/null)" != "$SOURCE_DATE_EPOCH" ]; then
        find "$build_dir/build" -name 'qrc_*.cpp' -delete
    fi
    cmake -S "$root" -B "$build_dir/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DPENDRO_WERROR=ON -DPENDRO_BUILD_BENCH=OFF \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine_test.sh" >/dev/null
    cmake --build "$build_dir/build" --parallel "$(nproc)"
    echo "$SOURCE_DATE_EPOCH" >"$stamp"
    deploy
    echo "Windows build: done in $((SECONDS - start))s"
}

# The portable folder: pendro.exe and exactly what it loads. windeployqt does not exist for a
# cross build, so the list is explicit, and checked below against the DLLs' imports.
deploy() {
    local app="$build_dir/app/Pendro"
    rm -rf "$build_dir/app"
    mkdir -p "$app/plugins/platforms" "$app/translations"
    cp "$build_dir/build/app/pendro.exe" "$app/"
    $triple-strip "$app/pendro.exe"
    cp "$qt_prefix"/bin/Qt6{Core,Gui,Widgets}.dll "$app/"
    cp "$qt_prefix/plugins/platforms/qwindows.dll" "$app/plugins/platforms/"
    local dir dll
    local -A runtime=()
    for dir in $(mingw_runtime_dirs); do
        for dll in libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll; do
            [ -f "$dir/$dll" ] && runtime[$dll]="$dir/$dll"
        done
    done
    for dll in "${runtime[@]}"; do cp "$dll" "$app/"; done
    find "$app" -name '*.dll' -exec $triple-strip --strip-unneeded {} +
    cp "$qt_translations" "$app/translations/"
    cp "$root/packaging/windows/qt.conf" "$app/"
    sed 's/$/\r/' "$root/LICENSE" >"$app/LICENSE.txt"
    check_imports "$app"
    source_folder "$app" "${runtime[@]}"
}

# Every DLL that the folder's binaries import is in the folder or part of Windows itself.
check_imports() {
    local app="$1" absent=0 binary dll
    local system='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|version|netapi32|userenv|uxtheme|dwmapi|shlwapi|setupapi|wtsapi32|authz|mpr|d3d9|d3d11|d3d12|dxgi|dwrite|d2d1|msvcrt|ucrtbase|api-ms-win-.*|crypt32|bcrypt|ncrypt|secur32|rpcrt4|comctl32|shcore|opengl32|iphlpapi|winspool\.drv|cfgmgr32|propsys|combase|ntdll|usp10|dnsapi)\.dll$'
    while IFS= read -r binary; do
        while IFS= read -r dll; do
            if ! echo "$dll" | tr '[:upper:]' '[:lower:]' | grep -Eq "$system" &&
                [ ! -f "$app/$dll" ]; then
                echo "missing from the folder: $dll (imported by ${binary#"$app"/})" >&2
                absent=1
            fi
        done < <($triple-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p')
    done < <(find "$app" -name '*.exe' -o -name '*.dll')
    [ "$absent" -eq 0 ] || exit 1
}

# The Debian source the cached Qt was built from: qt_source_version, and qt_copyright, the
# copyright file of that source. build_qt records both; a cache made before it did (such as
# the shared archive) was built from what apt-get source fetches here, which is taken only if
# it is the same Qt version.
qt_debian_source() {
    local installed
    installed=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    if [ -f "$qt_prefix/pendro-qt-source" ]; then
        qt_source_version=$(sed -n 's/^qt6-base //p' "$qt_prefix/pendro-qt-source")
    else
        qt_source_version=$installed
    fi
    case "$qt_source_version" in
    "$qt_version"[+-]*) ;;
    *) fail "the cached Qt $qt_version names no Debian source of its version (qt6-base $qt_source_version); rebuild it with scripts/windows.sh qt" ;;
    esac
    if [ -f "$qt_prefix/pendro-qt-copyright" ]; then
        qt_copyright="$qt_prefix/pendro-qt-copyright"
    elif [ "$installed" = "$qt_source_version" ]; then
        qt_copyright=/usr/share/doc/qt6-base-dev/copyright
    else
        fail "no copyright file of qt6-base $qt_source_version (this machine has $installed); rebuild Qt with scripts/windows.sh qt"
    fi
}

# A text file for Windows: UTF-8 with a byte order mark and CRLF line ends.
windows_text() {
    printf '\357\273\277'
    sed 's/\r*$/\r/' "$@"
}

# QUELLTEXT.txt's lines on files taken from Debian's packages, one block per package: its
# files, version, source package and how to fetch that. The package's copyright file becomes
# Lizenzen\<source package>.txt in the folder.
debian_files() {
    local app="$1" file package binary_version source source_version
    shift
    local -A files=()
    # By file name, so that the text does not depend on where the files lie.
    while IFS= read -r file; do
        package=$(dpkg-query -S "$file" | head -n1 | sed 's/[:,].*//')
        [ -n "$package" ] || fail "$file comes from no Debian package"
        files[$package]+="${files[$package]:+, }${file##*/}"
    done < <(printf '%s\n' "$@" | awk -F/ '{ print $NF "\t" $0 }' | LC_ALL=C sort | cut -f2)
    for package in $(printf '%s\n' "${!files[@]}" | LC_ALL=C sort); do
        IFS=$'\t' read -r binary_version source source_version < <(
            dpkg-query -W -f='${Version}\t${source:Package}\t${source:Version}\n' "$package" | head -n1)
        printf '    %s\n' "${files[$package]}"
        printf '        Debian-Paket %s %s\n' "$package" "$binary_version"
        printf '        Quellpaket %s %s:  apt-get source %s=%s\n' "$source" "$source_version" \
            "$source" "$source_version"
        printf '        Lizenz: Lizenzen\\%s.txt\n' "$source"
        windows_text "/usr/share/doc/$package/copyright" >"$app/Lizenzen/$source.txt"
    done
}

# Qt's configure line as scripts/windows.sh qt runs it, with the places of this machine
# replaced by names, wrapped for reading between options (an option keeps its value).
qt_configure_text() {
    local line="${qt_configure_args[*]}"
    line=${line//"$qt_prefix"/<Zielordner>}
    line=${line//"$root"/"<pendro-$version>"}
    echo "../qt6-base-${qt_source_version%-*}/configure $line" |
        awk '{ out = "   "; n = 0
               for (i = 1; i <= NF; i++) {
                   unit = $i
                   while (i < NF && $(i + 1) !~ /^-/) unit = unit " " $(++i)
                   if (n > 0 && length(out) + 1 + length(unit) > 86) { print out " \\"; out = "       " }
                   out = out " " unit; n++
               }
               print out }'
}

# The corresponding source and the licences, beside pendro.exe: Quelltext\ holds the source
# archive of this tree and QUELLTEXT.txt, which says where the source of everything else in the
# folder is and how to build it; Lizenzen\ the licences of what is not Pendro's own.
# Arguments: the folder, the runtime DLLs as they lie on this machine.
source_folder() {
    local app="$1" text gcc_major configure translations runtime
    shift
    mkdir -p "$app/Quelltext" "$app/Lizenzen"
    "$root/scripts/source_archive.sh" "$app/Quelltext/pendro-$version.tar.gz"
    qt_debian_source
    windows_text "$qt_copyright" >"$app/Lizenzen/qt6-base.txt"
    windows_text /usr/share/common-licenses/LGPL-3 >"$app/Lizenzen/LGPL-3.txt"
    gcc_major=$($triple-gcc-posix -dumpversion)
    configure=$(qt_configure_text)
    translations=$(debian_files "$app" "$qt_translations")
    runtime=$(debian_files "$app" "$@")
    text=$(grep -v '^#' "$root/packaging/windows/quelltext.txt.in")
    text=${text//@VERSION@/"$version"}
    text=${text//@SOURCE_DATE_EPOCH@/"$SOURCE_DATE_EPOCH"}
    text=${text//@QT_VERSION@/"$qt_version"}
    text=${text//@QT_SOURCE_VERSION@/"$qt_source_version"}
    text=${text//@QT_UPSTREAM_VERSION@/"${qt_source_version%-*}"}
    text=${text//@QT_CONFIGURE@/"$configure"}
    text=${text//@QT_TRANSLATIONS@/"$translations"}
    text=${text//@RUNTIME@/"$runtime"}
    text=${text//@GCC_MAJOR@/"${gcc_major%%[!0-9]*}"}
    [[ "$text" != *@[A-Z_]*@* ]] || fail "QUELLTEXT.txt: a name of quelltext.txt.in is not filled in"
    echo "$text" | windows_text >"$app/Quelltext/QUELLTEXT.txt"
    echo "Source folder: Quelltext\\pendro-$version.tar.gz and QUELLTEXT.txt (Qt from qt6-base $qt_source_version$(
        [ -f "$qt_prefix/pendro-qt-source" ] || echo ', as apt-get source fetches it here: the cache has no record')), Lizenzen\\"
}

# Called in a subshell: the prefix's Wine processes end with it, also when a check fails.
wine_environment() {
    export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEPATH
    trap 'wineserver -k 2>/dev/null || true' EXIT
}

# A fresh prefix: a copy of one booted once per test run (a copy takes seconds, a boot half a
# minute).
new_wine_prefix() {
    local template="$build_dir/wine-template"
    if [ ! -f "$template/system.reg" ]; then
        rm -rf "$template"
        mkdir -p "$build_dir"
        (wine_environment "$template" && wineboot -i >/dev/null 2>&1 && wineserver -w)
    fi
    rm -rf "$1"
    cp -a "$template" "$1"
}

# The CTest suite, cross-built, on Wine with the offscreen platform. Fonts come from the Debian
# fonts Pendro uses on Linux, since Qt's offscreen platform reads them from a folder on Windows.
test_suite() {
    local prefix="$build_dir/wine-tests" start=$SECONDS
    new_wine_prefix "$prefix"
    (
        wine_environment "$prefix"
        local dirs
        dirs=$(for dir in "$qt_prefix/bin" $(mingw_runtime_dirs); do echo -n "Z:${dir//\//\\};"; done)
        export WINEPATH="$dirs"
        # Wine hands no QT_* variable from Unix to a Windows process (a test's own
        # QT_QPA_PLATFORM included), so the prefix's user environment holds them.
        wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
        wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR \
            /d 'Z:\usr\share\fonts\truetype\liberation' /f >/dev/null 2>&1
        export PENDRO_RANDOM_STEPS="${PENDRO_RANDOM_STEPS:-20000}"
        ctest --test-dir "$build_dir/build" --output-on-failure --timeout 900
        wineserver -k || true
    )
    echo "Windows tests under Wine: done in $((SECONDS - start))s"
}

# Whether a window with exactly this title is on the X display now.
window_shown() {
    xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" >/dev/null
}

# Waits for a top-level window with exactly this title on the X display; 0 when it appeared.
wait_for_window() {
    local title="$1" seconds="$2" i
    for ((i = 0; i < seconds * 2; i++)); do
        window_shown "$title" && return 0
        sleep 0.5
    done
    return 1
}

main_title="Pendro       Version $version"

# Starts the exe in a fresh Wine prefix with the real windows platform on the current X
# display and waits for the main window; optionally takes a screenshot of it.
start_and_look() {
    local exe="$1" prefix="$2" screenshot="${3:-}"
    (
        wine_environment "$prefix"
        wine "$exe" >/dev/null 2>&1 &
        if ! wait_for_window "$main_title" 120; then
            echo "Pendro's main window did not appear: $exe" >&2
            wineserver -k || true
            exit 1
        fi
        sleep 2
        if [ -n "$screenshot" ]; then
            local id
            id=$(xwininfo -root -tree | grep -F "\"$main_title\"" | awk '{print $1}' | head -n1 || true)
            import -window "$id" -frame "$screenshot" 2>/dev/null || import -window root "$screenshot"
        fi
        wineserver -k || true
        wineserver -w || true
    )
    echo "Pendro's main window appeared under Wine: \"$main_title\""
}

fail() {
    echo "$*" >&2
    exit 1
}

# The Start-menu entry beside Pendro's own that opens Quelltext\QUELLTEXT.txt.
source_link="Pendro – Lizenz und Quelltext.lnk"

# A program folder, unpacked or installed, carries the source of its build: the archive that
# scripts/source_archive.sh makes of this tree (test_all makes it once), and a QUELLTEXT.txt
# that names no other Qt than the folder's Qt6Core.dll, the Debian source and configure line
# that the cached Qt was built from, and licence files that are there.
check_source_folder() {
    local dir="$1" what="$2" text dll_qt section expected token name
    cmp -s "$build_dir/source-check/pendro-$version.tar.gz" "$dir/Quelltext/pendro-$version.tar.gz" ||
        fail "$what: Quelltext\\pendro-$version.tar.gz is missing or not the source archive of this tree"
    [ -f "$dir/Quelltext/QUELLTEXT.txt" ] || fail "$what: no Quelltext\\QUELLTEXT.txt"
    # Without CRLFs, and with the configure line's continued lines joined.
    text=$(tr -d '\r' <"$dir/Quelltext/QUELLTEXT.txt" | sed -e ':a' -e '/\\$/{N;s/ *\\\n */ /;ba' -e '}')
    dll_qt=$(strings -el "$dir/Qt6Core.dll" | grep -A1 -x FileVersion |
        sed -n '2s/^\([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p')
    [ -n "$dll_qt" ] || fail "$what: no version in Qt6Core.dll"
    [ "$(grep -oE 'Qt [0-9]+\.[0-9]+\.[0-9]+' <<<"$text" | sort -u)" = "Qt $dll_qt" ] ||
        fail "$what: QUELLTEXT.txt names another Qt than Qt6Core.dll, $dll_qt"
    # Every version in the section on Qt is one of that Qt.
    section=$(sed -n '/^2\. Qt$/,/^3\. /p' <<<"$text")
    while read -r token; do
        case "$token" in
        "$dll_qt" | "$dll_qt"[+-]*) ;;
        *) fail "$what: QUELLTEXT.txt names $token for Qt, whose DLLs are $dll_qt" ;;
        esac
    done < <(grep -oE '\b[0-9]+\.[0-9]+\.[0-9]+[^ ,)/:]*' <<<"${section//pendro-$version/}")
    qt_debian_source
    grep -qF "apt-get source qt6-base=$qt_source_version" <<<"$section" ||
        fail "$what: QUELLTEXT.txt does not name qt6-base $qt_source_version, the source of the cached Qt"
    expected=$(sed -e "s|^$qt_version ||" -e 's| toolchain:[0-9a-f]*$||' "$qt_prefix/pendro-configure-line")
    expected=${expected//"$qt_prefix"/<Zielordner>}
    expected=${expected//<checkout>/"<pendro-$version>"}
    grep -qF -- "/configure $expected" <<<"$section" ||
        fail "$what: QUELLTEXT.txt lacks the configure line of the cached Qt: $expected"
    while read -r name; do
        [ -s "$dir/Lizenzen/${name#*\\}" ] || fail "$what: QUELLTEXT.txt names $name, which is not there"
    done < <(grep -oE 'Lizenzen\\[A-Za-z0-9.+_-]+\.txt' <<<"$text" | sort -u)
    echo "$what: Quelltext\\ holds this tree's source archive; QUELLTEXT.txt names Qt $dll_qt, qt6-base $qt_source_version, its configure line and licence files that are there"
}

# Where a shortcut leads (its target path, read from the link as ASCII or UTF-16).
link_target_is() {
    tr -d '\000' <"$1" | grep -aqiF "$2"
}

# The portable zip alone, unpacked into a fresh prefix with nothing else on the path.
test_portable() {
    local unpacked="$build_dir/portable-check"
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    unzip -q "$dist_dir/Pendro-$version-windows-x86_64.zip" -d "$unpacked"
    new_wine_prefix "$build_dir/wine-portable"
    check_source_folder "$unpacked/Pendro" zip
    start_and_look "$unpacked/Pendro/pendro.exe" "$build_dir/wine-portable" \
        "$build_dir/windows-main.png"
}

# Silent install into a fresh prefix, shortcut and uninstall entry, a start from the installed
# folder, a second install and an uninstall while Pendro runs (both refused, the old one left
# working), silent uninstall without leftovers.
test_installer() {
    local prefix="$build_dir/wine-installer" setup="$dist_dir/Pendro-$version-setup.exe"
    new_wine_prefix "$prefix"
    (
        wine_environment "$prefix"
        local user_dir
        user_dir="$prefix/drive_c/users/$(whoami)"
        local installed="$user_dir/AppData/Local/Programs/Pendro"
        local shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pendro.lnk"
        local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pendro'
        wine "$setup" /S >/dev/null 2>&1
        wineserver -w
        [ -f "$installed/pendro.exe" ] || fail "installer: no $installed/pendro.exe"
        [ -f "$shortcut" ] || fail "installer: no Start-menu shortcut"
        link_target_is "${shortcut%/*}/$source_link" 'Quelltext\QUELLTEXT.txt' ||
            fail "installer: no Start-menu entry \"${source_link%.lnk}\" that opens Quelltext\\QUELLTEXT.txt"
        check_source_folder "$installed" installer
        local entry value
        entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r' || true)
        for value in "DisplayName    REG_SZ    Pendro" "DisplayVersion    REG_SZ    $version" \
            "Publisher    REG_SZ    Pendro" "DisplayIcon" "UninstallString" "QuietUninstallString"; do
            grep -qF "$value" <<<"$entry" || fail "installer: uninstall entry lacks $value"
        done
        echo "installer: installed into the user's programs, Start-menu entries (Pendro, ${source_link%.lnk}) and uninstall entry present"
        start_and_look "$installed/pendro.exe" "$prefix"

        # Installing over a running Pendro: refused before a file is touched.
        local before status=0
        before=$(cd "$installed" && find . -type f -exec sha256sum {} + | sort)
        wine "$installed/pendro.exe" >/dev/null 2>&1 &
        wait_for_window "$main_title" 120 || fail "installer: Pendro did not start for the running check"
        wine "$setup" /S >/dev/null 2>&1 || status=$?
        [ "$status" -ne 0 ] || fail "installer: installing over a running Pendro ended with exit code 0"
        [ "$(cd "$installed" && find . -type f -exec sha256sum {} + | sort)" = "$before" ] ||
            fail "installer: installing over a running Pendro changed the installed files"
        window_shown "$main_title" || fail "installer: the running Pendro is gone"
        echo "installer: over a running Pendro it stops with exit code $status and leaves the installation as it was"

        # Uninstalling a running Pendro: refused too, or the files would stay without an entry.
        # _?= runs the uninstaller in place, so that its exit code comes back.
        status=0
        wine "$installed/Uninstall.exe" /S /CurrentUser "_?=$(winepath -w "$installed")" \
            >/dev/null 2>&1 || status=$?
        [ "$status" -ne 0 ] || fail "uninstaller: removing a running Pendro ended with exit code 0"
        [ "$(cd "$installed" && find . -type f -exec sha256sum {} + | sort)" = "$before" ] ||
            fail "uninstaller: removing a running Pendro changed the installed files"
        [ -f "$shortcut" ] || fail "uninstaller: removing a running Pendro took the shortcut"
        wine reg query "$key" >/dev/null 2>&1 ||
            fail "uninstaller: removing a running Pendro took its uninstall entry"
        window_shown "$main_title" || fail "uninstaller: the running Pendro is gone"
        echo "uninstaller: with Pendro running it stops with exit code $status and leaves the installation as it was"
        wineserver -k || true
        wineserver -w || true
        start_and_look "$installed/pendro.exe" "$prefix"

        wine "$installed/Uninstall.exe" /S /CurrentUser >/dev/null 2>&1
        # The uninstaller copies itself elsewhere and returns at once; wait for the copy.
        wineserver -w
        [ ! -e "$installed" ] || fail "uninstaller left: $(find "$installed")"
        [ ! -e "$shortcut" ] || fail "uninstaller left the shortcut"
        [ ! -e "${shortcut%/*}/$source_link" ] || fail "uninstaller left the shortcut \"${source_link%.lnk}\""
        if wine reg query "$key" >/dev/null 2>&1 || wine reg query 'HKCU\Software\Pendro' >/dev/null 2>&1; then
            fail "uninstaller left a registry key"
        fi
        echo "installer: silent uninstall removed every file, both shortcuts and the registry keys"
    )
}

# msiexec in the current prefix with a verbose log; prints nothing, returns msiexec's status.
msiexec_logged() {
    local log="$1"
    shift
    wine msiexec "$@" /l*v "$(winepath -w "$log")" >/dev/null 2>&1
}

# The uninstall entries (64-bit view) named Pendro, one "key|DisplayVersion" line each.
uninstall_entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | awk '
            /^HKEY/ { key = $0; name = ""; ver = "" }
            /^ +DisplayName +REG_SZ +Pendro$/ { name = 1 }
            /^ +DisplayVersion +REG_SZ / { ver = $3 }
            name && ver { print key "|" ver; name = 0 }' || true
}

# Where an installation's log says the Start-menu shortcut goes: the all-users Start menu on
# Windows (ALLUSERS=1); Wine's msi resolves ProgramMenuFolder to the user's Start menu instead.
msi_shortcut() {
    local folder
    folder=$(sed -n 's/^Property(S): ProgramMenuFolder = \(.*\)\r\?$/\1/p' "$1" | tail -n1)
    [ -n "$folder" ] || fail "msi: no ProgramMenuFolder in $1"
    echo "$(winepath -u "$folder" 2>/dev/null)Pendro.lnk"
}

# Nothing of Pendro left in the prefix: folder, shortcut, uninstall entry, own key.
check_msi_removed() {
    local dir="$1" shortcut="$2"
    [ ! -e "$dir" ] || fail "msi: uninstall left $(find "$dir")"
    [ ! -e "$shortcut" ] || fail "msi: uninstall left the Start-menu shortcut"
    [ ! -e "${shortcut%/*}/$source_link" ] || fail "msi: uninstall left the shortcut \"${source_link%.lnk}\""
    [ -z "$(find "$WINEPREFIX/drive_c/windows/Installer" -mindepth 1 -maxdepth 1 -name '{*}' 2>/dev/null)" ] ||
        fail "msi: uninstall left the product icon in C:\\windows\\Installer"
    [ -z "$(uninstall_entries)" ] || fail "msi: uninstall left an uninstall entry"
    ! wine reg query 'HKLM\Software\Pendro' >/dev/null 2>&1 || fail "msi: uninstall left HKLM\\Software\\Pendro"
}

# The MSI as school IT uses it: silent per-machine install (also into a chosen folder), a start,
# a major upgrade to a newer version, a refused downgrade, a silent uninstall without leftovers.
test_msi() {
    local prefix="$build_dir/wine-msi" msi="$dist_dir/Pendro-$version-x64.msi"
    local newer
    newer="${version%.*}.$((${version##*.} + 1))"
    local upgrade_dir="$build_dir/msi-upgrade"
    rm -rf "$upgrade_dir"
    mkdir -p "$upgrade_dir"
    msi_package "$build_dir/package/Pendro" "$newer" "$upgrade_dir/Pendro-$newer-x64.msi"
    new_wine_prefix "$prefix"
    (
        wine_environment "$prefix"
        local logs="$build_dir/msi-logs" installed="$prefix/drive_c/Program Files/Pendro" shortcut
        rm -rf "$logs"
        mkdir -p "$logs"

        msiexec_logged "$logs/custom-dir.log" /i "$(winepath -w "$msi")" /qn 'INSTALLDIR=C:\Schule\Pendro' ||
            fail "msi: install with INSTALLDIR failed (log: $logs/custom-dir.log)"
        [ -f "$prefix/drive_c/Schule/Pendro/pendro.exe" ] || fail "msi: INSTALLDIR=C:\\Schule\\Pendro not honoured"
        [ ! -e "$installed" ] || fail "msi: INSTALLDIR given, but files went to Program Files too"
        shortcut=$(msi_shortcut "$logs/custom-dir.log")
        [ -f "$shortcut" ] || fail "msi: no Start-menu shortcut at $shortcut"
        msiexec_logged "$logs/custom-dir-remove.log" /x "$(winepath -w "$msi")" /qn || fail "msi: uninstall failed"
        check_msi_removed "$prefix/drive_c/Schule/Pendro" "$shortcut"
        echo "msi: INSTALLDIR=C:\\Schule\\Pendro honoured, and removed again without leftovers"

        msiexec_logged "$logs/install.log" /i "$(winepath -w "$msi")" /qn ||
            fail "msi: silent install failed (log: $logs/install.log)"
        [ -f "$installed/pendro.exe" ] || fail "msi: no $installed/pendro.exe"
        diff -r "$build_dir/package/Pendro" "$installed" >/dev/null || fail "msi: installed folder differs from the program folder"
        grep -aq '^Property(S): ALLUSERS = 1' "$logs/install.log" || fail "msi: not installed for all users"
        shortcut=$(msi_shortcut "$logs/install.log")
        [ -f "$shortcut" ] || fail "msi: no Start-menu shortcut at $shortcut"
        link_target_is "${shortcut%/*}/$source_link" 'Pendro\Quelltext\QUELLTEXT.txt' ||
            fail "msi: no Start-menu entry \"${source_link%.lnk}\" that opens Quelltext\\QUELLTEXT.txt"
        check_source_folder "$installed" msi
        local entries key values value
        entries=$(uninstall_entries)
        [ "$(echo "$entries" | grep -c .)" -eq 1 ] || fail "msi: expected one uninstall entry, found: $entries"
        key=${entries%|*}
        values=$(wine reg query "$key" 2>/dev/null | tr -d '\r' || true)
        for value in "DisplayName    REG_SZ    Pendro" "DisplayVersion    REG_SZ    $version" \
            "Publisher    REG_SZ    Pendro" "DisplayIcon    REG_SZ    C:\\Program Files\\Pendro\\pendro.exe,0" \
            "UninstallString    REG_EXPAND_SZ    MsiExec.exe /X{"; do
            grep -qF "$value" <<<"$values" || fail "msi: uninstall entry lacks $value"
        done
        # The icon Windows Installer shows for the product, kept in its own folder.
        local icon
        icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
            sed -n 's/^ *ProductIcon *REG_SZ *//p' | head -n1 || true)
        if [ -z "$icon" ] || [ ! -f "$(winepath -u "$icon")" ]; then fail "msi: no product icon ($icon)"; fi
        echo "msi: silent per-machine install into Program Files, Start-menu shortcuts, uninstall entry $key (Pendro, $version, publisher, icon)"
        start_and_look "$installed/pendro.exe" "$prefix"

        msiexec_logged "$logs/upgrade.log" /i "$(winepath -w "$upgrade_dir/Pendro-$newer-x64.msi")" /qn ||
            fail "msi: upgrade to $newer failed (log: $logs/upgrade.log)"
        entries=$(uninstall_entries)
        if [ "$(echo "$entries" | grep -c .)" -ne 1 ] || [ "${entries#*|}" != "$newer" ]; then
            fail "msi: after the upgrade to $newer: $entries"
        fi
        [ -f "$installed/pendro.exe" ] || fail "msi: the upgrade lost pendro.exe"
        echo "msi: $newer upgraded $version, one uninstall entry left ($newer)"

        local status=0
        msiexec_logged "$logs/downgrade.log" /i "$(winepath -w "$msi")" /qn || status=$?
        [ "$status" -ne 0 ] || fail "msi: $version was installed over $newer"
        # The launch condition that refuses it carries the message Windows shows and logs;
        # Wine's msi stops at the condition without logging the text.
        grep -aq '^Property(S): WIX_DOWNGRADE_DETECTED = {' "$logs/downgrade.log" ||
            fail "msi: the refused downgrade did not detect the newer version"
        msiinfo export "$msi" LaunchCondition | grep "^NOT WIX_DOWNGRADE_DETECTED	Eine neuere Version von Pendro" >/dev/null ||
            fail "msi: no launch condition with the message against a downgrade"
        entries=$(uninstall_entries)
        if [ "$(echo "$entries" | grep -c .)" -ne 1 ] || [ "${entries#*|}" != "$newer" ]; then
            fail "msi: after the refused downgrade: $entries"
        fi
        # A Unix exit status keeps the low byte of msiexec's 1603 (ERROR_INSTALL_FAILURE): 67.
        echo "msi: $version over $newer refused (exit code $status, \"Eine neuere Version von Pendro ist bereits installiert. ...\")"

        msiexec_logged "$logs/remove.log" /x "$(winepath -w "$upgrade_dir/Pendro-$newer-x64.msi")" /qn ||
            fail "msi: uninstall failed (log: $logs/remove.log)"
        check_msi_removed "$installed" "$shortcut"
        echo "msi: msiexec /x removed every file, both shortcuts and the keys"
        wineserver -k || true
    )
}

# Pendro's windows at the display scales of Windows (the prefix's LogPixels): each window's
# size as X sees it, against 100 %, and window_probe's check that no control lies outside its
# window or cuts its text. Screenshots of every window at 150 % go to build/windows/screenshots.
test_scaling() {
    local prefix="$build_dir/wine-scaling" shots="$build_dir/screenshots" app="$build_dir/scaling/Pendro"
    new_wine_prefix "$prefix"
    rm -rf "$shots" "$build_dir/scaling"
    mkdir -p "$shots" "$build_dir/scaling"
    cp -r "$build_dir/app/Pendro" "$app"
    cp "$build_dir/build/tests/windows/window_probe.exe" "$app/"
    (
        wine_environment "$prefix"
        local scale dpi report sizes_100="" sizes kind name title line clipped_100=""
        for scale in 100 125 150 200; do
            dpi=$((96 * scale / 100))
            wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
            wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
            wineserver -k || true
            wineserver -w || true
            report="$build_dir/window-probe-$scale.txt"
            rm -f "$report"
            (wine "$app/window_probe.exe" "$(winepath -w "$report")" >/dev/null 2>&1 &)
            local i
            for ((i = 0; i < 240; i++)); do
                [ -s "$report" ] && break
                sleep 0.5
            done
            [ -s "$report" ] || fail "scaling: window_probe wrote no report at $scale %"
            # Some captions of Pendro's fixed layout are a pixel or two wider than their control
            # at 100 % already; a scale may clip nothing else.
            if grep -q $'^clipped\t.*\toutside its window' "$report"; then
                grep '^clipped' "$report" >&2
                fail "scaling: controls outside their window at $scale %"
            fi
            if [ "$scale" -eq 100 ]; then
                clipped_100=$(grep '^clipped' "$report" | cut -f2,3 || true)
            elif grep '^clipped' "$report" | cut -f2,3 | grep -vxF -f <(echo "${clipped_100:-none}") >/dev/null; then
                grep '^clipped' "$report" >&2
                fail "scaling: controls clipped at $scale % that are not at 100 %"
            fi
            # One line per window: name, title, size on the X display, X window id.
            sizes=$(while IFS=$'\t' read -r kind name title; do
                [ "$kind" = window ] || continue
                line=$(xwininfo -root -tree | grep -F "\"$title\":" | head -n1 || true)
                [ -n "$line" ] || fail "scaling: no X window \"$title\" at $scale %"
                printf '%s\t%s\t%s\t%s\n' "$name" "$title" \
                    "$(echo "$line" | sed -n 's/.*)  *\([0-9]*\)x\([0-9]*\)+.*/\1 \2/p')" \
                    "$(echo "$line" | awk '{print $1}')"
            done <"$report")
            [ "$(echo "$sizes" | grep -c .)" -eq 5 ] || fail "scaling: expected 5 windows at $scale %, found: $sizes"
            if [ "$scale" -eq 100 ]; then
                sizes_100="$sizes"
            fi
            local wh id w h w0 h0
            while IFS=$'\t' read -r name title wh id; do
                read -r w h <<<"$wh"
                read -r w0 h0 <<<"$(echo "$sizes_100" | awk -F'\t' -v n="$name" '$1 == n {print $3}')"
                # Qt rounds each control to whole pixels: within 2 pixels of the factor.
                if [ $((w * 100 - w0 * scale)) -gt 200 ] || [ $((w0 * scale - w * 100)) -gt 200 ] ||
                    [ $((h * 100 - h0 * scale)) -gt 200 ] || [ $((h0 * scale - h * 100)) -gt 200 ]; then
                    fail "scaling: \"$title\" is ${w}x$h at $scale %, ${w0}x$h0 at 100 %"
                fi
                [ "$scale" -eq 100 ] || echo "scaling: $scale %: $name ${w0}x$h0 -> ${w}x$h"
                if [ "$scale" -eq 150 ]; then
                    import -window "$id" "$shots/$name.png" 2>/dev/null || fail "scaling: no screenshot of $name"
                fi
            done <<<"$sizes"
            wineserver -k || true
            wineserver -w || true
            # pendro.exe itself, with its own manifest: its main window as large as the probe's.
            # (once the probe's windows have left the display)
            for ((i = 0; i < 20; i++)); do
                window_shown "$main_title" || break
                sleep 0.5
            done
            (wine "$app/pendro.exe" >/dev/null 2>&1 &)
            wait_for_window "$main_title" 120 || fail "scaling: Pendro did not start at $scale %"
            sleep 1
            line=$(xwininfo -root -tree | grep -F "\"$main_title\":" | head -n1 || true)
            wh=$(echo "$line" | sed -n 's/.*)  *\([0-9]*\)x\([0-9]*\)+.*/\1 \2/p')
            [ "$wh" = "$(echo "$sizes" | awk -F'\t' '$1 == "frmPendro" {print $3}')" ] ||
                fail "scaling: pendro.exe's main window is ${wh/ /x} at $scale %, the probe's is not"
            echo "scaling: $scale %: pendro.exe's main window ${wh/ /x}"
            wineserver -k || true
            wineserver -w || true
        done
    )
    echo "scaling: every window grows by the scale at 125, 150 and 200 %, nothing clipped; screenshots in $shots"
}

# The same commit packaged a second time gives the same bytes.
test_reproducible() {
    local again="$build_dir/dist-again" file
    (dist_dir="$again" && package >/dev/null)
    for file in "$dist_dir"/*; do
        cmp -s "$file" "$again/${file##*/}" || fail "reproducible: ${file##*/} differs between two packagings"
        echo "reproducible: $(sha256sum "$file" | cut -c1-64)  ${file##*/} (both packagings)"
    done
}

# Signing with a throwaway self-signed certificate: osslsigncode verifies pendro.exe, the
# installer, its uninstaller and the MSI against it, and the signed MSI still installs.
test_signing() {
    local dir="$build_dir/signing" signed="$build_dir/dist-signed"
    rm -rf "$dir"
    mkdir -p "$dir"
    openssl req -x509 -newkey rsa:3072 -nodes -days 2 -subj "/CN=Pendro Testsignatur" \
        -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
        -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null
    (
        export PENDRO_SIGN_CERT="$dir/cert.pem" PENDRO_SIGN_KEY="$dir/key.pem"
        dist_dir="$signed" package >/dev/null
    )
    local file
    unzip -q -o "$signed/Pendro-$version-windows-x86_64.zip" Pendro/pendro.exe -d "$dir"
    for file in "$dir/Pendro/pendro.exe" "$signed/Pendro-$version-setup.exe" "$signed/Pendro-$version-x64.msi"; do
        osslsigncode verify -CAfile "$dir/cert.pem" -in "$file" >"$dir/verify.log" 2>&1 ||
            { cat "$dir/verify.log" >&2; fail "signing: ${file##*/} does not verify"; }
        echo "signing: ${file##*/} verifies against the test certificate"
    done
    local prefix="$build_dir/wine-signed"
    new_wine_prefix "$prefix"
    (
        wine_environment "$prefix"
        wine "$signed/Pendro-$version-setup.exe" /S >/dev/null 2>&1
        wineserver -w
        local user_dir
        user_dir="$prefix/drive_c/users/$(whoami)"
        for file in "$user_dir/AppData/Local/Programs/Pendro/Uninstall.exe" \
            "$user_dir/AppData/Local/Programs/Pendro/pendro.exe"; do
            osslsigncode verify -CAfile "$dir/cert.pem" -in "$file" >"$dir/verify.log" 2>&1 ||
                { cat "$dir/verify.log" >&2; fail "signing: the installed ${file##*/} does not verify"; }
            echo "signing: the installed ${file##*/} verifies against the test certificate"
        done
        msiexec_logged "$dir/msi.log" /i "$(winepath -w "$signed/Pendro-$version-x64.msi")" /qn ||
            fail "signing: the signed MSI does not install (log: $dir/msi.log)"
        [ -f "$prefix/drive_c/Program Files/Pendro/pendro.exe" ] || fail "signing: the signed MSI installed no pendro.exe"
        echo "signing: the signed MSI installs silently"
        wineserver -k || true
    )
}

# Wine needs an X display even for the offscreen platform (Qt's event dispatcher makes a
# message-only window), so everything runs on an Xvfb of its own when there is no display; a
# large one, so that every window fits at 200 %.
test_all() {
    if [ -z "${DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 2560x2048x24" "$root/scripts/windows.sh" test
        return
    fi
    [ -f "$dist_dir/Pendro-$version-x64.msi" ] || package
    rm -rf "$build_dir/wine-template" "$build_dir/source-check"
    source_date_epoch
    "$root/scripts/source_archive.sh" "$build_dir/source-check/pendro-$version.tar.gz"
    test_suite
    local start=$SECONDS
    test_gui
    echo "Windows packages under Wine: done in $((SECONDS - start))s"
    rm -rf "$build_dir"/wine-*
}

test_gui() {
    test_portable
    test_installer
    test_msi
    test_scaling
    test_reproducible
    test_signing
}

# The commit's time, the one time stamp every package file carries.
source_date_epoch() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
            fail "no SOURCE_DATE_EPOCH given and no git history to take it from"
    fi
    export SOURCE_DATE_EPOCH
}

# A UUID (version 5) from a namespace UUID and a name: the same name always gives the same one.
uuid5() {
    local namespace="${1//-/}" bytes="" hex i
    for ((i = 0; i < 32; i += 2)); do bytes+="\\x${namespace:i:2}"; done
    hex=$({
        printf '%b' "$bytes"
        printf '%s' "$2"
    } | sha1sum | cut -c1-32)
    printf '%s-%s-%x%s-%x%s-%s\n' "${hex:0:8}" "${hex:8:4}" $(((0x${hex:12:2} & 0x0f) | 0x50)) \
        "${hex:14:2}" $(((0x${hex:16:2} & 0x3f) | 0x80)) "${hex:18:2}" "${hex:20:12}" | tr 'a-f' 'A-F'
}
# Pendro's own namespace for the MSI's product and package codes.
msi_namespace=DA09B507-5B09-4F7F-B44F-F1F91880B640

# The per-machine MSI of a program folder, with wixl; wixl and msibuild run at the commit's
# time, so that the package's dates are the same in every build.
msi_package() {
    local app="$1" msi_version="$2" out="$3"
    source_date_epoch
    local work="$build_dir/msi-$msi_version"
    rm -rf "$work"
    mkdir -p "$work"
    (cd "$app" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) |
        wixl-heat --prefix "" --directory-ref INSTALLDIR --component-group ProgramFiles \
            --var var.AppDir --win64 |
        # wixl-heat names folders at random: number them in their (sorted) order instead.
        awk '{ while (match($0, /Id="dir[0-9A-F]+"/))
                   $0 = substr($0, 1, RSTART - 1) "Id=\"folder" (++n) "\"" substr($0, RSTART + RLENGTH)
               print }' >"$work/files.wxs"
    local product_code package_code
    product_code=$(uuid5 "$msi_namespace" "Pendro $msi_version")
    package_code=$(uuid5 "$msi_namespace" "package $msi_version $(
        cat "$root/packaging/windows/pendro.wxs" "$work/files.wxs"
        cd "$app" && find . -type f | LC_ALL=C sort | xargs sha256sum
    )")
    local fixed_time
    fixed_time=$(TZ=UTC date -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
    # wixl takes its sources by relative paths only.
    cp "$build_dir/build/app/pendro.ico" "$work/"
    (
        cd "$work"
        TZ=UTC faketime -f "$fixed_time" wixl -a x64 -D Win64=yes -D Version="$msi_version" \
            -D ProductCode="$product_code" -D PackageCode="$package_code" \
            -D IconFile=pendro.ico -D AppDir="$(realpath --relative-to=. "$app")" \
            -o "$out" "$root/packaging/windows/pendro.wxs" "$work/files.wxs"
        # wixl writes language 1033 and a random package code into the summary, and knows no
        # Secure attribute.
        TZ=UTC faketime -f "$fixed_time" msibuild "$out" -s "Pendro $msi_version" Pendro "x64;1031" "{$package_code}"
        TZ=UTC faketime -f "$fixed_time" msibuild "$out" -q "UPDATE Property SET Value = 'INSTALLDIR;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE Property = 'SecureCustomProperties'"
    )
    rm -rf "$work"
    sign_file "$out"
}

signing=""
# Signs a file in place when a certificate is given; without one, says so once.
sign_file() {
    if [ -z "${PENDRO_SIGN_CERT:-}" ] || [ -z "${PENDRO_SIGN_KEY:-}" ]; then
        if [ -z "$signing" ]; then
            echo "Signing: no certificate given (PENDRO_SIGN_CERT, PENDRO_SIGN_KEY), the packages are unsigned"
            signing=off
        fi
        return 0
    fi
    signing=on
    "$root/scripts/sign_windows.sh" "$1"
}

package() {
    [ -d "$build_dir/app/Pendro" ] || fail "nothing to package: run scripts/windows.sh build"
    source_date_epoch
    signing=""
    # The folder as it is packaged: one time stamp, the same permissions, pendro.exe signed.
    local stage="$build_dir/package"
    rm -rf "$stage" "$dist_dir"
    mkdir -p "$stage" "$dist_dir"
    cp -r "$build_dir/app/Pendro" "$stage/"
    find "$stage" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
    sign_file "$stage/Pendro/pendro.exe"
    find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

    local zip="$dist_dir/Pendro-$version-windows-x86_64.zip"
    (cd "$stage" && find Pendro | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")

    # The installer copies and the uninstaller removes exactly the folder's files, in a fixed
    # order; the uninstaller removes the deepest folders last.
    (
        cd "$stage/Pendro"
        local dir
        find . -type d | LC_ALL=C sort | while IFS= read -r dir; do
            dir=${dir#.}
            echo "    SetOutPath \"\$INSTDIR${dir//\//\\}\""
            find ".$dir" -mindepth 1 -maxdepth 1 -type f | LC_ALL=C sort | sed 's|^\./||; s|.*|    File "${APP_DIR}/&"|'
        done
    ) >"$build_dir/install-files.nsh"
    (
        cd "$stage/Pendro"
        find . -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
        find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
    ) >"$build_dir/installed-files.nsh"
    local nsis_sign=()
    [ "$signing" = on ] && nsis_sign=(-DSIGN_SCRIPT="$root/scripts/sign_windows.sh")
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DAPP_DIR="$stage/Pendro" \
        -DOUT_FILE="$dist_dir/Pendro-$version-setup.exe" -DLICENSE_FILE="$stage/Pendro/LICENSE.txt" \
        -DICON_FILE="$build_dir/build/app/pendro.ico" -DINSTALL_LIST="$build_dir/install-files.nsh" \
        -DFILE_LIST="$build_dir/installed-files.nsh" "${nsis_sign[@]}" \
        "$root/packaging/windows/installer.nsi"
    sign_file "$dist_dir/Pendro-$version-setup.exe"

    msi_package "$stage/Pendro" "$version" "$dist_dir/Pendro-$version-x64.msi"
    ls -l "$dist_dir"
}

main() {
    ensure_packages "${WINDOWS_PACKAGES[@]}"
    seed_qt_from_archive "qt-$qt_version-mingw-x86_64" "$qt_prefix" "$cache_root"
    local steps=("$@")
    [ ${#steps[@]} -eq 0 ] && steps=(qt build package test)
    local step
    for step in "${steps[@]}"; do
        case "$step" in
        qt) build_qt ;;
        check-qt) check_qt ;;
        check-scripts) "$root/scripts/check_windows_scripts.sh" ;;
        build) build_pendro ;;
        test) test_all ;;
        package) package ;;
        *)
            echo "unknown step: $step" >&2
            exit 2
            ;;
        esac
    done
}

# Sourced (by scripts/check_windows_scripts.sh), it only defines the functions.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    main "$@"
fi
