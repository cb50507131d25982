#!/usr/bin/env bash
# Command-line checks of koravex-arena: usage errors, reproducible runs, analysis.
# Usage: arena_test.sh <path of koravex-arena>
set -u
arena=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs the arena; sets out, err and rc.
run() {
    out=$("$arena" "$@" 2>/tmp/arena_err.$$) && rc=0 || rc=$?
    err=$(cat /tmp/arena_err.$$)
}
run_stdin() {
    local input=$1
    shift
    out=$(printf '%s' "$input" | "$arena" "$@" 2>/tmp/arena_err.$$) && rc=0 || rc=$?
    err=$(cat /tmp/arena_err.$$)
}
expect_usage_error() {
    local message=$1
    shift
    run "$@"
    [[ $rc -eq 2 && -z $out && $err == *"$message"* ]] || fail "$* -> rc $rc, '$err'"
}

run --help
[[ $rc -eq 0 && $out == *"Usage: koravex-arena"* ]] || fail "--help"

expect_usage_error "'101' is not a slider position" 100 101
expect_usage_error "'nan' is not a slider position" nan 50
expect_usage_error "'5x' is not a slider position" 100 50,5x
expect_usage_error "'' is not a slider position" --matrix 0,,100
expect_usage_error "--games needs a whole number" --games 0 100 50
expect_usage_error "--games needs a whole number" --games 1e3 100 50
expect_usage_error "--seed needs a whole number" --seed -1 100 50
expect_usage_error "--seed needs a value" 100 50 --seed
expect_usage_error "unknown option '--fast'" --fast 100 50
expect_usage_error "a pairing needs two sliders" 100
expect_usage_error "belong to --analyse" --noise 5 100 50
expect_usage_error "--slider or --noise, not both" --analyse --slider 5 --noise 5
expect_usage_error "found 5 rows" --analyse ...... ...... ...... ...... ......
expect_usage_error "row 2 has 5 cells" --analyse ...... ..... ...... ...... ...... ......
expect_usage_error "row 1 has more than six cells" --analyse .......
expect_usage_error "row 4, cell 3: '0' is not" --analyse ...... ...... ...... ..0... ...... ......
run_stdin "$(head -c 5000 /dev/zero | tr '\0' '.')" --analyse
[[ $rc -eq 2 && $err == *"too long"* ]] || fail "long standard input -> rc $rc"

# A seeded run repeats itself; only the speed may differ.
strip_speed() { sed -e 's/[0-9]* games per second//'; }
run --seed 9 --games 300 --quiet 100 50,0
first=$(strip_speed <<<"$out")
run --seed 9 --games 300 --quiet 100 50,0
[[ $rc -eq 0 && $(strip_speed <<<"$out") == "$first" ]] || fail "seeded pairing repeats"
[[ $first == *"A wins"*"B wins"*"unfinished"*"average length"* ]] || fail "pairing report: $first"
run --seed 9 --games 50 --quiet --matrix 0,50,100
[[ $rc -eq 0 && $(grep -cE '^ +[0-9]+( +[0-9.]+){3}$' <<<"$out") -eq 3 ]] ||
    fail "matrix table: $out"

# Three of player 1's squares wait for (3, 3): that outweighs player 2's own win.
position=(..1... .111.. .1.1.. ...... ....22 ....2.)
run --analyse --seed 4 --slider 100 "${position[@]}"
[[ $rc -eq 0 && $out == *"Player 2 to move"* && $out == *"Chosen cell: (3, 3)"* ]] ||
    fail "analysis: $out"
by_arguments=$out
run_stdin "$(printf '%s\n' "${position[@]}")" --analyse --seed 4 --slider 100
[[ $out == "$by_arguments" ]] || fail "position on standard input"
run --analyse --seed 4 --slider 100 "$(IFS=/; echo "${position[*]}")"
[[ $out == "$by_arguments" ]] || fail "position split by slashes"
run --analyse --seed 4 --noise 1000 --repeat 500 "${position[@]}"
[[ $rc -eq 0 && $out == *"Cells taken over 500 choices"* ]] || fail "repeat"
run --analyse --seed 1 121212 221111 122122 221221 111122 212121
[[ $rc -eq 0 && $out == *"No empty cell"* ]] || fail "full board: $out"

# The perfect player's line comes last, after the computer's analysis.
expect_hint() {
    local want=$1
    shift
    run --analyse --hint --seed 4 "$@"
    [[ $rc -eq 0 && $(tail -n 1 <<<"$out") == "$want" && $out == *"Chosen cell"* ]] ||
        fail "hint $* -> rc $rc, '$(tail -n 1 <<<"$out")' not '$want'"
}
expect_hint "hint 6,6 win 1" "${position[@]}"
expect_hint "hint 3,3 win 5" ...... ...... ...... ...... ...... ......
expect_hint "hint 3,3 win 7" 1..... ...... ...... ...... ...... ......
# Two threats of player 2: the block the full-strength computer prefers, lost all the same.
expect_hint "hint 6,2 loss 1" 1..1.. .....1 .1..1. ....22 22..2. 2.....
expect_hint "hint 6,6 open" 121212 221111 122122 221221 111122 21212.
run --analyse --hint 121212 221111 122122 221221 111122 212121
[[ $rc -eq 0 && $(tail -n 1 <<<"$out") == "hint none open" ]] || fail "hint on a full board: $out"
run_stdin "1111../....../....../....../....../222..." --analyse --hint
[[ $rc -eq 0 && $(tail -n 1 <<<"$out") == "hint 5,2 win 2" ]] || fail "hint from standard input"
expect_usage_error "already complete: the game is over" --analyse --hint 11.... 11.... ...... ...... 22.... 2.....
expect_usage_error "belong to --analyse" --hint 100 50

# The perfect player as a side: it wins every game it begins, and a perfect pair splits.
run --seed 5 --games 40 --quiet perfect 0,100,perfect
[[ $rc -eq 0 && $(grep -c "A = the perfect player against B = " <<<"$out") -eq 3 &&
    $(grep -c "(100.0% when A begins" <<<"$out") -eq 3 ]] || fail "perfect pairing: $out"
run --seed 5 --games 20 --quiet 100 perfect
[[ $rc -eq 0 && $out == *"A = slider 100 (NoiseRange 0) against B = the perfect player"* &&
    $out == *"unfinished         0"* ]] || fail "pairing against the perfect player: $out"
run --seed 5 --games 10 --quiet --matrix 50,perfect
[[ $rc -eq 0 && $(grep -cE '^ +(50|perfect)( +[0-9.]+){2}$' <<<"$out") -eq 2 ]] ||
    fail "matrix with the perfect player: $out"
expect_usage_error "'perfectly' is not a slider position" 100 perfectly

rm -f /tmp/arena_err.$$
[[ $failures -eq 0 ]] && echo "all arena checks passed"
exit $((failures > 0))
