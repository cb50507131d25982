#!/usr/bin/env bash
# Undo and redo against the computer, on the screen: a person's move and the computer's reply,
# then Ctrl+Z takes both back and the board is empty again (a second Ctrl+Z changes nothing);
# Ctrl+Shift+Z puts both pieces back where they stood.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1024x768 e2e-shots/play-undo

start_game
look empty
read -r x y < <(cell_xy 2 3)
press_at "$x" "$y"
park_pointer
await_board 2 played
played=$board

xdotool key ctrl+z
await_board 0 undone
look undone
[[ $(changed_regions empty undone) -eq 0 ]] || fail "the screen after Ctrl+Z is not the empty board's"
xdotool key ctrl+z
await_board 0 undone-again
xdotool key ctrl+shift+z
await_board 2 redone
[[ "$board" == "$played" ]] || fail "redone $board, played $played"
quit_with_esc
