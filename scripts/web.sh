#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pendro in the browser: builds Qt for WebAssembly (once, into a cache) and Pendro against it
# with Debian 13's emscripten, and writes the page to build/web/dist/ and
# build/web/Pendro-<version>-web.zip.
# Usage: scripts/web.sh [qt|build|test|bench|check-qt]...   (no argument: qt build)
#   qt        build Qt for WebAssembly from Debian 13's qt6-base source, unless the cache holds
#             it (about 45 minutes on two cores)
#   build     Pendro and the core tests against the cached Qt, then the page: build/web/dist/
#             and the zip, reproducibly (time stamps from SOURCE_DATE_EPOCH, by default the last
#             commit's time)
#   test      the core tests under node, the page packed a second time and compared byte for
#             byte, then the end-to-end test in headless Chromium (tests/e2e/web_test.py)
#   bench     what the browser fetches, the start-up against a one-label Qt page and the
#             opening of a trainer window, in headless Chromium (tests/e2e/web_bench.py)
#   check-qt  fail at once, with the command that builds it, if the cached Qt is missing
# Qt for WebAssembly is taken from the shared archive when the cache has none (see
# scripts/shared_qt_archive.sh).
# Debian 13 has the emscripten and Qt source this needs; on another release (Debian 12) the
# steps that build run in a clean Debian 13 chroot (scripts/debian_chroot.sh trixie, which
# needs root or sudo), and the browser steps run here with this machine's Chromium.
# Environment: PENDRO_QT_WASM overrides the cache folder of Qt for WebAssembly;
# SOURCE_DATE_EPOCH the time stamps in the page and the zip.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
# shellcheck source=scripts/ensure_packages.sh
. scripts/ensure_packages.sh
# shellcheck source=scripts/shared_qt_archive.sh
. scripts/shared_qt_archive.sh

