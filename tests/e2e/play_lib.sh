# shellcheck shell=bash
# shellcheck disable=SC2034 # shots is for the sourcing script
# Shared steps for the play tests: start the real game inside an X server of its own, point
# and press like a person (buttons and keys held long enough for a slow frame to see them),
# take screenshots and compare them. Sourced by the test_play_*.sh scripts and the other
# tests that play, with their arguments: the first is the build directory.
set -u
build=$(cd "${1:?build directory}" && pwd)

# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb_lib.sh"

# play_in SIZE SHOTS [ARG...]: the rest of the script in a new X server of SIZE, re-run with
# the build directory and ARGs; screenshots go to the folder SHOTS inside the build directory.
play_in() {
    in_xvfb "$1" "$build" "${@:3}"
    shots=$build/$2
}

# Fails the test with a message, after stopping the game.
fail() {
    echo "FAIL: $*"
    [[ -n "${game_pid:-}" ]] && kill -9 "$game_pid" 2>/dev/null
    exit 1
}

# Milliseconds since the epoch.
now_ms() { date +%s%3N; }

# Starts the game and waits until its window covers the screen and shows a frame; then parks
# the pointer.
start_game() {
    read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
    [[ -n "${W:-}" ]] || exit $kNoServer
    mkdir -p "$shots"
    rm -rf "$build/Temp"
    local start
    start=$(now_ms)
    KORAVEX_GL_CHECK=1 "$build/koravex" 2>"$shots/stderr.txt" &
    game_pid=$!
    win=""
    for _ in $(seq 1 300); do
        if ! kill -0 "$game_pid" 2>/dev/null; then
            grep -q "no display" "$shots/stderr.txt" && exit $kNoServer
            fail "the game ended at start-up: $(cat "$shots/stderr.txt")"
        fi
        win=$(xdotool search --onlyvisible --name '^Koravex$' 2>/dev/null | tail -n 1)
        [[ -n "$win" ]] && xdotool getwindowgeometry "$win" | grep -q "Geometry: ${W}x${H}" && break
        win=""
        sleep 0.05
    done
    [[ -n "$win" ]] || fail "no main window appeared"
    echo "window mapped after $(($(now_ms) - start)) ms"
    # The backdrop is never black: the first frame has been drawn once the centre is not.
    for _ in $(seq 1 100); do
        [[ "$(pixel $((W / 2)) $((H / 2)))" != "0,0,0" ]] && break
        sleep 0.05
    done
    echo "first frame after $(($(now_ms) - start)) ms"
    park_pointer
}

# "r,g,b" of one screen pixel.
pixel() {
    xwd -root -silent | convert xwd:- -crop "1x1+$1+$2" -depth 8 txt:- |
        awk 'NR == 2 { gsub(/[()]/, "", $2); print $2 }' | cut -d, -f1-3
}

# A quarter-size screenshot to compare; shot also keeps the full picture for people to see.
look() { xwd -root -silent | convert xwd:- -scale 25% "$shots/$1.small.png"; }
shot() {
    xwd -root -silent | convert xwd:- -write "$shots/$1.png" -scale 25% "$shots/$1.small.png"
}

# Screen pixel of a point of the panel's 1024 x 768 virtual screen (y upwards): scaled alike
# both ways to fit the screen, against its top-right corner.
virtual_xy() { awk -v x="$1" -v y="$2" -v W="$W" -v H="$H" 'BEGIN {
        s = W / 1024; if (H / 768 < s) s = H / 768
        printf "%d %d\n", W - (1024 - x) * s, (768 - y) * s }'; }

# Screen pixel of the centre of cell (i, j)'s hollow under the starting camera (tilt -45,
# turn 45): at its floor, 0.05 units below the board's face, or as high as the third argument
# says (board units, up from the face).
cell_xy() {
    awk -v i="$1" -v j="$2" -v z="${3:--0.05}" -v W="$W" -v H="$H" 'BEGIN {
        pi = atan2(0, -1)
        x = (9 * i - 31.5) / 10; y = (9 * j - 31.5) / 10
        t = 45 * pi / 180; x1 = x * cos(t) - y * sin(t); y1 = x * sin(t) + y * cos(t)
        a = -45 * pi / 180; y2 = y1 * cos(a) - z * sin(a); z2 = y1 * sin(a) + z * cos(a) - 10
        f = cos(pi / 8) / sin(pi / 8); a = W / H
        # Narrower than 4:3 the view widens to keep the width it has at 4:3.
        if (a < 4 / 3) f = f * a * 3 / 4
        wx = W / 2 * (1 + f / a * x1 / -z2); wy = H / 2 * (1 + f * y2 / -z2)
        printf "%d %d\n", wx + 0.5, H - wy + 0.5 }'
}

# Moves the pointer to (x, y) and holds the left button there for a while.
press_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.3
    xdotool mouseup 1
    sleep 0.2
}

