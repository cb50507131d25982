#!/usr/bin/env bash
# The real program on an X server without GL: the pixel-format box, exit code 1, and no
# Temp folder, since the scene set-up never ran.
set -u
build=$(cd "${1:?build directory}" && pwd)
# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "$0")/../../scripts/xvfb_lib.sh"
xvfb_options=(-fp built-ins -extension GLX)
in_xvfb 1024x768 "$build"
mkdir -p "$build/e2e-shots"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/koravex" "$build/adatok.vbf" "$folder/"
(cd "$folder" && exec ./koravex 2>stderr.txt) &
pid=$!

box=""
for _ in $(seq 1 300); do
    box=$(xwininfo -root -tree 2>/dev/null | grep -F '"Error":' | awk '{print $1}' | head -n 1)
    [[ -n "$box" ]] && break
    sleep 0.1
done
[[ -n "$box" ]] || { echo "no box captioned 'Error'"; kill -9 "$pid"; exit 1; }
sleep 0.2
xwd -root -silent | convert xwd:- "$build/e2e-shots/no-gl.png"
xdotool windowfocus "$box" 2>/dev/null
xdotool key Return

for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$pid" 2>/dev/null; then
    echo "still running after the box was closed"
    kill -9 "$pid"
    exit 1
fi
wait "$pid"
code=$?
status=0
[[ $code -eq 1 ]] || { echo "exit code $code, not 1"; status=1; }
lines=$(grep '^koravex: ' "$folder/stderr.txt")
[[ "$lines" == "koravex: Error: Cant't Find A Suitable PixelFormat." ]] ||
    { echo "boxes on stderr: $lines"; status=1; }
[[ ! -e "$folder/Temp" ]] || { echo "a Temp folder was made"; status=1; }
[[ $status -eq 0 ]] && echo "pixel-format box shown, exit code 1, no Temp"
exit $status