qt_version=6.8.2
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/pendro"
qt_prefix="${PENDRO_QT_WASM:-$cache_root/qt-$qt_version-wasm}"
build_dir="$root/build/web"
dist_dir="$build_dir/dist"
version=$(sed -n 's/^project(Pendro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
qt_patch="$root/web/qt-no-bundled-fonts.patch"

# What building needs on Debian 13: emscripten with its LLVM and node, the host Qt of the same
# version (its tools and CMake files), Pendro's fonts and fonttools to cut them down.
WEB_BUILD_PACKAGES=(emscripten qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev
    fonts-liberation fonttools zip)
# What the browser steps need here (poppler reads back the PDF that the page downloads).
WEB_BROWSER_PACKAGES=(chromium chromium-driver python3-selenium poppler-utils)

# Only what Pendro needs, and small: optimised for size, static, single-threaded, with
# WebAssembly's own exceptions (the trainers' checks end by one). Off: the modules Pendro does
# not use, the image formats but PNG, rich text (HTML, Markdown, ODF) in labels, style sheets
# (QApplication's source includes the Windows style's header, so that style stays), the graphics
# view, gestures, the main window's docks, tool bars, tabs
# and status bar, What's This, the settings file, the MIME database, the non-Gregorian
# calendars, 64-bit and floating-point raster formats, and the widgets and dialogs that Qt's
# accessibility and its dialogs would otherwise link in. Kept on purpose: pdf, filedialog,
# messagebox and commandlineparser. The cache is keyed by this exact line (with the patch and
# the emscripten version): change it and the next run rebuilds Qt.
qt_configure_args=(-platform wasm-emscripten -qt-host-path /usr -prefix "$qt_prefix"
    -release -static -optimize-size -no-feature-thread -feature-wasm-exceptions
    -nomake examples -nomake tests -no-dbus
    -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype
    -no-feature-network -no-feature-sql -no-feature-printsupport -no-feature-xml
    -no-feature-concurrent -no-feature-trivial_auto_var_init_pattern
    -no-feature-gif -no-feature-jpeg -no-feature-imageformatplugin -no-feature-imageformat_bmp
    -no-feature-imageformat_ppm -no-feature-imageformat_xbm -no-feature-movie -no-feature-picture
    -no-feature-image_heuristic_mask -no-feature-image_text -no-feature-raster-64bit
    -no-feature-raster-fp -no-feature-texthtmlparser -no-feature-cssparser
    -no-feature-textmarkdownreader -no-feature-textmarkdownwriter -no-feature-textodfwriter
    -no-feature-mimetype -no-feature-settings -no-feature-jalalicalendar
    -no-feature-hijricalendar -no-feature-islamiccivilcalendar
    -no-feature-style-stylesheet -no-feature-graphicsview
    -no-feature-graphicseffect -no-feature-gestures -no-feature-scroller -no-feature-dockwidget
    -no-feature-toolbar -no-feature-mdiarea -no-feature-tabwidget -no-feature-tabbar
    -no-feature-statusbar -no-feature-sizegrip -no-feature-statustip -no-feature-whatsthis
    -no-feature-effects -no-feature-tableview -no-feature-calendarwidget -no-feature-datetimeedit
    -no-feature-dial -no-feature-lcdnumber -no-feature-textbrowser -no-feature-syntaxhighlighter
    -no-feature-splashscreen -no-feature-toolbox -no-feature-colordialog -no-feature-fontdialog
    -no-feature-fontcombobox -no-feature-wizard -no-feature-errormessage
    -- -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

# Whether this machine is Debian 13 (or the chroot of it), where the building steps run.
on_trixie() {
    [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = trixie ]
}

emscripten_version() {
    dpkg-query -W -f='${Version}' emscripten | sed 's/[+-].*//'
}

# The key holds the patch by its content and emscripten's version, not where things lie.
qt_key() {
    echo "$qt_version ${qt_configure_args[*]//$qt_prefix/<prefix>}" \
        "patch:$(sha256sum <"$qt_patch" | cut -c1-64) emscripten:$(emscripten_version)"
}

qt_cached() {
    [ -f "$qt_prefix/pendro-configure-line" ] &&
        [ "$(cat "$qt_prefix/pendro-configure-line")" = "$(qt_key)" ] &&
        [ -f "$qt_prefix/lib/libQt6Widgets.a" ] && [ -f "$qt_prefix/plugins/platforms/libqwasm.a" ]
}

check_qt() {
    if ! qt_cached; then
        echo "Qt $qt_version for WebAssembly is not in the cache ($qt_prefix)," >&2
        echo "or was built from another configure line." >&2
        echo "Build it once (about 45 minutes on 2 cores) with: scripts/web.sh qt" >&2
        exit 1
    fi
}

# Qt's build looks for emscripten through an SDK folder whose .emscripten names the emscripten
# root relative to that folder; this one names Debian's. Sets EMSDK.
use_debian_emscripten() {
    local sdk="$cache_root/emsdk-debian" up
    up=$(realpath -m "$sdk" | sed 's:/[^/]*:/..:g')
    mkdir -p "$sdk"
    echo "EMSCRIPTEN_ROOT = '$up/usr/share/emscripten'" >"$sdk/.emscripten"
    export EMSDK="$sdk"
}

# Debian's source of Qt $qt_version, unpacked once into the cache (deb-src switched on for apt
# if needed). Sets qt_src. Not called as $(qt_source): apt-get and dpkg-source print their
# progress to standard output.
qt_source() {
    local src_parent="$cache_root/src" unpack="$cache_root/src/unpacking-wasm" unpacked
    qt_src=""
    [ -d "$src_parent" ] &&
        qt_src=$(find "$src_parent" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$qt_version*" -print -quit)
    if [ -n "$qt_src" ] && [ -f "$qt_src/configure" ]; then
        return 0
    fi
    if ! grep -rqs '^deb-src\|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
        else
            sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/pendro-src.list
        fi
        apt_get_update >&2
    fi
    # Unpacked aside and moved in whole, so that an interrupted download leaves no half folder.
    rm -rf "$unpack"
    mkdir -p "$unpack"
    (cd "$unpack" && apt-get source -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)") >&2
    unpacked=$(find "$unpack" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$qt_version*" -print -quit)
    if [ -z "$unpacked" ] || [ ! -f "$unpacked/configure" ]; then
        echo "apt-get source qt6-base left no Qt $qt_version source in $unpack" >&2
        exit 1
    fi
    mv "$unpack"/*.dsc "$unpack"/*.tar.* "$src_parent/" 2>/dev/null || true
    rm -rf "${src_parent:?}/${unpacked##*/}"
    mv "$unpacked" "$src_parent/"
    rm -rf "$unpack"
    qt_src="$src_parent/${unpacked##*/}"
}

build_qt() {
    if qt_cached; then
        echo "Qt for WebAssembly: cached in $qt_prefix"
        return 0
    fi
    local qt_build="$cache_root/qt-build-wasm" start=$SECONDS
    qt_source
    use_debian_emscripten
    rm -rf "$qt_build" "$qt_prefix"
    mkdir -p "$qt_build"
    # The patch goes into a copy, so that the unpacked source stays Debian's.
    echo "Qt for WebAssembly: copying and patching $qt_src"
    cp -a "$qt_src" "$qt_build/source"
    patch -d "$qt_build/source" -p1 --quiet <"$qt_patch"
    echo "Qt for WebAssembly: configuring"
    mkdir -p "$qt_build/build"
    (cd "$qt_build/build" && nice -n 5 "$qt_build/source/configure" "${qt_configure_args[@]}")
    nice -n 5 cmake --build "$qt_build/build" --parallel "$(nproc)"
    cmake --install "$qt_build/build" >/dev/null
    qt_key >"$qt_prefix/pendro-configure-line"
    # What the page's source note names: the exact source package and tools this tree came from.
    {
        echo "qt6-base $(dpkg-query -W -f='${Version}' qt6-base-dev)"
        echo "emscripten $(dpkg-query -W -f='${Version}' emscripten)"
        echo "configure ${qt_configure_args[*]//$qt_prefix/<prefix>}"
    } >"$qt_prefix/pendro-qt-source"
    cp "$qt_patch" "$qt_prefix/pendro-qt.patch"
    rm -rf "$qt_build"
    echo "Qt for WebAssembly: built in $((SECONDS - start))s into $qt_prefix"
}

source_date_epoch() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=${PENDRO_SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null)} ||
            { echo "web.sh: no SOURCE_DATE_EPOCH given and no git history to take it from" >&2; exit 1; }
    fi
    export SOURCE_DATE_EPOCH
}

# Pendro, the benchmark's floor and the core tests, with emscripten against the cached Qt.
build_pendro() {
    check_qt
    use_debian_emscripten
    source_date_epoch
    local start=$SECONDS
    # -Oz for Pendro's own code, as Qt's; warnings are errors as in every CI build. Debian's Qt
    # leaves its plugins out of a program unless asked; the static wasm platform plugin must be in.
    "$qt_prefix/bin/qt-cmake" -S "$root" -B "$build_dir/build" -G Ninja \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_CXX_FLAGS_MINSIZEREL="-Oz -DNDEBUG" \
        -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF \
        -DPENDRO_WERROR=ON -DPENDRO_BUILD_BENCH=OFF >/dev/null
    nice -n 5 cmake --build "$build_dir/build" --parallel "$(nproc)"
    assemble "$dist_dir"
    echo "Web build: done in $((SECONDS - start))s"
}

# The page in a folder: the program, Qt's loader, the page's own files, the licence and the
# source. Every file has the time SOURCE_DATE_EPOCH, so that two builds give the same bytes.
# Arguments: the folder, and the program ("pendro" by default; the benchmark's floor is
# "pendro_floor", whose folder has no licence folder of its own).
assemble() {
    local dir="$1" program="${2:-pendro}" built="$build_dir/build"
    local app_dir="$built/app"
    [ "$program" = pendro ] || app_dir="$built/web"
    rm -rf "$dir"
    mkdir -p "$dir/icons"
    cp "$app_dir/$program.js" "$app_dir/$program.wasm" "$app_dir/qtloader.js" "$dir/"
    cp web/start.js web/manifest.webmanifest "$dir/"
    cp web/icons/pendro-192.png web/icons/pendro-512.png resources/icons/pendro-32.png \
        resources/icons/pendro-128.png "$dir/icons/"
    cp resources/pendro.svg "$dir/icons/pendro.svg"
    [ "$program" = pendro ] && source_folder "$dir/quelltext"
    cp LICENSE "$dir/LICENSE.txt"

    # The release: a hash of every file but the two that name it.
    local release files page_files
    release=$(cd "$dir" && find . -type f | LC_ALL=C sort | xargs sha256sum | sha256sum | cut -c1-16)
    # What the service worker keeps: the page and its files, not the source archive.
    files=$(cd "$dir" && find . -type f ! -path './quelltext/*.tar.gz' | LC_ALL=C sort |
        sed 's|^\./||' | while IFS= read -r file; do
            case "$file" in
            *.js | *.wasm) echo "'$file?v=$release'" ;;
            *) echo "'$file'" ;;
            esac
        done | paste -sd, | sed "s/,/, /g")
    files="'./', $files, 'index.html', 'service-worker.js'"
    page_files="'$program.wasm?v=$release'"
    sed -e "s/@PROGRAM@/$program/g" -e "s/@CACHE@/$release/g" \
        -e "s/@WASM_SIZE@/$(stat -c %s "$dir/$program.wasm")/g" web/index.html >"$dir/index.html"
    sed -e "s/@CACHE@/$release/g" -e "s|@FILES@|$files|" -e "s|@PAGE_FILES@|$page_files|" \
        web/service-worker.js >"$dir/service-worker.js"
    find "$dir" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
    find "$dir" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

    [ "$program" = pendro ] || return 0
    # The zip holds the folder as Pendro-<version>-web/.
    local zip="${dir%/*}/Pendro-$version-web.zip" stage
    stage=$(mktemp -d)
    cp -a "$dir" "$stage/Pendro-$version-web"
    touch -h -d "@$SOURCE_DATE_EPOCH" "$stage/Pendro-$version-web"
    rm -f "$zip"
    (cd "$stage" && find "Pendro-$version-web" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")
    rm -rf "$stage"
}

