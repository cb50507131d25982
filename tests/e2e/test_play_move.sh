#!/usr/bin/env bash
# A person's move against the computer: a click on an empty cell lands the light piece,
# and the computer's dark piece follows a second later.
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play_lib.sh"
in_xvfb 1024x768 "$build"
shots=$build/e2e-shots/play-move

start_game
park_pointer
shot empty
[[ $(changed_regions empty empty) -eq 0 ]] || fail "screenshots of one state differ"

read -r x y < <(cell_xy 2 3)
xdotool mousemove "$x" "$y"
sleep 0.5
shot hover
[[ $(changed_regions empty hover) -eq 1 ]] || fail "no preview piece under the pointer"
pressed=$(now_ms)
press_at "$x" "$y"
park_pointer

# Two pieces, standing still for two looks in a row.
previous=""
for n in $(seq 1 40); do
    look "after-$n"
    regions=$(changed_regions empty "after-$n")
    echo "look $n at $(($(now_ms) - pressed)) ms: $regions regions"
    if [[ $regions -eq 2 && -n "$previous" && $(changed_regions "$previous" "after-$n") -eq 0 ]]; then
        echo "two pieces on screen $(($(now_ms) - pressed)) ms after the press"
        shot two-pieces
        quit_with_esc
        exit 0
    fi
    previous=after-$n
    sleep 0.2
done
fail "expected two pieces, found $regions changed regions"
