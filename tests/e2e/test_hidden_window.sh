#!/usr/bin/env bash
# While its window is unmapped the game draws nothing and sleeps, using under 1 % of a core;
# mapped again, it shows the same picture; Esc then ends it.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1280x1024 e2e-shots/hidden-window

start_game
look before
shown=$(cpu_percent 2)
echo "shown: ${shown}% of a core"

xdotool windowunmap "$win"
sleep 1
hidden=$(cpu_percent 4)
echo "hidden: ${hidden}% of a core"
awk -v c="$hidden" 'BEGIN { exit !(c < 1.0) }' || fail "the hidden game used ${hidden}% of a core"

xdotool windowmap "$win"
xdotool windowfocus "$win" 2>/dev/null
sleep 0.5
look after
percent=$(changed_percent before after)
[[ $percent -le 1 ]] || fail "the picture after the window came back differs in ${percent}%"

quit_with_esc