# The corresponding source: Pendro's as an archive of the work tree, Qt's by the name and
# version of Debian's source package with the configure line and the patch, emscripten's by its
# version, and the licences of what the program links in.
source_folder() {
    local folder="$1" qt_info="$qt_prefix/pendro-qt-source"
    mkdir -p "$folder"
    scripts/source_archive.sh "$folder/pendro-$version.tar.gz"
    cp "$qt_patch" "$folder/qt-no-bundled-fonts.patch"
    cp "$(dpkg -L libqt6core6t64 | grep '/copyright$' | head -n 1)" "$folder/qt6-base-copyright.txt"
    cp /usr/share/doc/emscripten/copyright "$folder/emscripten-copyright.txt"
    cp /usr/share/doc/fonts-liberation/copyright "$folder/fonts-liberation-copyright.txt"
    local qt_package emscripten_package configure_line
    qt_package=$(sed -n 's/^qt6-base //p' "$qt_info")
    emscripten_package=$(sed -n 's/^emscripten //p' "$qt_info")
    configure_line=$(sed -n 's/^configure //p' "$qt_info" | sed 's/^/configure /' | fold -s -w 90 |
        sed 's/^/    /')
    sed -e "s/@VERSION@/$version/g" -e "s/@QT_PACKAGE@/$qt_package/g" \
        -e "s/@EMSCRIPTEN_PACKAGE@/$emscripten_package/g" \
        -e "s/@EMSCRIPTEN_HERE@/$(dpkg-query -W -f='${Version}' emscripten)/g" \
        -e 1d web/QUELLTEXT.txt >"$folder/QUELLTEXT.txt.partial"
    awk -v line="$configure_line" '{ if ($0 == "@CONFIGURE@") print line; else print }' \
        "$folder/QUELLTEXT.txt.partial" >"$folder/QUELLTEXT.txt"
    rm "$folder/QUELLTEXT.txt.partial"
    sed -e "s/@VERSION@/$version/g" web/quelltext.html >"$folder/index.html"
}

