#!/usr/bin/env bash
# The real game against the bare program (one full-screen trilinear-mipmapped quad) in one
# 1920 x 1080 Xvfb server, by the CPU time each spends per drawn frame, all its threads
# together, taken at its buffer swaps. The game paces its frames to the display, so the time
# between them says nothing of their cost. Prints the CPU per frame and frames per second of
# the bare program, of the game's empty board turning (an arrow key held) and of a game the
# computer plays on both seats, their ratios to the bare frame, and the game's CPU at rest.
#
#   bench/swap/swap_times.sh BUILD_DIR [seconds per phase, default 8]
# shellcheck source=../../tests/e2e/play_lib.sh
source "$(dirname "$0")/../../tests/e2e/play_lib.sh"
seconds=${2:-8}
play_in 1920x1080 bench/swap-times "$seconds"
mkdir -p "$shots"
clock=$build/bench/libkoravex-swap-clock.so
[[ -f "$clock" ]] || fail "no $clock: build the benchmarks first"

# "CPU ms per frame, frames per second" between swaps number FROM and TO of a log.
frame_cost() {
    awk -v from="$2" -v to="$3" 'NR == from { t0 = $1; c0 = $2 } NR == to { t1 = $1; c1 = $2 }
        END { n = to - from; if (n < 1 || t1 <= t0) { print "0 0"; exit }
              printf "%.3f %.1f\n", (c1 - c0) / n / 1e6, n / ((t1 - t0) / 1e9) }' "$1"
}
swaps() { wc -l <"$1"; }
# Swaps logged over the next given seconds, as "FROM TO".
swaps_over() {
    local from
    from=$(swaps "$KX_SWAP_LOG")
    sleep "$1"
    echo "$from $(swaps "$KX_SWAP_LOG")"
}

KX_SWAP_LOG=$shots/bare.log LD_PRELOAD=$clock \
    "$build/bench/koravex-bare-program" "$build/assets/backg.bmp" "$seconds" ||
    fail "the bare program failed"
n=$(swaps "$shots/bare.log")
read -r bare bare_fps < <(frame_cost "$shots/bare.log" $((n / 4)) "$n")

export KX_SWAP_LOG=$shots/game.log LD_PRELOAD=$clock
start_game
park_pointer
sleep 1
before=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
read -r from to < <(swaps_over 4)
after=$(awk '{ print $14 + $15 }' "/proc/$game_pid/stat")
rest=$(awk -v d=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * d / hz / 4 }')
rest_frames=$((to - from))

xdotool keydown Right
sleep 0.5
read -r from to < <(swaps_over "$seconds")
xdotool keyup Right
read -r turning turning_fps < <(frame_cost "$KX_SWAP_LOG" "$from" "$to")

# The light seat goes to the computer; the dark one already is.
light_seat_to_computer 1.5
sleep 2
read -r from to < <(swaps_over "$seconds")
read -r played played_fps < <(frame_cost "$KX_SWAP_LOG" "$from" "$to")
shot self-played
quit_with_esc >/dev/null
unset LD_PRELOAD

awk -v b="$bare" -v bf="$bare_fps" -v e="$turning" -v ef="$turning_fps" -v p="$played" \
    -v pf="$played_fps" -v r="$rest" -v rn="$rest_frames" 'BEGIN {
    printf "                     CPU per frame   frames/s   ratio\n"
    printf "bare program         %8.2f ms   %8.1f    1.00 x\n", b, bf
    printf "empty board turning  %8.2f ms   %8.1f    %4.2f x\n", e, ef, e / b
    printf "self-played board    %8.2f ms   %8.1f    %4.2f x\n", p, pf, p / b
    printf "game at rest         %5.1f %% of a core, %d frames in 4 s\n", r, rn }'
