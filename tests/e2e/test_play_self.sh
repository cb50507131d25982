#!/usr/bin/env bash
# Both seats switched to the computer from the panel: the game plays itself to a win,
# and the winning square's four pieces pulse.
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play_lib.sh"
in_xvfb 1024x768 "$build"
shots=$build/e2e-shots/play-self

start_game
read -r x y < <(virtual_xy 1000 740)
xdotool mousemove "$x" "$y"
sleep 0.6
shot panel-before
read -r x y < <(virtual_xy 879 528)
press_at "$x" "$y"
shot panel-after
[[ $(changed_regions panel-before panel-after) -ge 1 ]] || fail "the seat button did not change"
park_pointer
started=$(now_ms)

# Once the game is over only the pulse changes the picture: the same four pieces each look.
look look-0
pulsing=0
for n in $(seq 1 120); do
    sleep 0.4
    look "look-$n"
    regions=$(changed_regions "look-$((n - 1))" "look-$n")
    if [[ $regions -eq 4 ]]; then
        pulsing=$((pulsing + 1))
    else
        pulsing=0
    fi
    rm -f "$shots/look-$((n - 2)).small.png"
    if [[ $pulsing -ge 3 ]]; then
        echo "won and pulsing $(($(now_ms) - started)) ms after both seats went to the computer"
        shot won
        quit_with_esc
        exit 0
    fi
    (($(now_ms) - started < 55000)) || break
done
fail "no pulsing square within the time allowed"
