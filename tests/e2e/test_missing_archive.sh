#!/usr/bin/env bash
# The real program with a missing or broken archive beside it: the archive's own box first
# (when it has one), then "Application Error", exit code 1, and the main window never shown.
# Each case runs in its own Xvfb server from a folder holding a copy of the program.
set -u
build=${1:?build directory}
# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "$0")/../../scripts/xvfb_lib.sh"
xvfb_options=(-fp built-ins)
in_xvfb 1024x768 "$build"
mkdir -p "$build/e2e-shots"

shots="$build/e2e-shots"
archiver="$build/tools/archive/koravex-archive"
status=0

# The id of the top-level window with this exact name, waiting for it to appear.
find_window() {
    local id
    for _ in $(seq 1 300); do
        id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}' | head -n 1)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# True when a window named Koravex as large as the screen is mapped (the splash is smaller).
main_window_shown() {
    local id
    for id in $(xwininfo -root -tree | grep -F '"Koravex":' | grep -F '1024x768+' | awk '{print $1}'); do
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}

# run_case NAME FOLDER "caption: text"...: the boxes the program must show, in order.
run_case() {
    local name=$1 folder=$2 ok=1 k=0 box pid code
    shift 2
    echo "== $name"
    (cd "$folder" && exec ./koravex 2>stderr.txt) &
    pid=$!
    for expected in "$@"; do
        k=$((k + 1))
        if ! box=$(find_window "${expected%%: *}"); then
            echo "no box captioned '${expected%%: *}'"
            ok=0
            break
        fi
        sleep 0.2
        xwd -root -silent | convert xwd:- "$shots/$name-$k.png"
        main_window_shown && { echo "the main window is shown"; ok=0; }
        xdotool windowfocus "$box" 2>/dev/null
        xdotool key Return
        # The next box may reuse the window: wait until this one has gone.
        for _ in $(seq 1 100); do
            xwininfo -root -tree | grep -qF "\"${expected%%: *}\":" || break
            sleep 0.05
        done
    done
    for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "still running"
        pkill -P "$pid"
        kill -9 "$pid"
        ok=0
    fi
    wait "$pid"
    code=$?
    [[ $code -eq 1 ]] || { echo "exit code $code, not 1"; ok=0; }
    local want got
    want=$(printf 'koravex: %s\n' "$@")
    got=$(grep '^koravex: ' "$folder/stderr.txt")
    if [[ "$got" != "$want" ]]; then
        printf 'boxes on stderr:\n%s\nexpected:\n%s\n' "$got" "$want"
        ok=0
    fi
    [[ $ok -eq 1 ]] || status=1
}

# A folder with a copy of the program and nothing else.
fresh_folder() {
    local folder
    folder=$(mktemp -d)
    cp "$build/koravex" "$folder/"
    echo "$folder"
}

# Only the program, its archive and our own files may remain: a failed run removes Temp too.
check_left_behind() {
    local folder=$1 extra
    shift
    extra=$(find "$folder" -mindepth 1 -maxdepth 1 -printf '%f\n' | grep -vxF -e koravex -e adatok.vbf -e stderr.txt "${@/#/-e}")
    [[ -z "$extra" ]] || { echo "left behind: $extra"; status=1; }
}

folder=$(fresh_folder)
missing="Bigfile(adatok.vbf) is missing or blocked by another application!"
run_case missing-archive "$folder" \
    "VEngine internal error: $missing" "Application Error: Input/output failure: $missing"
check_left_behind "$folder"
rm -rf "$folder"

folder=$(fresh_folder)
printf '\xff\xff\xff\xff' >"$folder/adatok.vbf"
damaged="Bigfile(adatok.vbf) is damaged!"
run_case damaged-archive "$folder" \
    "VEngine internal error: $damaged" "Application Error: Input/output failure: $damaged"
check_left_behind "$folder"
rm -rf "$folder"

folder=$(fresh_folder)
printf '(1,1)(1,2)(2,2)(2,1)\n(1,1)(1,7)(2,2)(2,1)\n' >"$folder/negyzetek.dat"
"$archiver" pack "$folder/adatok.vbf" "$folder/negyzetek.dat"
rm "$folder/negyzetek.dat"
run_case board-off-the-grid "$folder" \
    "Application Error: Conversion failure: '7' is not a valid board coordinate"
check_left_behind "$folder"
rm -rf "$folder"

# No workspace to be had: Temp beside the program is a file, not ours to replace, and the
# private folder's place is a file too. The game stops naming the path, and touches neither.
folder=$(fresh_folder)
cp "$build/adatok.vbf" "$folder/"
echo "in the way" >"$folder/Temp"
echo "in the way" >"$folder/cache"
saved_runtime=${XDG_RUNTIME_DIR-}
unset XDG_RUNTIME_DIR
export XDG_CACHE_HOME="$folder/cache"
run_case no-workspace "$folder" \
    "Application Error: Input/output failure: Cannot create folder $folder/cache/koravex"
unset XDG_CACHE_HOME
[[ -n "$saved_runtime" ]] && export XDG_RUNTIME_DIR="$saved_runtime"
for file in Temp cache; do
    [[ "$(cat "$folder/$file")" == "in the way" ]] || { echo "the file $file was changed"; status=1; }
done
check_left_behind "$folder" Temp cache
rm -rf "$folder"

exit $status
