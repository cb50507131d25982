#!/usr/bin/env bash
# Every way out of the real program leaves nothing behind and touches nothing of the user's:
# SIGHUP, SIGTERM and SIGINT during play, with the left button held on the panel or the help
# page, and at moments of loading (exit code 0, as a close, within a second during play); a
# signal ignored from the start stays ignored; the X server killed during play and while a box
# is up (exit code 1, a line on stderr, no core), games killed with SIGKILL followed by a clean
# run, a user's own Temp beside the program, a user's own ~/koravex, and a folder whose name
# holds escape sequences. Each run gets its own Xvfb server and its own folders for the
# program, the runtime and the cache (way_out_lib.sh).
# shellcheck source=way_out_lib.sh
source "$(dirname "$0")/way_out_lib.sh"

start_server

# SIGHUP (a closed terminal) and the other signals during play: the game ends as if closed.
folder=$(game_folder play)
for signal in HUP TERM INT; do
    echo "== SIG$signal during play"
    start "$folder"
    wait_window Koravex 1024x768+ || fail "SIG$signal: no window"
    sleep 1
    [[ -f "$folder/Temp/.koravex-workspace" ]] || fail "SIG$signal: no Temp of the game's"
    quit_with "$signal" "SIG$signal during play" "$folder"
done

# Started with SIGHUP ignored (by nohup) or SIGINT (a background job of a script), the game
# leaves it ignored; SIGTERM still ends it.
for signal in HUP INT; do
    echo "== SIG$signal ignored from the start"
    start "$folder" --ignore-signal="$signal"
    wait_window Koravex 1024x768+ && sleep 0.5 && kill -"$signal" "$pid"
    ended_within "$pid" 1 && fail "SIG$signal, ignored from the start, ended the game"
    quit_with TERM "SIG$signal ignored, then SIGTERM" "$folder"
done

# The left button held on Help, player 1's seat or New game of the panel (opened by its tab),
# or on the help page: the game does not wait for it to be let go. Screen points: the game's
# 1024 x 768 virtual screen upside down.
for target in "Help:924:588" "a seat:879:240" "New game:924:68" "the help page:300:300"; do
    IFS=: read -r name x y <<<"$target"
    echo "== SIGTERM with the button held on $name"
    start "$folder"
    wait_window Koravex 1024x768+ && sleep 1
    xdo mousemove 1000 28 sleep 0.5
    [[ $name == "the help page" ]] && xdo mousemove 924 588 mousedown 1 sleep 0.3 mouseup 1 sleep 0.5
    xdo mousemove "$x" "$y" sleep 0.3 mousedown 1 sleep 0.3
    quit_with TERM "held on $name" "$folder"
    xdo mouseup 1
done

# Signals at moments of loading, from the first instant to the first frame. A signal that
# comes before the program runs its own code ends it at once (143), before it has made anything.
echo "== signals during loading"
for delay in 0 0.02 0.05 0.1 0.2 0.3 0.5 0.8; do
    start "$folder"
    sleep "$delay"
    kill -TERM "$pid"
    wait_exit
    [[ $code -eq 0 || $code -eq 143 ]] ||
        fail "SIGTERM after ${delay} s: exit code $code: $(cat "$scratch/stderr.txt")"
    expect_clean "SIGTERM after ${delay} s" "$folder"
done

# Games killed outright leave their private folders; each start removes those of the games
# before it.
echo "== kill -9, then a clean run"
installed=$(game_folder installed/bin --no-archive)
mkdir -p "$scratch/installed/share/koravex"
cp "$build/adatok.vbf" "$scratch/installed/share/koravex/"
for _ in 1 2 3; do
    start "$installed"
    wait_window Koravex 1024x768+ || fail "kill -9: no window"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
done
[[ $(find "$scratch/runtime/koravex" -mindepth 1 -maxdepth 1 -name "Temp-*" | wc -l) -eq 1 ]] ||
    fail "not only the last killed game's folder is left: $(ls -A "$scratch/runtime/koravex")"
start "$installed"
wait_window Koravex 1024x768+ || fail "clean run: no window"
sleep 1
[[ ! -e "$installed/Temp" ]] || fail "an installed game works beside its program"
[[ $(find "$scratch/runtime/koravex" -mindepth 1 -maxdepth 1 -name "Temp-*" | wc -l) -eq 1 ]] ||
    fail "stale folders stay beside the running game: $(ls -A "$scratch/runtime/koravex")"
kill -TERM "$pid"
wait_exit
[[ $code -eq 0 ]] || fail "clean run: exit code $code"
expect_clean "clean run" "$installed"
[[ -z "$(ls -A "$installed")" || "$(ls -A "$installed")" == "koravex" ]] ||
    fail "the installed program's folder holds $(ls -A "$installed")"

