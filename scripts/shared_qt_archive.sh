#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by scripts/windows.sh and scripts/web.sh: a machine without a Qt build in its cache
# takes the shared archive of it, if there is one (PENDRO_SHARED_CACHE, by default ../shared/cache
# beside the work tree). Unpacked aside and moved in whole, so that an interrupted unpack leaves
# no half tree; the script's own check then takes it if its configure line is the script's.
# Arguments: the archive's top folder (its name without .tar.xz), the cache folder to fill, and
# the folder that holds the caches (for the unpacking aside).
seed_qt_from_archive() {
    local name="$1" prefix="$2" cache_root="$3"
    local archive="${PENDRO_SHARED_CACHE:-$root/../shared/cache}/$name.tar.xz"
    local unpack="$cache_root/unpacking-$name"
    [ ! -e "$prefix" ] && [ -f "$archive" ] || return 0
    echo "$name: unpacking $archive into $prefix"
    rm -rf "$unpack"
    mkdir -p "$unpack"
    tar -xJf "$archive" -C "$unpack"
    if [ -f "$unpack/$name/pendro-configure-line" ]; then
        mkdir -p "$(dirname "$prefix")"
        mv "$unpack/$name" "$prefix"
    fi
    rm -rf "$unpack"
}
