# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages given as arguments that are not installed yet.
# Sourced by the other scripts; uses apt-get directly as root, otherwise through sudo.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Installs what debian/control's Build-Depends name and this machine lacks, with apt-get
# build-dep as for any package build (needs dpkg-dev; run from the top of the work tree).
ensure_build_dependencies() {
    dpkg-checkbuilddeps >/dev/null 2>&1 && return 0
    echo "Installing the build dependencies of debian/control"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get build-dep -y -qq --no-install-recommends ./
}

# What building Pendro needs on Debian 12 and Debian 13.
PENDRO_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-liberation)
# What bench_display needs besides: its own X server, and X DAMAGE to see the first frame.
PENDRO_DISPLAY_BENCH_PACKAGES=(xvfb xauth libxcb-damage0-dev pkg-config)
