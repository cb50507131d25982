#!/usr/bin/env bash
# A whole game won against the computer with keys alone: the strength turned down with the
# minus key on the panel that Tab opens, then each move steered with W/S and the keypad's 4/6
# and placed with Enter, the board read off the screen between moves, until the light
# player's square glows red. A game the computer wins is followed by another (N).
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1024x768 e2e-shots/play-keys

# Runs an awk program over the 105 squares of the board in `b`: for each, `mine` and `theirs`
# count its light and dark corners and c[1..4] are its cells (1..36).
over_squares() {
    awk -v b="$1" 'function cell(i, j) { return i < 1 || i > 6 || j < 1 || j > 6 ? 0 : 6 * (i - 1) + j }
    BEGIN {
        for (i = 1; i <= 6; i++) for (j = 1; j <= 6; j++) for (a = 1; a <= 5; a++) for (s = 0; s <= 5; s++) {
            c[1] = cell(i, j); c[2] = cell(i + a, j + s); c[3] = cell(i + a - s, j + s + a); c[4] = cell(i - s, j + a)
            if (!c[1] || !c[2] || !c[3] || !c[4]) continue
            mine = 0; theirs = 0
            for (k = 1; k <= 4; k++) { v = substr(b, c[k], 1); mine += v == 1; theirs += v == 2 }
            '"$2"'
        }
        '"${3:-}"'
    }'
}

# The light player's next cell "i j": a winning corner, else the corner that stops a dark
# square, else the cell on the most squares light can still take, light's own counting most.
choose() {
    over_squares "$1" 'for (k = 1; k <= 4; k++) {
            if (theirs == 0) score[c[k]] += mine == 3 ? 100000 : 1 + 10 * mine * mine
            if (mine == 0 && theirs == 3) score[c[k]] += 10000
        }' 'best = -1
        for (n = 1; n <= 36; n++) if (substr(b, n, 1) == 0 && score[n] > best) { best = score[n]; at = n }
        print int((at - 1) / 6) + 1, (at - 1) % 6 + 1'
}

# Whether player 1 or 2 holds all four corners of a square.
holds_square() {
    local corners=mine
    [[ $2 == 2 ]] && corners=theirs
    over_squares "$1" "if ($corners == 4) won = 1" 'print won + 0'
}

count() { tr -cd "$2" <<<"$1" | wc -c; }

start_game

# The computer at its weakest, the knob moved with the minus key on the panel Tab opened.
shot before
xdotool key Tab sleep 0.6 key --delay 60 minus minus minus minus minus minus minus minus minus minus
shot panel
xdotool key Tab sleep 0.6
[[ $(changed_percent before panel) -ge 10 ]] || fail "Tab did not open the panel"

# The first key starts from the centre, the pointer being on no cell; W is i + 1 and the
# keypad's 4 is j + 1 under the starting view.
ci=3 cj=3
for game in 1 2 3; do
    board=000000000000000000000000000000000000
    for move in $(seq 1 18); do
        read -r ti tj < <(choose "$board")
        keys=()
        while ((ci < ti)); do keys+=(w) ci=$((ci + 1)); done
        while ((ci > ti)); do keys+=(s) ci=$((ci - 1)); done
        while ((cj < tj)); do keys+=(KP_4) cj=$((cj + 1)); done
        while ((cj > tj)); do keys+=(KP_6) cj=$((cj - 1)); done
        xdotool key --delay 80 "${keys[@]}" Return
        n=$((6 * (ti - 1) + tj))
        mine=${board:0:n-1}1${board:n}
        if [[ $(holds_square "$mine" 1) -eq 1 ]]; then
            # The winning square glows: red at some moment of its two-second pulse.
            for look in $(seq 1 12); do
                sleep 0.25
                shot "won-$look"
                if (($(red_pixels "won-$look") > 40)); then
                    echo "won game $game with move $move at ($ti, $tj)"
                    quit_with_esc
                    exit 0
                fi
            done
            fail "no red square after the winning move ($ti, $tj)"
        fi
        # Both pieces have landed by now; a look in the middle of a glow may need another.
        sleep 2.4
        lost=0
        for look in 1 2 3 4; do
            sleep 0.3
            name=game$game-move$move-$look
            shot "$name"
            if (($(red_pixels "$name") > 40)); then lost=1 && break; fi
            board=$(read_board "$name")
            [[ ${board:n-1:1} == 1 && $(count "$board" 1) -eq $(count "$board" 2) ]] && break
        done
        echo "game $game move $move: ($ti, $tj) -> $board"
        if ((game == 1 && move == 1)); then # the cursor's outline shows
            convert "$shots/$name.png" -fx '(r > 0.8 && g > 0.65 && b < 0.25) ? 1 : 0' \
                -format '%[fx:int(mean * w * h)]' info: | awk '{ exit $1 < 200 }' || fail "no outline"
        fi
        ((lost)) || [[ $(holds_square "$board" 2) -eq 1 ]] && break
        [[ ${board:n-1:1} == 1 ]] || fail "no light piece on ($ti, $tj) after Enter"
        [[ $(count "$board" 1) -eq $(count "$board" 2) ]] || fail "the computer did not answer"
    done
    echo "game $game not won; a new one with N"
    xdotool key n
    sleep 0.5
done
fail "no game won in three"