# The core tests under node, and the page packed once more and compared byte for byte.
test_in_trixie() {
    source_date_epoch
    local start=$SECONDS
    ctest --test-dir "$build_dir/build" --output-on-failure --timeout 600
    local again="$build_dir/again/dist"
    assemble "$again"
    if ! diff -r "$dist_dir" "$again" >/dev/null ||
        ! cmp "$build_dir/Pendro-$version-web.zip" "$build_dir/again/Pendro-$version-web.zip"; then
        echo "The page packed twice gave different bytes" >&2
        diff -r "$dist_dir" "$again" >&2 || true
        exit 1
    fi
    echo "The page packed twice: the same bytes"
    echo "1 passed, 0 failed"
    rm -rf "$build_dir/again"
    echo "Core tests under node and the packing: done in $((SECONDS - start))s"
}

# -- The steps on Debian 13 (here or in the chroot).
in_trixie() {
    ensure_packages "${WEB_BUILD_PACKAGES[@]}"
    local step
    for step in "$@"; do
        case "$step" in
        qt) build_qt ;;
        check-qt) check_qt ;;
        build) build_pendro ;;
        test) test_in_trixie ;;
        floor)
            source_date_epoch
            assemble "$build_dir/floor" pendro_floor
            ;;
        *)
            echo "web.sh: unknown step '$step'" >&2
            exit 2
            ;;
        esac
    done
}

