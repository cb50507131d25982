#!/usr/bin/env bash
# The box the game draws itself, on an X server with only its built-in fonts (where SDL's own
# box cannot show): it appears centred with its caption as title and drawn text, and Enter,
# Esc, keypad Enter, a click on OK and the window manager's close each dismiss it; a click
# beside OK does not; a GL context current before the box is current after it. Screenshots of
# the box go to build/e2e-shots/box-*.png.
set -u
build=$(cd "${1:?build directory}" && pwd)
# shellcheck source=../../scripts/xvfb_lib.sh
source "$(dirname "$0")/../../scripts/xvfb_lib.sh"
xvfb_options=(-fp built-ins)
in_xvfb 1024x768 "$build"
mkdir -p "$build/e2e-shots"

shots="$build/e2e-shots"
show="$build/tests/koravex-test-box"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
text="Input/output failure: Bigfile(adatok.vbf) is missing or blocked by another application!"

# The id of the viewable window with this exact name, waiting for it to appear.
find_box() {
    local id
    for _ in $(seq 1 100); do
        id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}' | head -n 1)
        if [[ -n "$id" ]] && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# One value of xwininfo for a window, e.g. "Absolute upper-left X".
geometry() { xwininfo -id "$1" | awk -F: -v key="  $2" '$1 == key { gsub(/ /, "", $2); print $2 }'; }

# Fraction of the picture's pixels darker than half grey.
dark_share() { convert "$1" -colorspace Gray -threshold 50% -negate -format '%[fx:mean]' info:; }

# start NAME CAPTION TEXT [--system]: shows a box and sets $pid and $box.
start() {
    local name=$1 caption=$2 text=$3
    shift 3
    "$show" "$@" "$caption" "$text" >"$out/$name.out" 2>"$out/$name.err" &
    pid=$!
    box=$(find_box "$caption") || { echo "$name: no box titled '$caption'"; kill -9 "$pid"; return 1; }
    sleep 0.2
}

# finish NAME: the box must have gone and the program ended, reporting the dismissal.
finish() {
    local name=$1 code
    for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "$name: the box was not dismissed"
        kill -9 "$pid"
        status=1
        return
    fi
    wait "$pid"
    code=$?
    if [[ $code -ne 0 ]] || ! grep -qx dismissed "$out/$name.out"; then
        echo "$name: exit code $code: $(cat "$out/$name.err")"
        status=1
        return
    fi
    echo "$name: dismissed"
}

# The box's look: centred, a window of its own size, text drawn on it.
if start look "Application Error" "$text"; then
    read -r _ bx by bw bh < <(grep '^button ' "$out/look.out")
    read -r _ width height < <(grep '^box ' "$out/look.out")
    xwd -id "$box" -silent | convert xwd:- "$shots/box-look.png"
    xwd -root -silent | convert xwd:- "$shots/box-screen.png"
    [[ "$(geometry "$box" Width)x$(geometry "$box" Height)" == "${width}x${height}" ]] ||
        { echo "look: the window is not ${width}x${height}"; status=1; }
    left=$(geometry "$box" "Absolute upper-left X")
    top=$(geometry "$box" "Absolute upper-left Y")
    (( ${left:-0} * 2 + width - 1024 <= 2 && ${left:-0} * 2 + width - 1024 >= -2 &&
       ${top:-0} * 2 + height - 768 <= 2 && ${top:-0} * 2 + height - 768 >= -2 )) ||
        { echo "look: the box at $left,$top is not centred"; status=1; }
    # Text above the button bar, and the button's label, are drawn in dark anti-aliased ink.
    convert "$shots/box-look.png" -crop "$((width - 40))x$((by - 20))+20+10" "$out/text.png"
    convert "$shots/box-look.png" -crop "${bw}x${bh}+${bx}+${by}" "$out/button.png"
    share=$(dark_share "$out/text.png")
    awk -v s="$share" 'BEGIN { exit !(s > 0.03 && s < 0.4) }' ||
        { echo "look: the text area is ${share} dark: no text drawn"; status=1; }
    share=$(dark_share "$out/button.png")
    awk -v s="$share" 'BEGIN { exit !(s > 0.02) }' ||
        { echo "look: the button is ${share} dark: no label"; status=1; }
    colours=$(convert "$shots/box-look.png" -format %k info:)
    [[ $colours -gt 30 ]] || { echo "look: only $colours colours: no smooth text"; status=1; }
    # A click beside the button, on the text, leaves the box up.
    xdotool mousemove $((left + 80)) $((top + 30)) click 1
    sleep 0.3
    kill -0 "$pid" 2>/dev/null || { echo "look: a click on the text dismissed the box"; status=1; }
    xdotool key Return
    finish look
fi

for key in Return Escape KP_Enter; do
    if start "key-$key" "Key $key" "Dismissed by $key."; then
        xdotool windowfocus "$box" 2>/dev/null
        xdotool key "$key"
        finish "key-$key"
    fi
done

if start click "Click" "Dismissed by a click on OK."; then
    read -r _ bx by bw bh < <(grep '^button ' "$out/click.out")
    left=$(geometry "$box" "Absolute upper-left X")
    top=$(geometry "$box" "Absolute upper-left Y")
    xdotool mousemove $((left + bx + bw / 2)) $((top + by + bh / 2))
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    xwd -id "$box" -silent | convert xwd:- "$shots/box-pressed.png"
    xdotool mouseup 1
    finish click
fi

if start close "Close" "Dismissed by the window manager's close."; then
    "$build/tests/koravex-test-wm-close" "$box"
    finish close
fi

# A long text with lines of its own and a word longer than a line: wrapped, and the box
# still fits the screen.
long="First line.
$(printf 'word %.0s' $(seq 1 40))
$(printf 'x%.0s' $(seq 1 150))
$(printf 'many lines %.0s' $(seq 1 2000))"
if start long "Long" "$long"; then
    xwd -id "$box" -silent | convert xwd:- "$shots/box-long.png"
    w=$(geometry "$box" Width)
    h=$(geometry "$box" Height)
    (( w <= 1024 && h <= 768 )) || { echo "long: the box is ${w}x${h}, larger than the screen"; status=1; }
    xdotool key Escape
    finish long
fi

# Over the game's GL context: the box is drawn as well, and the context is current again
# once it has gone.
if start over-gl "Over GL" "$text" --gl; then
    xwd -id "$box" -silent | convert xwd:- "$shots/box-over-gl.png"
    share=$(dark_share "$shots/box-over-gl.png")
    awk -v s="$share" 'BEGIN { exit !(s > 0.03) }' || { echo "over-gl: no text drawn"; status=1; }
    xdotool key Return
    finish over-gl
    grep -qx "GL context kept" "$out/over-gl.out" || { echo "over-gl: the GL context was lost"; status=1; }
fi

# The game's way: SDL's box cannot show here, so ours does, and stderr has the line.
if start system "Application Error" "$text" --system; then
    xdotool key Return
    finish system
    [[ "$(cat "$out/system.err")" == "koravex: Application Error: $text" ]] ||
        { echo "system: stderr was '$(cat "$out/system.err")'"; status=1; }
fi

exit $status