# Moves the pointer onto the panel's tab and waits the given seconds for the panel to open.
open_panel() {
    read -r x y < <(virtual_xy 1000 740)
    xdotool mousemove "$x" "$y"
    sleep "$1"
}

# Gives the light seat to the computer from the panel, opened for the given seconds first,
# and parks the pointer again.
light_seat_to_computer() {
    open_panel "$1"
    read -r x y < <(virtual_xy 879 528)
    press_at "$x" "$y"
    park_pointer
}

# Parks the pointer at the left edge, clear of the board and the panel.
park_pointer() {
    xdotool mousemove 2 $((H / 2))
    sleep 0.3
}

# Number of separate regions, of about 100 screen pixels or more, where two looks differ. A
# translucent piece over wood of much its own shade leaves specks apart from it; they don't count.
changed_regions() {
    convert "$shots/$1.small.png" "$shots/$2.small.png" -compose difference -composite \
        -colorspace gray -threshold 6% -define connected-components:area-threshold=6 \
        -define connected-components:verbose=true -connected-components 8 null: |
        grep -c 'gray(255)'
}

# Pixels of a look that are clearly red: far more red than green, green and blue alike.
red_pixels() {
    convert "$shots/$1.small.png" -fx '(r - g > 0.25 && abs(g - b) < 0.08) ? 1 : 0' \
        -format '%[fx:int(mean * w * h + 0.5)]' info:
}

# Share of the screen, in percent, where two looks differ.
changed_percent() {
    convert "$shots/$1.small.png" "$shots/$2.small.png" -compose difference -composite \
        -colorspace gray -threshold 6% -format '%[fx:int(mean*100)]' info:
}

# Presses Esc until the game ends (a second press within 3 s quits a game under way); the
# exit code must be 0, the Temp folder gone, and no GL error reported on the way.
quit_with_esc() {
    for _ in 1 2 3; do
        xdotool keydown Escape
        sleep 0.2
        xdotool keyup Escape
        for _ in $(seq 1 20); do
            kill -0 "$game_pid" 2>/dev/null || break 2
            sleep 0.05
        done
    done
    kill -0 "$game_pid" 2>/dev/null && fail "still running after Esc"
    wait "$game_pid"
    local code=$?
    game_pid=""
    echo "exit code $code"
    [[ $code -eq 0 ]] || fail "exit code $code: $(cat "$shots/stderr.txt")"
    [[ ! -e "$build/Temp" ]] || fail "the Temp folder was left behind"
    ! grep -q "GL error" "$shots/stderr.txt" || fail "$(grep "GL error" "$shots/stderr.txt" | head -3)"
}

# The board in the shot given as 36 digits, cell (i, j) at 6(i - 1) + j: 0 empty, 1 light,
# 2 dark. Read at each hollow's centre above the face, under the starting camera.
read_board() {
    local points="" i j x y
    for i in 1 2 3 4 5 6; do
        for j in 1 2 3 4 5 6; do
            read -r x y < <(cell_xy "$i" "$j" 0.15)
            points+="%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)] "
        done
    done
    convert "$shots/$1.png" -format "$points" info: | tr ' ' '\n' | awk -F, 'NF == 3 {
        # The pieces are grey, light or dark; the wood is orange.
        piece = $1 > 0 && $3 / $1 > 0.68
        printf "%d", (!piece) ? 0 : ($1 > 110 ? 1 : 2) }'
}

# await_board N NAME: waits up to 8 s for N pieces on the board read off the screen, the same
# in two shots in a row; the board goes to `board`, the last shot is NAME. Else fails.
await_board() {
    local from previous=""
    from=$(now_ms)
    for _ in $(seq 1 40); do
        shot "$2"
        board=$(read_board "$2")
        if [[ $(tr -cd 12 <<<"$board" | wc -c) -eq $1 && "$board" == "$previous" ]]; then
            echo "$2: $board after $(($(now_ms) - from)) ms"
            return
        fi
        previous=$board
        sleep 0.2
    done
    fail "$2: expected $1 pieces, read $board"
}

# await_regions N BASE NAME: waits up to 8 s for the screen to differ from the look BASE in N
# regions and to stand still for two looks in a row, then keeps a shot NAME; else fails.
await_regions() {
    local from regions previous=""
    from=$(now_ms)
    for n in $(seq 1 40); do
        look "$3-$n"
        regions=$(changed_regions "$2" "$3-$n")
        if [[ $regions -eq $1 && -n "$previous" && $(changed_regions "$previous" "$3-$n") -eq 0 ]]; then
            echo "$3: $1 regions, still, after $(($(now_ms) - from)) ms"
            shot "$3"
            return
        fi
        previous=$3-$n
        sleep 0.2
    done
    fail "$3: expected $1 changed regions, found $regions"
}

# Percent of one core the game used over the given seconds, all its threads together.
cpu_percent() {
    local before after
    before=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
    sleep "$1"
    after=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
    awk -v d=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$1" \
        'BEGIN { printf "%.1f\n", 100 * d / hz / s }'
}