# -- The steps in a browser, on this machine.
browser_test() {
    ensure_packages "${WEB_BROWSER_PACKAGES[@]}"
    local start=$SECONDS
    /usr/bin/python3 tests/e2e/web_test.py --dist "$dist_dir"
    echo "End-to-end test in Chromium: done in $((SECONDS - start))s"
}

browser_bench() {
    ensure_packages "${WEB_BROWSER_PACKAGES[@]}"
    /usr/bin/python3 bench/web_bench.py --dist "$dist_dir" --floor "$build_dir/floor"
}

if [ "${1:-}" = "--in-trixie" ]; then
    shift
    in_trixie "$@"
    exit 0
fi

[ $# -gt 0 ] || set -- qt build
trixie_steps=()
browser_steps=()
for step in "$@"; do
    case "$step" in
    qt | check-qt | build) trixie_steps+=("$step") ;;
    test)
        trixie_steps+=(test)
        browser_steps+=(browser_test)
        ;;
    bench)
        trixie_steps+=(floor)
        browser_steps+=(browser_bench)
        ;;
    *)
        echo "web.sh: unknown step '$step'" >&2
        sed -n '6,16p' "$0" >&2
        exit 2
        ;;
    esac
done

if [ ${#trixie_steps[@]} -gt 0 ]; then
    seed_qt_from_archive "qt-$qt_version-wasm" "$qt_prefix" "$cache_root"
    if on_trixie; then
        in_trixie "${trixie_steps[@]}"
    else
        # The chroot's build/ is this machine's build/trixie/; what the browser needs comes back.
        source_date_epoch
        PENDRO_SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH \
            scripts/debian_chroot.sh trixie scripts/web.sh --in-trixie "${trixie_steps[@]}"
        mkdir -p "$build_dir"
        for built in dist floor "Pendro-$version-web.zip"; do
            if [ -e "build/trixie/web/$built" ]; then
                rm -rf "${build_dir:?}/$built"
                cp -a "build/trixie/web/$built" "$build_dir/"
            fi
        done
    fi
fi
for step in "${browser_steps[@]}"; do
    "$step"
done
