#!/usr/bin/env bash
# The real program under valgrind's leak checker through a short scripted game: start, a few
# moves, a new game, the help page, Esc. Fails when any byte is definitely lost outside the
# allocations of Mesa and X, which tests/soak/mesa_x.supp sets aside.
#
#   tests/soak/valgrind.sh BUILD_DIR
#
# Not part of the test suite: it takes a few minutes. The full report is left in
# BUILD_DIR/valgrind/memcheck.txt.
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/play_lib.sh"
in_xvfb 1024x768 "$build"
shots=$build/valgrind
mkdir -p "$shots"
report=$shots/memcheck.txt

read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
[[ -n "${W:-}" ]] || exit $kNoServer
rm -rf "$build/Temp"
valgrind --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite \
    --keep-debuginfo=yes --child-silent-after-fork=yes --num-callers=40 --suppressions="$here/mesa_x.supp" --log-file="$report" \
    "$build/koravex" 2>"$shots/stderr.txt" &
game_pid=$!

# Under valgrind everything is tens of times slower: generous waits.
win=""
for _ in $(seq 1 600); do
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start-up: $(cat "$shots/stderr.txt")"
    win=$(xdotool search --onlyvisible --name '^Koravex$' 2>/dev/null | tail -n 1)
    [[ -n "$win" ]] && break
    sleep 0.5
done
[[ -n "$win" ]] || fail "no main window appeared"
sleep 10
slow_press() { # x y
    xdotool mousemove "$1" "$2"
    sleep 2
    xdotool mousedown 1
    sleep 2
    xdotool mouseup 1
    sleep 2
}
for cell in "1 1" "3 4" "6 2"; do
    read -r x y < <(cell_xy "${cell% *}" "${cell#* }")
    slow_press "$x" "$y"
    park_pointer
    sleep 8 # the computer answers
done
read -r x y < <(virtual_xy 1000 740)
xdotool mousemove "$x" "$y"
sleep 4
read -r x y < <(virtual_xy 924 703)
slow_press "$x" "$y" # new game
read -r x y < <(virtual_xy 924 183)
slow_press "$x" "$y" # help
park_pointer
sleep 4
read -r x y < <(cell_xy 3 3)
slow_press "$x" "$y" # closes the help page
park_pointer
sleep 4
# A game under way asks for a second Esc within 3 s: pressed every second until it ends.
for _ in $(seq 1 600); do
    kill -0 "$game_pid" 2>/dev/null || break
    xdotool key Escape
    sleep 1
done
kill -0 "$game_pid" 2>/dev/null && fail "still running after Esc"
wait "$game_pid"
code=$?
game_pid=""
[[ $code -eq 0 ]] || fail "exit code $code: $(cat "$shots/stderr.txt")"

grep -E "definitely lost:|indirectly lost:|possibly lost:|still reachable:|suppressed:|ERROR SUMMARY" "$report" |
    sed 's/^==[0-9]*== *//'
lost=$(awk '/definitely lost:/ { gsub(",", "", $4); print $4 }' "$report")
[[ -n "$lost" ]] || grep -q "All heap blocks were freed" "$report" || fail "no leak summary in $report"
[[ "${lost:-0}" == 0 ]] || fail "$lost bytes definitely lost: see $report"
echo "PASS"
