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
    apt_get_update "${sudo[@]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}"
}

# apt-get update, waiting while another apt run on the machine holds the package lists (apt-get
# update does not wait for that lock by itself; DPkg::Lock::Timeout covers installing only).
# Arguments: the command to run apt-get with, e.g. sudo.
apt_get_update() {
    local output attempt
    for attempt in $(seq 60); do
        if output=$("$@" apt-get update -qq 2>&1); then
            [ -z "$output" ] || echo "$output"
            return 0
        fi
        if ! grep -q "Could not get lock" <<<"$output"; then
            echo "$output" >&2
            return 1
        fi
        [ "$attempt" -eq 1 ] && echo "apt-get update: another apt run holds the lists; waiting"
        sleep 10
    done
    echo "$output" >&2
    return 1
}

# Installs what debian/control's Build-Depends name and this machine lacks, with apt-get
# build-dep as for any package build (needs dpkg-dev; run from the top of the work tree).
ensure_build_dependencies() {
    dpkg-checkbuilddeps >/dev/null 2>&1 && return 0
    echo "Installing the build dependencies of debian/control"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    apt_get_update "${sudo[@]}"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 build-dep -y -qq \
        --no-install-recommends ./
}

# What building Pendro needs on Debian 12 and Debian 13.
PENDRO_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-liberation)
# What the test suite needs besides: poppler's pdftotext, pdftoppm and pdffonts read the
# worksheets' PDFs back.
PENDRO_TEST_PACKAGES=(poppler-utils)
# What bench_display needs besides: its own X server, and X DAMAGE to see the first frame.
PENDRO_DISPLAY_BENCH_PACKAGES=(xvfb xauth libxcb-damage0-dev pkg-config)
