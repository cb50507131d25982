#!/usr/bin/env bash
# A portrait screen (9:16): the view widens, so the board's far left cell is on screen and a
# click on it, where the widened projection puts it, lands the piece.
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play_lib.sh"
in_xvfb 540x960 "$build"
shots=$build/e2e-shots/play-portrait

start_game
park_pointer
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
    regions=$(changed_regions empty "after-$n")
    if [[ $regions -ge 1 ]]; then
        echo "a piece on screen $(($(now_ms) - pressed)) ms after the press"
        shot piece
        quit_with_esc
        exit 0
    fi
    sleep 0.2
done
fail "the click on cell (1, 6) landed no piece"
