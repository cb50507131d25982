#!/usr/bin/env bash
# The game installed in a read-only prefix and played by an ordinary user: its workspace is a
# private folder that goes at exit, and nothing is left anywhere. Also two games at once, and
# a Temp beside the program that is not the player's: the game runs and leaves it untouched.
set -u
build=${1:?build directory}
# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "$0")/../../scripts/xvfb_lib.sh"
# -ac: the player's account can't read our X authority file.
xvfb_options=(-ac)
in_xvfb 1024x768 "$build"
mkdir -p "$build/e2e-shots"

shots="$build/e2e-shots"
status=0
scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT

# The player: an ordinary account when we are the superuser, else ourselves.
if [[ $EUID -eq 0 ]]; then
    player=nobody
    as_player() { setpriv --reuid="$player" --regid="$(id -g "$player")" --clear-groups "$@"; }
else
    player=$(id -un)
    as_player() { "$@"; }
fi

# The install layout the build was configured for.
cache_value() {
    local value
    value=$(grep -E "^$1:[A-Z]+=" "$build/CMakeCache.txt" | head -n 1 | cut -d= -f2-)
    echo "${value:-$2}"
}
bindir=$(cache_value CMAKE_INSTALL_BINDIR bin)
datadir=$(cache_value CMAKE_INSTALL_DATADIR share)

fail() {
    echo "FAIL: $*"
    status=1
}

# A folder of the player's, closed to everyone else.
player_folder() {
    local folder
    folder=$(mktemp -d -p "$scratch")
    chown "$player" "$folder"
    chmod 700 "$folder"
    echo "$folder"
}

# Everything below a folder, with modes and owners, to compare before and after.
listing() {
    (cd "$1" && find . -printf '%p %y %m %u %s\n' | sort)
}

# start_game LOG PROGRAM [VAR=VALUE...]: the program as the player with only these variables;
# the process id goes to `pid`.
start_game() {
    local log=$1 program=$2
    shift 2
    # A sanitized build keeps its sanitizer settings (scripts/test.sh --sanitize).
    local keep=() var
    for var in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
        [[ -n "${!var:-}" ]] && keep+=("$var=${!var}")
    done
    as_player env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" "${keep[@]}" "$@" "$program" 2>"$log" &
    pid=$!
}

# The mapped main windows (the splash is smaller than the screen).
main_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Koravex$' 2>/dev/null); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 1024x768' && echo "$id"
    done
}

# Waits until at least N main windows are mapped.
wait_windows() {
    for _ in $(seq 1 300); do
        [[ $(main_windows | wc -l) -ge $1 ]] && return 0
        sleep 0.1
    done
    return 1
}

# A shot of the screen once the game has drawn its scene there (the screen is black before).
shot() {
    local file="$shots/installed-$1.png"
    for _ in $(seq 1 50); do
        xwd -root -silent | convert xwd:- "$file"
        [[ $(convert "$file" -format '%[fx:mean>0.05]' info:) == 1 ]] && return 0
        sleep 0.2
    done
    fail "$1: the scene was never drawn"
}

press_escape() {
    xdotool windowfocus "$1" 2>/dev/null
    xdotool key Escape
}

# Waits for a game to end; its exit code goes to `code`, 99 when it had to be killed.
wait_exit() {
    for _ in $(seq 1 200); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$1" 2>/dev/null; then
        kill -9 "$1"
        wait "$1"
        code=99
        return
    fi
    wait "$1"
    code=$?
}

# play NAME LOG PROGRAM [VAR=VALUE...]: one game up to its window, a shot, then Esc. While it
# runs, `during` (a command) is called; exit code 0 expected.
play() {
    local name=$1 log=$2 program=$3
    shift 3
    start_game "$log" "$program" "$@"
    if ! wait_windows 1; then
        fail "$name: no main window appeared"
        cat "$log"
        kill -9 "$pid" 2>/dev/null
        wait "$pid"
        return
    fi
    shot "$name"
    "$during"
    press_escape "$(main_windows | head -n 1)"
    wait_exit "$pid"
    [[ $code -eq 0 ]] || { fail "$name: exit code $code"; cat "$log"; }
}

# The private workspace of a running game in ROOT: one folder, the player's, mode 700.
expect_private_in() {
    local root=$1 count=${2:-1} folder
    [[ $(find "$root" -mindepth 1 -maxdepth 1 -name 'Temp-*' 2>/dev/null | wc -l) -eq $count ]] ||
        { fail "not $count private folders in $root: $(ls -la "$root" 2>&1)"; return; }
    for folder in "$root"/Temp-*; do
        [[ "$(stat -c '%a %U' "$folder")" == "700 $player" ]] ||
            fail "$folder is $(stat -c '%a %U' "$folder")"
    done
    [[ "$(stat -c '%a %U' "$root")" == "700 $player" ]] || fail "$root is $(stat -c '%a %U' "$root")"
}

expect_empty() {
    local left
    left=$(find "$1" -mindepth 1 2>/dev/null)
    [[ -z "$left" ]] || fail "left behind in $1: $left"
}

# The installed game: owned by the superuser (when we are it) and read-only throughout.
prefix="$scratch/prefix"
mkdir -p "$prefix/$bindir" "$prefix/$datadir/koravex"
cp "$build/koravex" "$prefix/$bindir/koravex"
cp "$build/adatok.vbf" "$prefix/$datadir/koravex/adatok.vbf"
chmod -R a+rX,a-w "$prefix"
program="$prefix/$bindir/koravex"
installed=$(listing "$prefix")

echo "== installed, private folder in XDG_RUNTIME_DIR"
runtime=$(player_folder)
check_runtime() { expect_private_in "$runtime/koravex"; }
during=check_runtime
play runtime "$scratch/runtime.log" "$program" XDG_RUNTIME_DIR="$runtime" HOME=/nonexistent
expect_empty "$runtime"
[[ "$(listing "$prefix")" == "$installed" ]] || fail "the prefix changed"