# A portable game works beside its program, yet clears what a killed installed game left,
# the koravex folder that game made too.
echo "== kill -9, then a portable game"
start "$installed"
wait_window Koravex 1024x768+ || fail "kill -9 before a portable game: no window"
kill -9 "$pid"
wait "$pid" 2>/dev/null
[[ -f "$scratch/runtime/koravex/.koravex-workspace" ]] || fail "the koravex folder made is unmarked"
run_and_close "portable game after kill -9" "$folder"
expect_clean "portable game after kill -9" "$folder"

# The cache folder set to the home folder and no runtime folder: ~/koravex holds the workspace
# but may be the user's. A Temp-2019 of theirs there, then the folder left empty, stay as they
# were, byte for byte.
echo "== the user's own ~/koravex"
home="$scratch/user-home"
mkdir -p "$home/koravex/Temp-2019"
head -c 100000 /dev/urandom >"$home/koravex/Temp-2019/photo.jpg"
users_koravex() (
    cd "$home" && find koravex -printf '%p %y %m %u\n' 2>&1 | sort &&
        find koravex -type f -exec md5sum {} + 2>&1
)
for run in "with a Temp-2019" empty; do
    before=$(users_koravex)
    env -u XDG_RUNTIME_DIR DISPLAY="$display" HOME="$home" XDG_CACHE_HOME="$home" \
        "$installed/koravex" 2>"$scratch/stderr.txt" &
    pid=$!
    wait_window Koravex 1024x768+ || fail "the user's koravex, $run: no window"
    sleep 1
    [[ -n "$(find "$home/koravex" -mindepth 2 -name .koravex-workspace)" ]] ||
        fail "the user's koravex, $run: no workspace there"
    kill -TERM "$pid"
    wait_exit
    [[ $code -eq 0 ]] || fail "the user's koravex, $run: exit code $code: $(cat "$scratch/stderr.txt")"
    [[ "$(users_koravex)" == "$before" ]] ||
        fail "the user's koravex, $run, changed: $(ls -AR "$home/koravex" 2>&1)"
    rm -rf "$home/koravex"
    mkdir "$home/koravex"
done

# A user's own Temp beside the program: played with, closed, nothing in it changes.
echo "== a user's Temp beside the program"
folder=$(game_folder users-temp)
mkdir "$folder/Temp"
chmod 755 "$folder/Temp"
echo "years of work" >"$folder/Temp/thesis.odt"
echo "my notes" >"$folder/Temp/notes.txt"
ln -s notes.txt "$folder/Temp/link"
before=$(cd "$folder/Temp" && ls -lA --time-style=+ && cat thesis.odt notes.txt)
run_and_close "user's Temp" "$folder"
[[ "$(cd "$folder/Temp" && ls -lA --time-style=+ && cat thesis.odt notes.txt)" == "$before" ]] ||
    fail "the user's Temp changed: $(ls -lA "$folder/Temp")"
rm -rf "$folder/Temp"
expect_clean "user's Temp" "$folder"

# A folder named with escape sequences: every message shows them escaped. Temp beside the
# program is a file and the cache folder's place is too, so the message quotes the path.
echo "== a hostile folder name"
folder=$(game_folder "$(printf 'x\033[7m\033]0;owned\007y')")
echo "in the way" >"$folder/Temp"
echo "in the way" >"$folder/cache"
env -u XDG_RUNTIME_DIR DISPLAY="$display" XDG_CACHE_HOME="$folder/cache" "$folder/koravex" 2>"$scratch/stderr.txt" &
pid=$!
wait_window "Application Error" || fail "hostile name: no box"
kill -TERM "$pid"
wait_exit
[[ $code -eq 1 ]] || fail "hostile name: exit code $code"
grep -qF 'x\x1b[7m\x1b]0;owned\x07y/cache/koravex' "$scratch/stderr.txt" ||
    fail "the path is not shown escaped: $(cat -v "$scratch/stderr.txt")"
# (Mesa's own lines about its shader cache are Mesa's.)
grep '^koravex:' "$scratch/stderr.txt" | grep -q $'\033\|\007' &&
    fail "raw control bytes in our messages: $(cat -v "$scratch/stderr.txt")"

# The display lost during play and while a box is up: the workspace goes, exit code 1 with a
# line on stderr, and no abort.
for moment in play box; do
    echo "== X server killed during $moment"
    if [[ $moment == play ]]; then
        folder=$(game_folder lost-play)
        start "$folder"
        wait_window Koravex 1024x768+ || fail "lost display: no window"
        sleep 1
    else
        folder=$(game_folder lost-box --no-archive)
        start "$folder"
        wait_window "VEngine internal error" || fail "lost display: no box"
    fi
    kill -9 "$server"
    wait "$server" 2>/dev/null
    wait_exit
    [[ $code -eq 1 ]] || fail "lost display during $moment: exit code $code: $(cat "$scratch/stderr.txt")"
    grep -q '^koravex: the connection to the display was lost$' "$scratch/stderr.txt" ||
        fail "lost display during $moment: no line on stderr: $(cat "$scratch/stderr.txt")"
    expect_clean "lost display during $moment" "$folder"
    start_server
done
stop_server

exit $status
