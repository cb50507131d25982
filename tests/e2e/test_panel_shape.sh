#!/usr/bin/env bash
# The panel keeps its shape on every screen: on 4:3, 21:9 and 9:16 screens the "New game"
# button, found on the screen by its light face, is as wide per high as it is drawn
# (160 x 90 units), and a click on it starts a new game.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"

# The light face's box "w h x y" within the part of the screen where the button should be.
button_box() {
    local x1 y1 x2 y2
    read -r x1 y1 < <(virtual_xy 814 758)
    read -r x2 y2 < <(virtual_xy 1014 648)
    convert "$shots/$1.png" -crop "$((x2 - x1))x$((y2 - y1))+$x1+$y1" +repage -colorspace gray \
        -threshold 55% -bordercolor black -border 1 -format '%@' info: |
        awk -F'[x+]' -v x="$x1" -v y="$y1" '{ print $1, $2, $3 - 1 + x, $4 - 1 + y }'
}

# Each screen in an X server of its own size.
if [[ -z "${2:-}" ]]; then
    for screen in 1024x768 2560x1080 1080x1920; do
        bash "$0" "$build" "$screen" || exit 1
    done
    exit 0
fi
in_xvfb "$2" "$build" "$2"

check_screen() {
    shots=$build/e2e-shots/panel-shape-$1
    start_game
    # Two persons: nothing moves on the board but what the clicks do.
    xdotool key F3
    read -r x y < <(cell_xy 3 3)
    press_at "$x" "$y"
    park_pointer
    sleep 1.5
    look played
    read -r x y < <(virtual_xy 1000 740)
    xdotool mousemove "$x" "$y"
    sleep 1
    shot open
    read -r w h bx by < <(button_box open)
    echo "$1: the New game button is ${w} x ${h} pixels at ($bx, $by)"
    awk -v w="$w" -v h="$h" 'BEGIN { r = w / h; exit !(h > 20 && r > 1.6 && r < 1.95) }' ||
        fail "$1: the button is ${w} x ${h}, not about 160 : 90"
    press_at $((bx + w / 2)) $((by + h / 2))
    park_pointer
    sleep 1.5
    look new-game
    [[ $(changed_regions played new-game) -ge 1 ]] || fail "$1: the click on New game did nothing"
    quit_with_esc
}

check_screen "$2"
