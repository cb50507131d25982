#!/usr/bin/env bash
# Inside one Xvfb server: the window covers the screen at (0, 0) without a border,
# and Esc ends the program with exit code 0. Arguments: program, expected width, height, shot.
set -u
program=$1 want_w=$2 want_h=$3 shot=$4

"$program" 2>/tmp/koravex-e2e-stderr.$$ &
pid=$!
win=""
for _ in $(seq 1 200); do
    win=$(xdotool search --onlyvisible --name '^Koravex$' 2>/dev/null | tail -n 1)
    if [[ -n "$win" ]]; then
        geometry=$(xdotool getwindowgeometry "$win")
        [[ "$geometry" == *"Geometry: ${want_w}x${want_h}"* ]] && break
    fi
    sleep 0.05
done
[[ -n "$win" ]] || { echo "no main window appeared"; kill "$pid"; exit 1; }
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry"
[[ "$geometry" == *"Position: 0,0"* ]] || { echo "window not at (0, 0)"; kill "$pid"; exit 1; }
[[ "$geometry" == *"Geometry: ${want_w}x${want_h}"* ]] || { echo "window not ${want_w}x${want_h}"; kill "$pid"; exit 1; }
# No frame: the window's outer extent equals its client area.
frame=$(xwininfo -id "$win" | grep -E 'Border width' | awk '{print $3}')
[[ "$frame" == "0" ]] || { echo "window has a border of $frame"; kill "$pid"; exit 1; }
sleep 0.3
xwd -root -silent | convert xwd:- "$shot"
xdotool windowfocus "$win" 2>/dev/null
xdotool key Escape
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$pid" 2>/dev/null; then echo "still running after Esc"; kill -9 "$pid"; exit 1; fi
wait "$pid"
code=$?
echo "exit code $code"
cat /tmp/koravex-e2e-stderr.$$; rm -f /tmp/koravex-e2e-stderr.$$
[[ $code -eq 0 ]]
