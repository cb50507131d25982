#!/usr/bin/env bash
# The real program at several screen sizes: window geometry, no border, Esc, exit code.
set -u
build=${1:?build directory}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/xvfb_lib.sh
source "$here/../../scripts/xvfb_lib.sh"
mkdir -p "$build/e2e-shots"
status=0
for size in 1920x1080:1920x1080 1024x768:1024x768 800x399:640x480; do
    screen=${size%%:*} want=${size##*:}
    echo "== screen $screen, expecting a ${want} window"
    if ! xvfb_run "$screen" bash "$here/window_check.sh" "$build/koravex" "${want%x*}" "${want#*x}" \
        "$build/e2e-shots/window-$screen.png"; then
        status=1
    fi
done
exit $status
