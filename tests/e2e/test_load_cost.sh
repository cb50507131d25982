#!/usr/bin/env bash
# The real program on archives whose two models ask for the most smoothing a model within the
# store's limits can (bench/hostile_archives writes them). Each is first loaded up to its main
# window, which gives the processor time the loading costs; then SIGTERM comes once the game has
# spent a share of that time, late shares falling in the smoothed normals. Every time the game
# ends as a close does and soon: exit code 0, no GL error, Temp and the private folders gone,
# and at most KX_QUIT_CPU_MS milliseconds of processor time spent after the signal (processor
# time, since a machine shared with others stretches the wall clock).
set -u
build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/xvfb_lib.sh
source "$here/../../scripts/xvfb_lib.sh"
xvfb_options=(-fp built-ins)
in_xvfb 1024x768 "$build"

maker="$build/bench/hostile_archives"
if [[ ! -x "$maker" ]]; then
    echo "SKIP: $maker is not built (the benchmarks are off)"
    exit 0
fi
limit_ms=${KX_QUIT_CPU_MS:-500}
hz=$(getconf CLK_TCK)
scratch=$(mktemp -d "$build/load-cost.XXXXXX")
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# Processor time of the game so far, all its threads, in milliseconds; fails once it is gone.
cpu_ms() {
    local stat fields
    read -r stat 2>/dev/null <"/proc/$pid/stat" || return 1
    read -r -a fields <<<"${stat##*) }"
    echo $(((fields[11] + fields[12]) * 1000 / hz))
}

start() {
    mkdir -p "$scratch/runtime" "$scratch/home"
    chmod 700 "$scratch/runtime"
    (cd "$1" && exec env XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch/home" \
        ./koravex 2>"$scratch/stderr.txt") &
    pid=$!
}

main_window_shown() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F '"Koravex":' | grep -F '1024x768+' |
        awk '{print $1}'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' && return 0
    done
    return 1
}

# Sends SIGTERM and follows the game to its end (30 s at most); `spent` gets the processor
# time after the signal, to the last sample, and `code` the exit code, 99 when it was killed.
stop() {
    local at now
    at=$(cpu_ms) || at=0
    kill -TERM "$pid"
    spent=0
    for _ in $(seq 1 3000); do
        now=$(cpu_ms) || break
        spent=$((now - at))
        sleep 0.01
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid"
        wait "$pid" 2>/dev/null
        code=99
        return
    fi
    wait "$pid"
    code=$?
}

# The end of a run as a close: exit code 0, soon, nothing left behind.
expect_clean_end() {
    local what=$1 left
    echo "$what: ended after $spent ms of processor time, exit code $code"
    [[ $code -eq 0 ]] || fail "$what: exit code $code: $(head -c 300 "$scratch/stderr.txt")"
    ((spent <= limit_ms)) || fail "$what: $spent ms of processor time after the signal"
    ! grep -q "GL error" "$scratch/stderr.txt" || fail "$what: $(grep "GL error" "$scratch/stderr.txt")"
    [[ ! -e "$folder/Temp" ]] || fail "$what: Temp left beside the program"
    left=$(find "$scratch/runtime" "$scratch/home" -mindepth 1 2>/dev/null)
    [[ -z "$left" ]] || fail "$what: left behind: $left"
}

"$maker" "$build/adatok.vbf" "$scratch" crowded-models hub-models >/dev/null ||
    { echo "FAIL: no hostile archives"; exit 1; }
for name in crowded-models hub-models; do
    folder="$scratch/$name"
    cp "$build/koravex" "$folder/"
    start "$folder"
    for _ in $(seq 1 3000); do
        main_window_shown && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.01
    done
    loading=$(cpu_ms) || loading=0
    echo "== $name: $loading ms of processor time up to the main window"
    stop
    expect_clean_end "$name, SIGTERM in play"
    for share in 50 75 95; do
        start "$folder"
        while now=$(cpu_ms) && ((now < loading * share / 100)); do
            sleep 0.01
        done
        stop
        expect_clean_end "$name, SIGTERM at $share % of the loading"
    done
done
exit $status
