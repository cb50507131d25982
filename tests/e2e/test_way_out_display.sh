#!/usr/bin/env bash
# The ways out that meet the X server and SDL's own box: the server killed at moments spread
# over the start-up, splash and GL set-up included (exit code 1, the line once, never a crash,
# nothing left); with X core fonts, so that SDL's box shows, the game killed while that box is
# up (the box's process ends with it and holds no lock) and the server killed then (the line
# once). The fonts are Debian's xfonts-base, downloaded once into the build folder and unpacked
# there, never installed; without them those cases are skipped.
# shellcheck source=way_out_lib.sh
source "$(dirname "$0")/way_out_lib.sh"
ulimit -c 0 # a crash shows as exit code 139, without a core file

folder=$(game_folder start-up)
start_server
start "$folder"
begin=$(date +%s%N)
wait_window Koravex 1024x768+ || fail "start-up: no window"
took=$((($(date +%s%N) - begin) / 1000000))
quit_with TERM "start-up" "$folder"
stop_server
# From the first instant to past the main window's showing. A server gone before the game
# reached it is no display to the game: exit code 1 too, with that line instead.
echo "== X server killed at moments of a start-up that takes $took ms"
for step in $(seq 0 24); do
    delay=$(awk -v t="$took" -v k="$step" 'BEGIN { printf "%.3f", t * k / 20 / 1000 }')
    start_server
    start "$folder"
    sleep "$delay"
    kill -9 "$server"
    wait "$server" 2>/dev/null
    wait_exit
    lost=$(lost_lines)
    [[ $code -eq 1 ]] || fail "killed after $delay s: exit code $code: $(cat "$scratch/stderr.txt")"
    [[ $lost -eq 1 ]] || { [[ $lost -eq 0 ]] && grep -q '^koravex: no display' "$scratch/stderr.txt"; } ||
        fail "killed after $delay s: $lost lines of a lost display: $(cat "$scratch/stderr.txt")"
    expect_clean "killed after $delay s" "$folder"
done

# The misc fonts of xfonts-base, with the fonts.dir its installation would write, made here
# from each font's own name.
fonts="$build/e2e-cache/xfonts-base/usr/share/fonts/X11/misc"
if [[ ! -s "$fonts/fonts.dir" ]]; then
    mkdir -p "$build/e2e-cache"
    deb() { find "$build/e2e-cache" -maxdepth 1 -name 'xfonts-base_*.deb' | head -n 1; }
    [[ -n "$(deb)" ]] || (cd "$build/e2e-cache" && timeout 120 apt-get download xfonts-base >/dev/null 2>&1)
    if [[ -z "$(deb)" ]] || ! dpkg-deb -x "$(deb)" "$build/e2e-cache/xfonts-base"; then
        echo "SKIP: xfonts-base could not be downloaded: SDL's own box is not tested"
        exit $status
    fi
    for font in "$fonts"/*.pcf.gz; do
        echo "${font##*/} $(zcat "$font" | strings | grep -m 1 -E '^-([^-]*-){13}[^-]*$')"
    done | grep ' -' >"$scratch/fonts"
    { wc -l <"$scratch/fonts"; cat "$scratch/fonts"; } >"$fonts/fonts.dir"
fi

# A damaged archive beside the program: SDL's box, shown by the game's child, while Temp beside
# the program is the game's. `box` gets the child.
for moment in "game killed" "server killed"; do
    echo "== $moment while SDL's box is up"
    folder=$(game_folder "box-${moment// /-}")
    printf '\xff\xff\xff\xff' >"$folder/adatok.vbf"
    server_fonts=$fonts start_server
    start "$folder"
    box=""
    wait_window "VEngine internal error" && read -r box _ <"/proc/$pid/task/$pid/children"
    [[ -n "$box" ]] || { fail "$moment: no box of SDL's"; kill -9 "$pid"; continue; }
    if [[ $moment == "game killed" ]]; then
        kill -9 "$pid"
        wait "$pid" 2>/dev/null
        ended_within "$box" 1 || fail "the box's process lives on after the game was killed"
        xwininfo -display "$display" -root -tree | grep -qF '"VEngine internal error":' &&
            fail "the box is still on the screen after the game was killed"
        # The next game takes Temp beside the program: no process of the killed one holds it.
        cp "$build/adatok.vbf" "$folder/"
        start "$folder"
        wait_window Koravex 1024x768+ && sleep 1
        [[ -f "$folder/Temp/.koravex-workspace" && -z "$(ls -A "$scratch/runtime/koravex" 2>/dev/null)" ]] ||
            fail "after the killed box: the game could not take Temp beside the program"
        quit_with TERM "after the killed box" "$folder"
    else
        kill -9 "$server"
        wait "$server" 2>/dev/null
        wait_exit
        [[ $code -eq 1 && $(lost_lines) -eq 1 ]] ||
            fail "$moment with SDL's box: exit code $code, $(lost_lines) lines: $(cat "$scratch/stderr.txt")"
        expect_clean "$moment with SDL's box" "$folder"
    fi
    stop_server
done

exit $status
