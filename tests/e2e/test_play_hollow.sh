#!/usr/bin/env bash
# A click on the centre of a hollow lands the piece in that hollow, on a wide (21:9) and on a
# tall (9:16) screen alike.
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play_lib.sh"
if [[ -z "${2:-}" ]]; then
    for size in 2520x1080 540x960; do
        bash "$0" "$build" "$size" || exit $?
    done
    exit 0
fi
in_xvfb "$2" "$build" "$2"
shots=$build/e2e-shots/play-hollow-$2

# Whether the screen pixel shows a light piece: grey, not the orange wood, and light.
light_piece_at() {
    pixel "$1" "$2" | awk -F, '{ exit !($1 > 110 && $3 / $1 > 0.68) }'
}

start_game
park_pointer
read -r x y < <(cell_xy 5 2)
light_piece_at "$x" "$y" && fail "cell (5, 2) shows a piece before any move"
pressed=$(now_ms)
press_at "$x" "$y"
park_pointer
for _ in $(seq 1 20); do
    if light_piece_at "$x" "$y"; then
        echo "${W}x${H}: the piece in cell (5, 2) $(($(now_ms) - pressed)) ms after the press"
        shot piece
        quit_with_esc
        exit 0
    fi
    sleep 0.2
done
shot missed
fail "${W}x${H}: the click on the hollow of cell (5, 2) landed no piece there"
