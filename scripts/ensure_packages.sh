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

# What building Pendro needs on Debian 12.
PENDRO_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-liberation)
# What bench_display needs besides: its own X server, and X DAMAGE to see the first frame.
PENDRO_DISPLAY_BENCH_PACKAGES=(xvfb xauth libxcb-damage0-dev pkg-config)
