#!/usr/bin/env bash
# Both seats switched to the computer from the panel: the game plays itself to a win,
# and the winning square's four pieces pulse.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1024x768 e2e-shots/play-self

start_game
open_panel 0.6
shot panel-before
read -r x y < <(virtual_xy 879 528)
press_at "$x" "$y"
shot panel-after
[[ $(changed_regions panel-before panel-after) -ge 1 ]] || fail "the seat button did not change"
park_pointer
started=$(now_ms)

# The winning square's pieces glow red, a colour nothing else on the screen has; the glow
# then swells and fades with the pulse.
reddest=0
for n in $(seq 1 140); do
    sleep 0.4
    look "look-$n"
    red=$(red_pixels "look-$n")
    rm -f "$shots/look-$((n - 2)).small.png"
    if ((red > reddest)); then
        reddest=$red
        cp "$shots/look-$n.small.png" "$shots/won.small.png"
        ((red > 100)) && shot won
    fi
    # Pulsing: a clear glow seen, and since then the glow has faded to under half.
    if ((reddest > 100 && red * 2 < reddest)); then
        echo "won and pulsing $(($(now_ms) - started)) ms after both seats went to the computer"
        quit_with_esc
        exit 0
    fi
    (($(now_ms) - started < 60000)) || break
done
fail "no pulsing square within the time allowed (reddest look: $reddest red pixels)"
