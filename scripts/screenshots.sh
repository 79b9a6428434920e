#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a screenshot of each window under Xvfb: the main window after the help window's example
# (18, 12, 30, 42, 36 and "Start"), the help window, the multiplication trainer fresh, and the
# three trainers with a five-term exercise ("Neue Aufgabe"; in the multiplication and division
# trainers also checked once with an empty answer, so that the solution shows), and the
# worksheet dialog. For the plain look also a picture of the first page of each kind of
# worksheet and of a solution page, from the PDF with pdftoppm. Then, in a
# second run of Pendro (the help window would not fit 200 % on this screen), the division
# trainer checked once more and zoomed to 200 % with Ctrl+Plus. Builds Pendro (release preset)
# and installs the missing Debian packages first. Drives the windows like a user, through the
# keyboard (Alt opens the menu bar) and mouse clicks at the controls' positions.
#
# Usage: scripts/screenshots.sh [variant...]
#   plain   the normal look, into docs/screenshots/ (shown in the README)       (default)
#   scale2  QT_SCALE_FACTOR=2, into build/screenshots/scale2/
#   dark    a dark desktop palette (a KDE colour scheme read by Qt's KDE platform theme), into
#           build/screenshots/dark/
#   all     all three
set -euo pipefail
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
cd "$(dirname "$0")/.."


if [ "${1:-}" = "--inside-xvfb" ]; then
    variant="$2"
    out="$3"
    scale=1
    [ "$variant" = "scale2" ] && scale=2
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR
    workdir=$(mktemp -d)
    pendro_pid=""
    # shellcheck disable=SC2317 # called through the trap
    cleanup() {
        if [ -n "$pendro_pid" ]; then kill "$pendro_pid" 2>/dev/null || true; fi
        rm -rf "$workdir"
    }
    trap cleanup EXIT

    case "$variant" in
    scale2)
        export QT_SCALE_FACTOR=2
        ;;
    dark)
        # Qt's KDE platform theme takes the palette from kdeglobals (colours of Breeze Dark).
        export XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 KDE_FULL_SESSION=true
        export XDG_CONFIG_HOME="$workdir/config"
        mkdir -p "$XDG_CONFIG_HOME"
        cat >"$XDG_CONFIG_HOME/kdeglobals" <<'EOF'
[Colors:Button]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241
ForegroundInactive=161,169,177

