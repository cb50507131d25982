#!/usr/bin/env bash
# While its window is unmapped the game draws nothing and sleeps, using under 1 % of a core;
# mapped again, it shows the same picture; Esc then ends it.
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play_lib.sh"
in_xvfb 1280x1024 "$build"
shots=$build/e2e-shots/hidden-window

start_game
park_pointer
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
