#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in a clean chroot of a Debian release, with a copy of the work tree's files
# (tracked and new ones, none that .gitignore names) in /build/pendro and the host's
# build/<codename>/ as its build/, so that whatever the command builds stays on the host.
#
# The chroot starts as mmdebstrap's buildd variant (the essential packages and build-essential),
# made once and kept as a tarball in ~/.cache/pendro/debian-<codename>-<arch>.tar; it is made
# again when the command line that made it changes. Each run unpacks a fresh copy, brings it up
# to date with apt-get, runs the command and throws the copy away. The packages apt downloads
# are kept in ~/.cache/pendro/debian-<codename>-<arch>-apt/ for the next run. The host's
# ~/.cache/pendro itself is the chroot's /root/.cache/pendro, so that what a command builds
# into the cache there (Qt for WebAssembly, scripts/web.sh) is kept too.
# The chroot uses the mirrors of the host's own apt sources, with the suites of <codename>
# (<codename>, -updates and -security). It needs root (mounts and chroot): it runs as root,
# otherwise it runs itself again through sudo and gives the results to the calling user.
# Usage: scripts/debian_chroot.sh <codename> [command [arguments...]]   (a shell by default)
# The command runs as root in /build/pendro; PENDRO_*, CI, QT_QPA_PLATFORM and DEB_BUILD_OPTIONS
# are passed to it.
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: scripts/debian_chroot.sh <codename> [command [arguments...]]"
codename="${1:?$usage}"
shift
[ $# -gt 0 ] || set -- bash -i

cache="${PENDRO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pendro}"
if [ "$(id -u)" -ne 0 ]; then
    exec sudo -- env PENDRO_CACHE="$cache" "$PWD/scripts/debian_chroot.sh" "$codename" "$@"
fi

. scripts/ensure_packages.sh
ensure_packages mmdebstrap

arch=$(dpkg --print-architecture)
tarball="$cache/debian-$codename-$arch.tar"
apt_cache="$cache/debian-$codename-$arch-apt"
out="build/$codename"

# -- The mirrors: those from which apt on this machine takes its own release.
host_codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
mirror_of() {
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
        awk -v suite="$1" '$2 == suite { print $1; exit }'
}
mirror=$(mirror_of "$host_codename")
security_mirror=$(mirror_of "$host_codename-security")
if [ -z "$mirror" ]; then
    echo "debian_chroot: apt's sources on this machine name no mirror for '$host_codename'" >&2
    exit 1
fi
sources=("deb $mirror $codename main")
case "$codename" in
sid | unstable | experimental) ;;
*)
    sources+=("deb $mirror $codename-updates main")
    [ -n "$security_mirror" ] && sources+=("deb $security_mirror $codename-security main")
    ;;
esac

# -- The cached chroot, keyed by the line that makes it.
make_args=(--variant=buildd --mode=root --format=tar --architectures="$arch" "$codename")
key="mmdebstrap $(dpkg-query -W -f='${Version}' mmdebstrap) ${make_args[*]} ${sources[*]}"
mkdir -p "$cache" "$apt_cache"
# One run at a time makes the tarball; another waits for it and then uses it.
exec {lock}>"$tarball.lock"
flock "$lock"
if [ -f "$tarball" ] && [ "$(cat "$tarball.key" 2>/dev/null)" = "$key" ]; then
    echo "== chroot: Debian $codename from the cache ($tarball)"
else
    echo "== chroot: making Debian $codename with mmdebstrap (kept in $tarball)"
    start=$SECONDS
    rm -f "$tarball" "$tarball.key"
    nice mmdebstrap "${make_args[@]}" "$tarball.partial" "${sources[@]}"
    mv "$tarball.partial" "$tarball"
    echo "$key" >"$tarball.key"
    echo "== chroot: made in $((SECONDS - start))s"
fi
flock --unlock "$lock"
exec {lock}>&-

# -- A fresh copy with the work tree in it.
work=$(mktemp -d "${TMPDIR:-/tmp}/pendro-$codename.XXXXXX")
# The mounts live in a mount namespace of their own and end with it, so that removing the copy
# can never reach through a bind mount into the host.
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    rm -rf --one-file-system "$work"
    if [ -n "${SUDO_UID:-}" ] && [ -d "$out" ]; then
        chown -R "$SUDO_UID:$SUDO_GID" "$out" "$cache"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

root="$work/root"
mkdir -p "$root"
start=$SECONDS
tar --numeric-owner --xattrs --xattrs-include='*' -xf "$tarball" -C "$root"
mkdir -p "$root/build/pendro/build" "$root/root/.cache/pendro" "$out"
scripts/copy_work_tree.sh "$root/build/pendro"
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "== chroot: unpacked in $((SECONDS - start))s"

environment=(HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
while IFS= read -r name; do
    environment+=("$name=${!name}")
done < <(compgen -e | grep -E '^(PENDRO_.*|CI|QT_QPA_PLATFORM|DEB_BUILD_OPTIONS|TERM)$' |
    grep -vx PENDRO_CACHE)

# In a mount and process namespace of its own: /dev, /proc, /sys, the build folder, the cache
# folder and apt's download cache are mounted into the copy, apt brings it up to date, then the
# command runs.
# Ending this script ends every process in the chroot with it.
unshare --mount --pid --fork --kill-child --propagation private -- bash -euc '
    root=$1 out=$2 apt_cache=$3 cache=$4
    shift 4
    mount --rbind /dev "$root/dev"
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --bind "$out" "$root/build/pendro/build"
    mount --bind "$cache" "$root/root/.cache/pendro"
    mount --bind "$apt_cache" "$root/var/cache/apt/archives"
    exec chroot "$root" /usr/bin/env -i "$@"
' _ "$root" "$PWD/$out" "$apt_cache" "$cache" "${environment[@]}" bash -c '
    set -euo pipefail
    cd /build/pendro
    echo "== chroot: apt-get update and upgrade"
    apt-get update -qq
    apt-get -y -qq -o Dpkg::Use-Pty=0 dist-upgrade >/dev/null
    status=0
    "$@" || status=$?
    apt-get -qq autoclean
    exit $status
' _ "$@"
