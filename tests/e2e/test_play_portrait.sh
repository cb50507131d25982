#!/usr/bin/env bash
# A tall (9:16) and a wide (21:9) screen: on the tall one the view widens, so the board's far
# left cell is on screen; on both, a click on the centre of its hollow lands the piece in it.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
if [[ -z "${2:-}" ]]; then
    for size in 540x960 2520x1080; do bash "$0" "$build" "$size" || exit $?; done
    exit 0
fi
play_in "$2" "e2e-shots/play-portrait-$2" "$2"

start_game
shot empty

# Under the starting camera cell (1, 6) lies furthest left, cell (6, 1) furthest right.
read -r left_x left_y < <(cell_xy 1 6)
read -r right_x _ < <(cell_xy 6 1)
echo "cells at x = $left_x and $right_x of $W"
((left_x > W / 20 && right_x < W - W / 20)) || fail "the board's corner cells are off screen"
pressed=$(now_ms)
press_at "$left_x" "$left_y"
park_pointer
for n in $(seq 1 40); do
    look "after-$n"
    # A piece on screen, and the hollow clicked shows the light one, grey and not orange wood.
    if [[ $(changed_regions empty "after-$n") -ge 1 ]] &&
        pixel "$left_x" "$left_y" | awk -F, '{ exit !($1 > 110 && $3 / $1 > 0.68) }'; then
        echo "${W}x${H}: the piece in cell (1, 6) $(($(now_ms) - pressed)) ms after the press"
        shot piece
        quit_with_esc
        exit 0
    fi
    sleep 0.2
done
fail "${W}x${H}: the click on the hollow of cell (1, 6) landed no piece there"
