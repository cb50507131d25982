#!/usr/bin/env bash
# The real game against the bare program (one full-screen trilinear-mipmapped quad) in one
# 1920 x 1080 Xvfb server, timed by the wall time between their buffer swaps, as a player
# sees it. Prints the median frame of the bare program, of the game's empty board, and of a
# game the computer plays on both seats, with their ratios to the bare frame.
#
#   bench/swap/swap_times.sh BUILD_DIR [seconds per phase, default 8]
set -u
build=$(cd "${1:?build directory}" && pwd)
seconds=${2:-8}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/play_lib.sh"
in_xvfb 1920x1080 "$build" "$seconds"
shots=$build/bench/swap-times
mkdir -p "$shots"
clock=$build/bench/libkoravex-swap-clock.so
[[ -f "$clock" ]] || fail "no $clock: build the benchmarks first"

# Median of the gaps between swaps number FROM and TO of a log, in milliseconds.
median_frame() {
    awk -v from="$2" -v to="$3" 'NR > from && NR <= to { if (NR > from + 1) print ($1 - prev) / 1e6; prev = $1 }' "$1" |
        sort -g | awk '{ gap[NR] = $1 } END { printf "%.2f", NR ? gap[int((NR + 1) / 2)] : 0 }'
}
swaps() { wc -l <"$1"; }

KX_SWAP_LOG=$shots/bare.log LD_PRELOAD=$clock \
    "$build/bench/koravex-bare-program" "$build/assets/backg.bmp" "$seconds" ||
    fail "the bare program failed"
bare=$(median_frame "$shots/bare.log" "$(($(swaps "$shots/bare.log") / 4))" "$(swaps "$shots/bare.log")")

export KX_SWAP_LOG=$shots/game.log LD_PRELOAD=$clock
start_game
park_pointer
sleep 1
from=$(swaps "$KX_SWAP_LOG")
sleep "$seconds"
empty=$(median_frame "$KX_SWAP_LOG" "$from" "$(swaps "$KX_SWAP_LOG")")

# The light seat goes to the computer; the dark one already is.
read -r x y < <(virtual_xy 1000 740)
xdotool mousemove "$x" "$y"
sleep 1.5
read -r x y < <(virtual_xy 879 528)
press_at "$x" "$y"
park_pointer
sleep 2
from=$(swaps "$KX_SWAP_LOG")
sleep "$seconds"
played=$(median_frame "$KX_SWAP_LOG" "$from" "$(swaps "$KX_SWAP_LOG")")
shot self-played
quit_with_esc >/dev/null
unset LD_PRELOAD

awk -v b="$bare" -v e="$empty" -v p="$played" 'BEGIN {
    printf "bare program      %7.2f ms  1.00 x\n", b
    printf "empty board       %7.2f ms  %4.2f x\n", e, e / b
    printf "self-played board %7.2f ms  %4.2f x\n", p, p / b }'
