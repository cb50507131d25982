#!/usr/bin/env bash
# The real program on archives whose two models ask for the most smoothing the store's limits
# allow (bench/hostile_archives writes them). Each is loaded up to its main window, which gives
# the processor time loading costs; then SIGTERM comes once the game has spent half, three
# quarters and 95 % of it, the last in the smoothed normals. Every time the game ends as a close
# does: exit code 0, no GL error, Temp and its private folders gone, and at most KX_QUIT_CPU_MS
# of processor time after the signal (not wall time, which a shared machine stretches).
set -u
build=$(cd "${1:?build directory}" && pwd)
# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "$0")/../../scripts/xvfb_lib.sh"
xvfb_options=(-fp built-ins)
in_xvfb 1024x768 "$build"

[[ -x "$build/bench/hostile_archives" ]] || { echo "SKIP: the benchmarks are not built"; exit 0; }
scratch=$(mktemp -d "$build/load-cost.XXXXXX")
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
status=0
hz=$(getconf CLK_TCK)

# Processor time of the game so far, all its threads, in ms; fails once it has gone.
cpu_ms() {
    local stat fields
    read -r stat 2>/dev/null <"/proc/$pid/stat" || return 1
    read -r -a fields <<<"${stat##*) }"
    echo $(((fields[11] + fields[12]) * 1000 / hz))
}

start() {
    mkdir -p "$scratch/runtime" "$scratch/home"
    chmod 700 "$scratch/runtime"
    (cd "$folder" && exec env XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch/home" \
        ./koravex 2>"$scratch/stderr.txt") &
    pid=$!
}

# SIGTERM, then the game followed to its end (30 s at most) and checked.
stop_and_check() {
    local at now spent=0 code left
    at=$(cpu_ms) || at=0
    kill -TERM "$pid"
    for _ in $(seq 1 3000); do
        now=$(cpu_ms) || break
        spent=$((now - at))
        sleep 0.01
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid"
    code=$?
    echo "$1: $spent ms of processor time after the signal, exit code $code"
    if [[ $code -ne 0 || $spent -gt ${KX_QUIT_CPU_MS:-500} ]] ||
        grep -q "GL error" "$scratch/stderr.txt"; then
        echo "FAIL: $1: $(head -c 300 "$scratch/stderr.txt")"
        status=1
    fi
    left=$(find "$folder/Temp" "$scratch/runtime" "$scratch/home" -mindepth 1 2>/dev/null)
    [[ -z "$left" && ! -e "$folder/Temp" ]] || { echo "FAIL: $1: left behind: $left"; status=1; }
}

"$build/bench/hostile_archives" "$build/adatok.vbf" "$scratch" crowded-models hub-models \
    >/dev/null || { echo "FAIL: no hostile archives"; exit 1; }
for name in crowded-models hub-models; do
    folder="$scratch/$name"
    cp "$build/koravex" "$folder/"
    start
    # The main window is made before loading and shown after it; the splash is smaller.
    for _ in $(seq 1 3000); do
        for id in $(xwininfo -root -tree | awk '/"Koravex": .* 1024x768\+/ { print $1 }'); do
            xwininfo -id "$id" | grep -q IsViewable && break 2
        done
        sleep 0.01
    done
    loading=$(cpu_ms) || loading=0
    echo "== $name: $loading ms of processor time up to the main window"
    stop_and_check "$name, SIGTERM in play"
    for share in 50 75 95; do
        start
        while now=$(cpu_ms) && ((now < loading * share / 100)); do sleep 0.01; done
        stop_and_check "$name, SIGTERM at $share % of the loading"
    done
done
exit $status
