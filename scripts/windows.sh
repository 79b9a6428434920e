#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# NSIS lines are written with their $INSTDIR as it stands.
# shellcheck disable=SC2016
# Pendro for Windows, built on Debian: cross-builds Qt (once, into a cache), Pendro and its
# tests with MinGW-w64, runs the tests under Wine and writes the portable zip and the
# installer to build/windows/dist/.
# Usage: scripts/windows.sh [qt|build|test|package|check-qt|check-scripts]...
#   (no argument: qt build package test)
#   qt        build Qt for Windows from Debian's qt6-base source, unless the cache holds it
#   build     cross-build Pendro and its tests against the cached Qt
#   test      run the test suite under Wine (offscreen platform), then Pendro itself with the
#             windows platform on Xvfb, then the zip in a fresh prefix and the installer
#   package   the portable zip and the installer
#   check-qt  fail at once, with the command that builds it, if the cached Qt is missing
#   check-scripts  shellcheck on the Windows scripts and Qt's source step on an empty cache
#             folder with a stand-in apt-get (scripts/check_windows_scripts.sh)
# Environment: PENDRO_QT_WINDOWS overrides the cache folder of the cross-built Qt;
# PENDRO_RANDOM_STEPS the random-use steps under Wine (default 20000).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
# shellcheck source=scripts/ensure_packages.sh
. scripts/ensure_packages.sh

qt_version=6.4.2
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/pendro"
qt_prefix="${PENDRO_QT_WINDOWS:-$cache_root/qt-$qt_version-mingw-x86_64}"
triple=x86_64-w64-mingw32
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
build_dir="$root/build/windows"
dist_dir="$build_dir/dist"
version=$(sed -n 's/^project(Pendro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

WINDOWS_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev
    wine wine64 xvfb xauth x11-utils nsis zip unzip imagemagick icoutils fonts-liberation
    shellcheck)

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
    local start=$SECONDS
    cmake -S "$root" -B "$build_dir/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DPENDRO_WERROR=ON -DPENDRO_BUILD_BENCH=OFF \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine_test.sh" >/dev/null
    cmake --build "$build_dir/build" --parallel "$(nproc)"
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
    local dir
    for dir in $(mingw_runtime_dirs); do
        for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
            [ -f "$dir/$dll" ] && cp "$dir/$dll" "$app/"
        done
    done
    find "$app" -name '*.dll' -exec $triple-strip --strip-unneeded {} +
    cp /usr/share/qt6/translations/qtbase_de.qm "$app/translations/"
    cp "$root/packaging/windows/qt.conf" "$app/"
    sed 's/$/\r/' "$root/LICENSE" >"$app/LICENSE.txt"
    check_imports "$app"
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

wine_environment() {
    export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEPATH
}

new_wine_prefix() {
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    (wine_environment "$1" && wineboot -i >/dev/null 2>&1 && wineserver -w)
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

# Waits for a top-level window with exactly this title on the X display; 0 when it appeared.
wait_for_window() {
    local title="$1" seconds="$2" i
    for ((i = 0; i < seconds * 2; i++)); do
        if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
            return 0
        fi
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
            id=$(xwininfo -root -tree | grep -F "\"$main_title\"" | awk '{print $1}' | head -n1)
            import -window "$id" -frame "$screenshot" 2>/dev/null || import -window root "$screenshot"
        fi
        wineserver -k || true
        wineserver -w || true
    )
    echo "Pendro's main window appeared under Wine: \"$main_title\""
}

# The portable zip alone, unpacked into a fresh prefix with nothing else on the path.
test_portable() {
    local unpacked="$build_dir/portable-check"
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    unzip -q "$dist_dir/Pendro-$version-windows-x86_64.zip" -d "$unpacked"
    new_wine_prefix "$build_dir/wine-portable"
    start_and_look "$unpacked/Pendro/pendro.exe" "$build_dir/wine-portable" \
        "$build_dir/windows-main.png"
}

# Silent install into a fresh prefix, shortcut and uninstall entry, a start from the installed
# folder, silent uninstall without leftovers.
test_installer() {
    local prefix="$build_dir/wine-installer"
    new_wine_prefix "$prefix"
    (
        wine_environment "$prefix"
        local user_dir
        user_dir="$prefix/drive_c/users/$(whoami)"
        local installed="$user_dir/AppData/Local/Programs/Pendro"
        local shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pendro.lnk"
        local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pendro'
        wine "$dist_dir/Pendro-$version-setup.exe" /S >/dev/null 2>&1
        wineserver -w
        [ -f "$installed/pendro.exe" ] || { echo "installer: no $installed/pendro.exe" >&2; exit 1; }
        [ -f "$shortcut" ] || { echo "installer: no Start-menu shortcut" >&2; exit 1; }
        local entry
        entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
        for value in "DisplayName    REG_SZ    Pendro" "DisplayVersion    REG_SZ    $version" \
            "Publisher    REG_SZ    Pendro" "DisplayIcon" "UninstallString" "QuietUninstallString"; do
            echo "$entry" | grep -qF "$value" || { echo "installer: uninstall entry lacks $value" >&2; exit 1; }
        done
        echo "installer: installed into the user's programs, Start-menu entry and uninstall entry present"
        start_and_look "$installed/pendro.exe" "$prefix"
        wine "$installed/Uninstall.exe" /S /CurrentUser >/dev/null 2>&1
        # The uninstaller copies itself elsewhere and returns at once; wait for the copy.
        wineserver -w
        [ ! -e "$installed" ] || { echo "uninstaller left: $(find "$installed")" >&2; exit 1; }
        [ ! -e "$shortcut" ] || { echo "uninstaller left the shortcut" >&2; exit 1; }
        if wine reg query "$key" >/dev/null 2>&1 || wine reg query 'HKCU\Software\Pendro' >/dev/null 2>&1; then
            echo "uninstaller left a registry key" >&2
            exit 1
        fi
        echo "installer: silent uninstall removed every file, the shortcut and the registry keys"
    )
}

# Wine needs an X display even for the offscreen platform (Qt's event dispatcher makes a
# message-only window), so everything runs on an Xvfb of its own when there is no display.
test_all() {
    if [ -z "${DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/windows.sh" test
        return
    fi
    test_suite
    local start=$SECONDS
    test_gui
    echo "Windows program and installer under Wine: done in $((SECONDS - start))s"
}

test_gui() {
    [ -f "$dist_dir/Pendro-$version-windows-x86_64.zip" ] || package
    test_portable
    test_installer
}

package() {
    [ -d "$build_dir/app/Pendro" ] || { echo "nothing to package: run scripts/windows.sh build" >&2; exit 1; }
    rm -rf "$dist_dir"
    mkdir -p "$dist_dir"
    local zip="$dist_dir/Pendro-$version-windows-x86_64.zip"
    (cd "$build_dir/app" && zip -q -r -X "$zip" Pendro)
    # The uninstaller removes exactly the files the installer put there, deepest folders last.
    local list="$build_dir/installed-files.nsh"
    (
        cd "$build_dir/app/Pendro"
        find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|'
        find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|'
    ) >"$list"
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DAPP_DIR="$build_dir/app/Pendro" \
        -DOUT_FILE="$dist_dir/Pendro-$version-setup.exe" -DLICENSE_FILE="$build_dir/app/Pendro/LICENSE.txt" \
        -DICON_FILE="$build_dir/build/app/pendro.ico" -DFILE_LIST="$list" \
        "$root/packaging/windows/installer.nsi"
    ls -l "$dist_dir"
}

main() {
    ensure_packages "${WINDOWS_PACKAGES[@]}"
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
