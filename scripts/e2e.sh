#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of Pendro as a screen reader sees it (tests/e2e/atspi_test.py).
# Starts a private X server (Xvfb, German keymap) and a private D-Bus session bus, on which the
# AT-SPI bus is activated on demand; the test client starts Pendro with its accessibility bridge
# switched on. Installs missing Debian packages first.
# Usage: scripts/e2e.sh [path/to/pendro]   (build/dev/app/pendro by default)
# Environment: PENDRO_E2E_DEADLINE   seconds the client may take (240 by default)
set -euo pipefail
cd "$(dirname "$0")/.."

binary="${1:-build/dev/app/pendro}"
if [ ! -x "$binary" ]; then
    echo "e2e: no program at $binary; build it first:" >&2
    echo "    cmake --preset dev && cmake --build --preset dev --target pendro" >&2
    exit 2
fi
binary="$(realpath "$binary")"
deadline="${PENDRO_E2E_DEADLINE:-240}"

# shellcheck source=scripts/ensure_packages.sh
. scripts/ensure_packages.sh
ensure_packages at-spi2-core python3-gi gir1.2-atspi-2.0 dbus-daemon xvfb xdotool x11-xkb-utils \
    fonts-liberation

workdir="$(mktemp -d "${TMPDIR:-/tmp}/pendro-e2e.XXXXXX")"
started=() # process ids of the X server and the session bus, in the order started
client=""  # process id of the test client

# Ends one process that this script started: politely first, then for good.
# shellcheck disable=SC2317 # called from the exit trap
stop_pid() {
    local pid="$1"
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# shellcheck disable=SC2317 # the exit trap
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    # The client ends Pendro, its child, when it stops; should Pendro outlive it, only that very
    # process is ended here, checked by its executable so that a reused process id is left alone.
    [ -n "$client" ] && stop_pid "$client"
    if [ -s "$workdir/pendro.pid" ]; then
        local pid
        pid="$(cat "$workdir/pendro.pid")"
        if [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$binary" ]; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    # Newest first: the session bus (which takes the AT-SPI services it activated along), then X.
    local i
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        stop_pid "${started[i]}"
    done
    rm -rf "$workdir"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits until a file has content, while the process that should write it is alive.
wait_for_file() {
    local file="$1" pid="$2" what="$3"
    for _ in $(seq 100); do
        [ -s "$file" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "e2e: $what did not start" >&2
    return 1
}

# Nothing from a desktop session may leak in: the client must talk to this run's buses only.
unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
mkdir -m 700 "$workdir/runtime"
export XDG_RUNTIME_DIR="$workdir/runtime" # the AT-SPI bus puts its socket here

# X server on the first free display number (it writes the number it chose).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$workdir/display" 2>"$workdir/xvfb.log" &
started+=($!)
wait_for_file "$workdir/display" "${started[-1]}" "Xvfb" || { cat "$workdir/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$workdir/display")"
export DISPLAY
setxkbmap de

# The services it activates (the AT-SPI bus and registry) inherit its output: keep it in a log.
dbus-daemon --session --nofork --print-address=3 3>"$workdir/bus" >"$workdir/dbus.log" 2>&1 &
started+=($!)
wait_for_file "$workdir/bus" "${started[-1]}" "the D-Bus session bus" || {
    cat "$workdir/dbus.log" >&2
    exit 1
}
DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$workdir/bus")"
export DBUS_SESSION_BUS_ADDRESS

echo "e2e: $binary on display $DISPLAY"
# In the background so that an interrupt reaches the traps at once rather than after the client.
timeout -k 10 "$((deadline + 30))" /usr/bin/python3 tests/e2e/atspi_test.py \
    --binary "$binary" --deadline "$deadline" \
    --log "$workdir/pendro.log" --pid-file "$workdir/pendro.pid" &
client=$!
status=0
wait "$client" || status=$?
client=""
exit "$status"
