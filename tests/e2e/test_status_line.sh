#!/usr/bin/env bash
# The status line read off the screen by OCR: at the start it names the player to move; two
# persons (F3 gives the second seat to a person) then play a quick win, and
# the line says who won, the score, and how to start again.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1920x1080 e2e-shots/status-line
command -v tesseract >/dev/null || { echo "SKIP: no tesseract"; exit 0; }

# The line's corner right of the disc and left of the panel, cropped, turned dark on light
# with a light border, read twice as a block of text with its spaces squeezed: as it is and
# in black and white enlarged by half, since either may misread a digit the other reads. The
# narrow spaces around the colon are not always read: the patterns let those go.
read_status() {
    local way=0 opts
    for opts in "-negate" "-negate -threshold 50% -resize 150%"; do
        # shellcheck disable=SC2086 # the options are words
        convert "$shots/$1.png" -crop "$((W * 3 / 4))x$((H / 8))+$((H / 20))+0" +repage \
            -colorspace gray $opts -bordercolor white -border 20 "$shots/$1.ocr$way.png"
        tesseract "$shots/$1.ocr$way.png" stdout --psm 6 2>/dev/null | tr -s ' \n' ' '
        echo " /"
        way=$((way + 1))
    done | tr -d '\n'
}

expect_status() {
    local text
    text=$(read_status "$1")
    echo "$1: $text"
    grep -Eq "$2" <<<"$text" || fail "$1: the status line reads \"$text\", not /$2/"
}

start_game
shot start
# The second seat is the computer's at the start.
expect_status start 'Player 1 \(you\) to move'

xdotool key F3
sleep 0.3
for cell in "1 1" "6 6" "1 2" "6 5" "2 1" "5 6" "2 2"; do
    read -r i j <<<"$cell"
    read -r x y < <(cell_xy "$i" "$j")
    press_at "$x" "$y"
    park_pointer
    sleep 1.2
done
for _ in $(seq 1 20); do
    shot won
    grep -q wins <<<"$(read_status won)" && break
    sleep 0.5
done
expect_status won 'Player 1 wins'
expect_status won 'Score ?1 ?: ?0'
expect_status won 'N: ?new game'
quit_with_esc
