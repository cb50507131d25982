#!/usr/bin/env bash
# The help picture opens from the panel and a press anywhere closes it, placing no piece
# even when that press is on an empty cell; then Esc ends the game cleanly.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1280x1024 e2e-shots/play-help

start_game
shot before

read -r x y < <(virtual_xy 1000 740)
xdotool mousemove "$x" "$y"
sleep 0.6
shot panel
read -r x y < <(virtual_xy 924 183)
press_at "$x" "$y"
park_pointer
shot help
percent=$(changed_percent before help)
echo "help covers ${percent}% of the screen"
[[ $percent -ge 80 ]] || fail "the help picture is not shown"

read -r x y < <(cell_xy 3 4)
press_at "$x" "$y"
park_pointer
sleep 1.5
shot closed
regions=$(changed_regions before closed)
[[ $regions -eq 0 ]] || fail "closing help changed $regions regions of the board"

quit_with_esc