[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252

[Colors:Tooltip]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241

[Colors:View]
BackgroundNormal=27,30,32
BackgroundAlternate=35,38,41
ForegroundNormal=239,240,241
ForegroundInactive=161,169,177
ForegroundLink=29,153,243

[Colors:Window]
BackgroundNormal=42,46,50
ForegroundNormal=239,240,241
ForegroundInactive=161,169,177
EOF
        ;;
    esac

    # Window-relative logical pixels to device pixels.
    px() { echo $(($1 * scale)); }
    wait_window() { # title regex -> window id
        local id
        id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || {
            echo "No window matching '$1' appeared" >&2
            return 1
        }
        echo "$id"
    }
    settle() { sleep "${1:-0.6}"; }
    click_at() { # window x y (logical pixels)
        xdotool mousemove --window "$1" "$(px "$2")" "$(px "$3")" click 1
        settle 0.3
    }
    capture() { # window name
        xdotool windowraise "$1"
        settle 0.4
        import -window "$1" "$out/$2.png"
        echo "  $out/$2.png"
    }
    # Opens a menu entry of the main window by keyboard: Alt, then the arrow keys given.
    menu() {
        xdotool windowraise "$main"
        xdotool windowfocus --sync "$main"
        settle 0.3
        xdotool key alt
        settle 0.3
        xdotool key --delay 150 "$@" Return
    }
    # A five-term exercise in a trainer window: "5" into cbAG (every key but 2..5 types 5,
    # and "25" becomes 5), then "Neue Aufgabe".
    new_exercise() {
        click_at "$1" 110 15
        xdotool type --delay 50 5
        settle 0.3
        click_at "$1" 532 92 # cbNeu
        settle
    }

    ./build/release/app/pendro >"$workdir/pendro.log" 2>&1 &
    pendro_pid=$!
    main=$(wait_window '^Pendro +Version')
    settle 1

    xdotool windowfocus --sync "$main"
    for number in 18 12 30 42 36; do
        xdotool type --delay 40 "$number"
        xdotool key Tab
    done
    xdotool key Tab Tab Tab space # on to btStart and press it
    settle
    capture "$main" main

    menu Right Right Right # Hilfe (after "Trainer Bruchrechnung" and "Ansicht")
    help=$(wait_window '^Pendro - Erl')
    xdotool windowmove --sync "$help" "$(px 480)" 0
    settle
    capture "$help" help

    menu Right Down # Trainer Addition und Subtraktion
    tas=$(wait_window 'Addition')
    xdotool windowmove --sync "$tas" 0 "$(px 300)"
    settle
    new_exercise "$tas"
    capture "$tas" tas

    menu Right Down Down # Trainer Multiplikation
    tm=$(wait_window 'Multiplikation')
    xdotool windowmove --sync "$tm" 0 "$(px 300)"
    settle
    capture "$tm" tm_fresh # all three buttons, "Neue Aufgabe" among them
    new_exercise "$tm"
    click_at "$tm" 532 172 # cbP: check the empty answer, the solution shows
    settle
    capture "$tm" tm

    menu Right Down Down Down # Trainer Division
    td=$(wait_window 'Division')
    xdotool windowmove --sync "$td" 0 "$(px 300)"
    settle
    click_at "$td" 338 15 # cbMinus: negative numerators
    new_exercise "$td"
    click_at "$td" 532 172 # cbP
    settle
    capture "$td" td

    # The worksheet dialog, asked for with Ctrl+P from the division trainer: multiplication with
    # three terms and negative numerators, chosen by keys.
    xdotool windowfocus --sync "$td"
    xdotool key ctrl+p
    sheet=$(wait_window '^Arbeitsblatt erstellen')
    xdotool windowmove --sync "$sheet" "$(px 480)" 0
    xdotool windowfocus --sync "$sheet"
    xdotool key --delay 150 Down Tab Down Tab space
    settle
    capture "$sheet" worksheet_dialog

    # Pendro must still be running: a crash on the way would make the pictures meaningless.
    still_running() {
        if ! kill -0 "$pendro_pid" 2>/dev/null; then
            echo "Pendro ended while the screenshots were taken:" >&2
            cat "$workdir/pendro.log" >&2
            exit 1
        fi
    }
    still_running
    [ "$variant" = "plain" ] || exit 0

    # The division trainer at 200 %: four steps of Ctrl+Plus (the keys of the menu "Ansicht",
    # which work in every window), from a fresh start without the help window.
    kill "$pendro_pid"
    wait "$pendro_pid" 2>/dev/null || true
    ./build/release/app/pendro >"$workdir/pendro.log" 2>&1 &
    pendro_pid=$!
    main=$(wait_window '^Pendro +Version')
    settle 1
    menu Right Down Down Down # Trainer Division
    td=$(wait_window 'Division')
    xdotool windowmove --sync "$td" 0 "$(px 300)"
    settle
    click_at "$td" 338 15 # cbMinus
    new_exercise "$td"
    click_at "$td" 532 172 # cbP
    xdotool windowfocus --sync "$td"
    xdotool key --delay 200 ctrl+plus ctrl+plus ctrl+plus ctrl+plus
    settle 1
    capture "$td" td_zoom200
    still_running
    exit 0
fi

variants=("$@")
[ ${#variants[@]} -eq 0 ] && variants=(plain)
[ "${variants[0]}" = "all" ] && variants=(plain scale2 dark)

. scripts/ensure_packages.sh
ensure_packages "${PENDRO_BUILD_PACKAGES[@]}" xvfb xauth imagemagick xdotool
cmake --preset release >/dev/null
cmake --build --preset release --target pendro

for variant in "${variants[@]}"; do
    case "$variant" in
    plain) out=docs/screenshots ;;
    scale2 | dark) out="build/screenshots/$variant" ;;
    *)
        echo "Unknown variant '$variant' (plain, scale2, dark, all)" >&2
        exit 2
        ;;
    esac
    mkdir -p "$out"
    stamp=$(mktemp)
    echo "== $variant"
    # Room for the windows side by side (main window and help on top, a trainer below).
    screen=1280x1024x24
    [ "$variant" = "scale2" ] && screen=2560x2048x24
    xvfb-run --auto-servernum --server-args="-screen 0 $screen -nolisten tcp" \
        "$self" --inside-xvfb "$variant" "$out"
    # Screenshots of flat controls compress well into a palette image.
    if [ "$variant" = plain ]; then
        ensure_packages poppler-utils
        sheets=$(mktemp -d)
        for sheet in "addsub --terms 3" "mul --terms 4 --negative" "div --terms 2" \
            "factor --range 1000" "ggt --terms 3 --range 1000"; do
            kind=${sheet%% *}
            # shellcheck disable=SC2086 # the kind's options, split on purpose
            ./build/release/app/pendro --worksheet $sheet --count 12 --number 2026 \
                --output "$sheets/$kind.pdf"
            pdftoppm -r 50 -png -f 1 -l 1 -singlefile "$sheets/$kind.pdf" "$out/sheet_$kind"
            echo "  $out/sheet_$kind.png"
        done
        pages=$(pdfinfo "$sheets/mul.pdf" | sed -n 's/^Pages: *//p')
        pdftoppm -r 50 -png -f "$pages" -l "$pages" -singlefile "$sheets/mul.pdf" \
            "$out/sheet_mul_solutions"
        echo "  $out/sheet_mul_solutions.png"
        rm -rf "$sheets"
    fi
    # Only the pictures of this run (the Windows ones come from scripts/windows.sh).
    find "$out" -maxdepth 1 -name '*.png' -newer "$stamp" -print0 |
        while IFS= read -r -d '' png; do
            convert "$png" +dither -colors 256 -strip -define png:compression-level=9 "$png"
        done
    rm -f "$stamp"
done
