#!/usr/bin/env bash
# Starts the real game beside each archive that bench/hostile_archives writes (hostile
# pictures, models at the store's limit, damaged chunk lengths, a bad board definition) and
# reports, per archive, the time until the main window or a failure box appears, the exit
# code, the processor time and the peak memory. Every box is answered with Return and the
# window closed with Esc; a run that ends before anything shows reports the time to its end.
# Usage: bench/hostile_start.sh <build dir> [archive name pattern]
set -u
build=$(cd "${1:?build directory}" && pwd)
pattern=${2:-*}
# shellcheck source=../scripts/xvfb_lib.sh
source "$(dirname "$0")/../scripts/xvfb_lib.sh"
in_xvfb 1920x1080 "$@"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/hostile_archives" "$build/adatok.vbf" "$work" >/dev/null || exit 1

now_ms() { date +%s%3N; }

# The window of the main program (as large as the screen) or of a box, once it is mapped.
shown() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Koravex$' 2>/dev/null); do
        xdotool getwindowgeometry "$id" | grep -q 'Geometry: 1920x1080' && { echo "window $id"; return; }
    done
    for caption in 'Application Error' 'VEngine internal error' 'Error'; do
        id=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1)
        [[ -n "$id" ]] && { echo "box $id"; return; }
    done
}

printf '%-20s %10s %8s %6s %8s  %s\n' archive shown_ms cpu_ms exit peak_MB first
for folder in "$work"/$pattern/; do
    name=$(basename "$folder")
    cp "$build/koravex" "$folder"
    start=$(now_ms)
    (cd "$folder" && exec /usr/bin/time -v -o time.txt ./koravex 2>stderr.txt) &
    pid=$!
    seen="" after=""
    while (($(now_ms) - start < 90000)); do
        kill -0 "$pid" 2>/dev/null || { after="ended $(($(now_ms) - start))"; break; }
        seen=$(shown)
        [[ -n "$seen" ]] && { after=$(($(now_ms) - start)); break; }
        sleep 0.02
    done
    # Answer every box, then close the window.
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        current=$(shown)
        case "$current" in
        window*) xdotool windowfocus "${current#window }" 2>/dev/null; xdotool key Escape ;;
        box*) xdotool windowfocus "${current#box }" 2>/dev/null; xdotool key Return ;;
        esac
        sleep 0.2
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid"
    code=$(awk -F': ' '/Exit status/ { print $2 }' "$folder/time.txt")
    peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$folder/time.txt")
    cpu=$(awk -F': ' '/(User|System) time/ { t += $2 } END { printf "%.0f", t * 1000 }' "$folder/time.txt")
    printf '%-20s %10s %8s %6s %8s  %s\n' "$name" "${after:-never}" "${cpu:-?}" "${code:-?}" "${peak:-?}" \
        "${seen%% *}: $(head -c 100 "$folder/stderr.txt" | tr '\n' ' ')"
done