echo "== installed, no XDG_RUNTIME_DIR: private folder in the cache folder"
home=$(player_folder)
check_cache() { expect_private_in "$home/.cache/koravex"; }
during=check_cache
play cache "$scratch/cache.log" "$program" HOME="$home"
expect_empty "$home"
[[ "$(listing "$prefix")" == "$installed" ]] || fail "the prefix changed"

echo "== installed into a prefix of the player's own (~/.local): nothing beside the program"
own=$(player_folder)
mkdir -p "$own/$bindir" "$own/$datadir/koravex"
cp "$build/koravex" "$own/$bindir/koravex"
cp "$build/adatok.vbf" "$own/$datadir/koravex/adatok.vbf"
chown -R "$player" "$own"
runtime=$(player_folder)
check_own() {
    [[ ! -e "$own/$bindir/Temp" ]] || fail "a Temp in the prefix's $bindir"
    expect_private_in "$runtime/koravex"
}
during=check_own
play own-prefix "$scratch/own.log" "$own/$bindir/koravex" XDG_RUNTIME_DIR="$runtime" HOME=/nonexistent
expect_empty "$runtime"
[[ "$(ls -A "$own/$bindir")" == "koravex" ]] || fail "left in $bindir: $(ls -A "$own/$bindir")"

# two_games NAME PROGRAM [VAR=VALUE...]: both windows appear, both games end on Esc with 0.
two_games() {
    local name=$1 program=$2 first second
    shift 2
    start_game "$scratch/$name-1.log" "$program" "$@"
    first=$pid
    start_game "$scratch/$name-2.log" "$program" "$@"
    second=$pid
    if ! wait_windows 2; then
        fail "$name: not two main windows"
        cat "$scratch/$name-1.log" "$scratch/$name-2.log"
    fi
    shot "$name"
    "$during"
    for window in $(main_windows); do
        press_escape "$window"
        sleep 0.5
    done
    for pid in $first $second; do
        wait_exit "$pid"
        [[ $code -eq 0 ]] || fail "$name: a game ended with exit code $code"
    done
}

echo "== two games at once from the installed prefix"
runtime=$(player_folder)
check_two() { expect_private_in "$runtime/koravex" 2; }
during=check_two
two_games installed-two "$program" XDG_RUNTIME_DIR="$runtime" HOME=/nonexistent
expect_empty "$runtime"
[[ "$(listing "$prefix")" == "$installed" ]] || fail "the prefix changed"

# A folder of the player's holding the program and its archive, as an unpacked game.
unpacked_folder() {
    local folder
    folder=$(player_folder)
    cp "$build/koravex" "$build/adatok.vbf" "$folder/"
    chown "$player" "$folder/koravex" "$folder/adatok.vbf"
    echo "$folder"
}

echo "== two games at once from a folder the player may write to"
folder=$(unpacked_folder)
runtime=$(player_folder)
# One game works in Temp beside the program, the other in a private folder.
check_shared() {
    [[ -d "$folder/Temp" ]] || fail "no Temp beside the program"
    expect_private_in "$runtime/koravex"
}
during=check_shared
two_games folder-two "$folder/koravex" XDG_RUNTIME_DIR="$runtime" HOME=/nonexistent
expect_empty "$runtime"
[[ "$(find "$folder" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | tr '\n' ' ')" == \
    "adatok.vbf koravex " ]] ||
    fail "left beside the program: $(ls -A "$folder")"

# hostile NAME MAKE: a Temp made by MAKE beside the program (in a folder the player may write
# to) is not the player's; the game runs in a private folder and Temp stays exactly as it was.
hostile() {
    local name=$1 make=$2 before
    echo "== Temp beside the program: $name"
    folder=$(unpacked_folder)
    runtime=$(player_folder)
    "$make" "$folder/Temp"
    before=$(listing "$folder"; find "$folder/Temp/" -type f -exec md5sum {} + 2>/dev/null)
    during=check_runtime
    play "hostile-$name" "$scratch/hostile-$name.log" "$folder/koravex" \
        XDG_RUNTIME_DIR="$runtime" HOME=/nonexistent
    expect_empty "$runtime"
    [[ "$(listing "$folder"; find "$folder/Temp/" -type f -exec md5sum {} + 2>/dev/null)" == "$before" ]] ||
        fail "$name: the Temp beside the program changed"
}

open_to_all() {
    mkdir "$1"
    echo "someone else's" >"$1/theirs.txt"
    chmod 777 "$1"
    chmod 666 "$1/theirs.txt"
}
sticky_shared() {
    mkdir "$1"
    echo "someone else's" >"$1/theirs.txt"
    chmod 1777 "$1"
}
file_in_the_way() { echo "in the way" >"$1"; }
link_elsewhere() {
    mkdir "$scratch/elsewhere"
    echo "someone else's" >"$scratch/elsewhere/theirs.txt"
    chmod 777 "$scratch/elsewhere"
    ln -s "$scratch/elsewhere" "$1"
}
hostile open-to-all open_to_all
hostile file-in-the-way file_in_the_way
hostile link link_elsewhere
[[ "$(cat "$scratch/elsewhere/theirs.txt")" == "someone else's" ]] || fail "the linked folder changed"
if [[ $EUID -eq 0 ]]; then
    hostile sticky-shared sticky_shared
    # The superuser's own folder, closed to the player: not the player's to use.
    owned_by_another() {
        mkdir "$1"
        echo "someone else's" >"$1/theirs.txt"
        chmod 755 "$1"
    }
    hostile another-users owned_by_another
fi

exit $status
