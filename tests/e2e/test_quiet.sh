#!/usr/bin/env bash
# Quiet at rest: with nothing moving the game draws nothing and uses under 1 % of a core; a
# pointer move over a cell is answered with a frame, which shows the piece's preview; while
# the winning square pulses, frames come no faster than the display refreshes (Xvfb reports
# no rate: 60 Hz). Frames are counted at the swaps by a preloaded clock.
# shellcheck source=play_lib.sh
source "$(dirname "$0")/play_lib.sh"
play_in 1920x1080 e2e-shots/quiet
clock=$build/tests/libkoravex-test-swap-clock.so
[[ -f "$clock" ]] || fail "no $clock"
mkdir -p "$shots"
log=$shots/swaps.log
rm -f "$log"
swaps() { [[ -f "$log" ]] && wc -l <"$log" || echo 0; }
red_pixels_now() {
    look pulse
    red_pixels pulse
}

# The preloaded clock comes before a sanitized program's own runtime.
KX_SWAP_LOG=$log LD_PRELOAD=$clock \
    ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 start_game
sleep 1
look rest
before=$(swaps)
rest=$(cpu_percent 3)
frames=$(($(swaps) - before))
echo "at rest: ${rest}% of a core, $frames frames in 3 s"
awk -v c="$rest" 'BEGIN { exit !(c <= 1.0) }' || fail "the game used ${rest}% of a core at rest"
[[ $frames -le 1 ]] || fail "$frames frames drawn at rest"

read -r x y < <(cell_xy 3 4)
before=$(swaps)
xdotool mousemove "$x" "$y"
start=$(now_ms)
for _ in $(seq 1 200); do
    [[ $(swaps) -gt $before ]] && break
    sleep 0.005
done
[[ $(swaps) -gt $before ]] || fail "no frame after the pointer moved"
echo "a frame $(($(now_ms) - start)) ms after the pointer moved"
sleep 0.3
look hover
[[ $(changed_regions rest hover) -ge 1 ]] || fail "the preview did not follow the pointer"

# Both seats to the computer: it plays to a win, and the winning square pulses.
light_seat_to_computer 0.6
started=$(now_ms)
until (($(red_pixels_now) > 100)); do
    (($(now_ms) - started < 90000)) || fail "no pulsing square within the time allowed"
    sleep 1
done
echo "won $(($(now_ms) - started)) ms after both seats went to the computer"
before=$(swaps)
sleep 3
rate=$(awk -v n=$(($(swaps) - before)) 'BEGIN { printf "%.1f", n / 3 }')
echo "pulsing: $rate frames per second"
awk -v r="$rate" 'BEGIN { exit !(r <= 63) }' || fail "$rate frames per second, above the display's 60"
# A machine busy with other work may draw slowly, but the pulse never lets the loop rest.
awk -v r="$rate" 'BEGIN { exit !(r >= 1) }' || fail "only $rate frames per second while the square pulses"

quit_with_esc
