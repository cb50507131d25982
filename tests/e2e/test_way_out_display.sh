#!/usr/bin/env bash
# The ways out that meet the X server and SDL's own box: the server killed at moments of
# start-up, through the splash and the GL set-up (exit code 1, the line once, never a crash,
# nothing left); and, with X core fonts so that SDL's box shows, the game killed while that
# box is up (the box's process ends with it, and no lock outlives it) and the server killed
# while it is up (the line once). The fonts come from Debian's package, downloaded once into
# the build folder and unpacked there, never installed; without them those cases are skipped.
set -u
build=$(cd "${1:?build directory}" && pwd)
scratch=$(mktemp -d "$build/way-out-display.XXXXXX")
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=way_out_lib.sh
source "$here/way_out_lib.sh"
# A crash would show as exit code 139; no core file is wanted beside it.
ulimit -c 0

# How long the start-up takes here, to the main window shown: the moments below spread over it.
folder=$(game_folder start-up)
start_server
start "$folder"
begin=$(date +%s%N)
wait_window Koravex 1024x768+ || fail "start-up: no window"
took=$((($(date +%s%N) - begin) / 1000000))
kill -TERM "$pid"
wait_exit
stop_server
echo "== X server killed at moments of a start-up that takes $took ms"

# The X server gone after `delay` seconds: either the game had reached it and tells it lost it,
# or it had not yet and finds no display; exit code 1 either way.
for step in $(seq 0 24); do
    delay=$(awk -v t="$took" -v k="$step" 'BEGIN { printf "%.3f", t * k / 20 / 1000 }')
    start_server
    start "$folder"
    sleep "$delay"
    kill -9 "$server"
    wait "$server" 2>/dev/null
    wait_exit
    lost=$(lost_lines)
    [[ $code -eq 1 ]] || fail "server killed after $delay s: exit code $code: $(cat "$scratch/stderr.txt")"
    [[ $lost -eq 1 ]] || { [[ $lost -eq 0 ]] && grep -q '^koravex: no display' "$scratch/stderr.txt"; } ||
        fail "server killed after $delay s: $lost lines of a lost display: $(cat "$scratch/stderr.txt")"
    expect_clean "server killed after $delay s" "$folder"
done

# X core fonts: the misc folder of xfonts-base, with the fonts.dir its installation would write,
# made here from each font's own name. Echoes the folder; fails when the package can't be had.
core_fonts() {
    local cache="$build/e2e-cache" deb dir
    mkdir -p "$cache"
    deb=$(find "$cache" -maxdepth 1 -name 'xfonts-base_*.deb' | head -n 1)
    if [[ -z "$deb" ]]; then
        (cd "$cache" && timeout 120 apt-get download xfonts-base >/dev/null 2>&1)
        deb=$(find "$cache" -maxdepth 1 -name 'xfonts-base_*.deb' | head -n 1)
    fi
    [[ -n "$deb" ]] || return 1
    dir="$cache/xfonts-base/usr/share/fonts/X11/misc"
    if [[ ! -s "$dir/fonts.dir" ]]; then
        rm -rf "$cache/xfonts-base"
        dpkg-deb -x "$deb" "$cache/xfonts-base" || return 1
        (cd "$dir" && for font in *.pcf.gz; do
            name=$(zcat "$font" | strings | grep -m 1 -E '^-([^-]*-){13}[^-]*$')
            [[ -n "$name" ]] && echo "$font $name"
        done) >"$scratch/fonts"
        { wc -l <"$scratch/fonts"; cat "$scratch/fonts"; } >"$dir/fonts.dir"
    fi
    echo "$dir"
}

if ! fonts=$(core_fonts); then
    echo "SKIP: no X core fonts (xfonts-base could not be downloaded): SDL's own box not tested"
    exit $status
fi

# The game's child showing SDL's box for a damaged archive, while Temp beside it is the game's.
# Sets `box` to the child's process.
start_with_box() {
    start_server "$fonts"
    printf '\xff\xff\xff\xff' >"$1/adatok.vbf"
    start "$1"
    box=""
    wait_window "VEngine internal error" && read -r box _ <"/proc/$pid/task/$pid/children"
    [[ -n "$box" ]] && return 0
    fail "$2: no box of SDL's own, shown by a process of its own"
    kill -9 "$pid"
    return 1
}

echo "== the game killed while SDL's box is up"
folder=$(game_folder killed-box)
if start_with_box "$folder" "killed with SDL's box"; then
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    ended_within "$box" 1 || fail "the box's process lives on after the game was killed"
    DISPLAY=$display xwininfo -root -tree | grep -qF '"VEngine internal error":' &&
        fail "the box is still on the screen after the game was killed"
    # The next game takes Temp beside the program, which no process of the killed one holds.
    cp "$build/adatok.vbf" "$folder/"
    start "$folder"
    wait_window Koravex 1024x768+ || fail "after the killed box: no window"
    sleep 1
    [[ -f "$folder/Temp/.koravex-workspace" && -z "$(ls -A "$scratch/runtime/koravex" 2>/dev/null)" ]] ||
        fail "after the killed box: the game could not take Temp beside the program"
    kill -TERM "$pid"
    wait_exit
    [[ $code -eq 0 ]] || fail "after the killed box: exit code $code"
    expect_clean "after the killed box" "$folder"
fi
stop_server

echo "== X server killed while SDL's box is up"
folder=$(game_folder lost-box)
if start_with_box "$folder" "lost display with SDL's box"; then
    kill -9 "$server"
    wait "$server" 2>/dev/null
    wait_exit
    [[ $code -eq 1 ]] || fail "lost display with SDL's box: exit code $code"
    [[ $(lost_lines) -eq 1 ]] ||
        fail "lost display with SDL's box: $(lost_lines) lines of it: $(cat "$scratch/stderr.txt")"
    expect_clean "lost display with SDL's box" "$folder"
fi
stop_server

exit $status
