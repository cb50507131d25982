# shellcheck shell=bash
# shellcheck disable=SC2034 # status is the sourcing script's exit code
# Shared steps for the way-out tests: each run gets its own Xvfb server (the tests kill some)
# and its own folders for the program, the runtime and the cache, inside a scratch folder that
# goes at exit. Sourced by test_way_out*.sh with their arguments: the first is the build
# directory.
set -u
build=$(cd "${1:?build directory}" && pwd)
scratch=$(mktemp -d "$build/$(basename "$0" .sh).XXXXXX")
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT

# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb_lib.sh"

status=0

fail() {
    echo "FAIL: $*"
    status=1
}

# Starts an Xvfb server of our own; its number goes to `display`, its process to `server`. Its
# fonts are the folder `server_fonts` names, else -fp built-ins: no core fonts, so boxes are the
# game's own.
start_server() { xvfb_start 1024x768 -fp "${server_fonts:-built-ins}"; }
stop_server() { xvfb_stop; }

# run_and_close WHAT FOLDER: the game in FOLDER, sent SIGTERM a second after its window shows,
# must end as a close does, with exit code 0.
run_and_close() {
    start "$2"
    wait_window Koravex 1024x768+ || fail "$1: no window"
    sleep 1
    kill -TERM "$pid"
    wait_exit
    [[ $code -eq 0 ]] || fail "$1: exit code $code"
}

# A folder holding a copy of the program, with its archive unless told otherwise.
game_folder() {
    local folder="$scratch/$1"
    mkdir -p "$folder"
    cp "$build/koravex" "$folder/"
    [[ "${2:-}" == "--no-archive" ]] || cp "$build/adatok.vbf" "$folder/"
    echo "$folder"
}

# start FOLDER [ENV-OPTION...]: the game in FOLDER on our server, with a runtime and a cache
# folder of its own. A background job of a script starts with SIGINT ignored, which the game
# keeps: it is given its default action back. Options of env, such as --ignore-signal=HUP,
# come after that.
start() {
    local folder=$1
    shift
    mkdir -p "$scratch/runtime" "$scratch/home"
    chmod 700 "$scratch/runtime"
    env --default-signal=INT "$@" DISPLAY="$display" XDG_RUNTIME_DIR="$scratch/runtime" \
        HOME="$scratch/home" "$folder/koravex" 2>"$scratch/stderr.txt" &
    pid=$!
}

# Waits until a top-level window with this exact name (and this size, when given) is viewable.
# The main window covers the screen; the splash, named alike, is smaller.
wait_window() {
    local id
    for _ in $(seq 1 300); do
        for id in $(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" |
            grep -F "${2:-}" | awk '{print $1}'); do
            DISPLAY=$display xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' && return 0
        done
        sleep 0.1
    done
    return 1
}

# True once process $1 has ended (or is a zombie nobody has reaped yet), within $2 seconds.
ended_within() {
    local tries
    tries=$(awk -v s="$2" 'BEGIN { print int(s * 20) }')
    for _ in $(seq 0 "$tries"); do
        [[ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)" =~ ^(Z|)$ ]] && return 0
        sleep 0.05
    done
    return 1
}

# Waits for the game to end (30 s at most: a loaded machine may be slow to wind a start-up
# down); its exit code goes to `code`, 99 when it had to be killed.
wait_exit() {
    if ! ended_within "$pid" 30; then
        kill -9 "$pid"
        wait "$pid" 2>/dev/null
        code=99
        return
    fi
    wait "$pid"
    code=$?
}

# Nothing of the game's is left: no Temp beside the program, no private folder.
expect_clean() {
    local name=$1 folder=$2 left
    [[ ! -e "$folder/Temp" ]] || fail "$name: Temp left beside the program: $(ls -A "$folder/Temp")"
    left=$(find "$scratch/runtime" "$scratch/home" -mindepth 1 2>/dev/null)
    [[ -z "$left" ]] || fail "$name: left behind: $left"
}

# quit_with SIGNAL NAME FOLDER: the signal ends the game within a second, as a close does.
quit_with() {
    kill -"$1" "$pid" 2>/dev/null
    ended_within "$pid" 1 || fail "$2: still running 1 s after SIG$1"
    wait_exit
    [[ $code -eq 0 ]] || fail "$2: exit code $code: $(cat "$scratch/stderr.txt")"
    expect_clean "$2" "$3"
}

xdo() { DISPLAY=$display xdotool "$@"; }

# The number of lines on the game's stderr telling that the display was lost.
lost_lines() { grep -c '^koravex: the connection to the display was lost$' "$scratch/stderr.txt"; }
