#!/usr/bin/env bash
# A person's move against the computer: a click on an empty cell lands the light piece,
# and the computer's dark piece follows a second later.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1024x768 e2e-shots/play-move

start_game
shot empty
[[ $(changed_regions empty empty) -eq 0 ]] || fail "screenshots of one state differ"

read -r x y < <(cell_xy 2 3)
xdotool mousemove "$x" "$y"
sleep 0.5
shot hover
[[ $(changed_regions empty hover) -eq 1 ]] || fail "no preview piece under the pointer"
press_at "$x" "$y"
park_pointer

# A light piece where the click was, and a dark one: read off the screen, the same twice.
await_board 2 two-pieces
[[ ${board:8:1} == 1 && $(tr -cd 2 <<<"$board") == 2 ]] || fail "pieces where they should not be: $board"
quit_with_esc
