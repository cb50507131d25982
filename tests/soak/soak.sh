#!/usr/bin/env bash
# Soak: the real program plays itself for a long time. Both seats are set to the computer
# from the panel, and after every win a new game is started from the panel. The resident
# memory is sampled every 30 s and must stay flat; no GL error may be reported.
#
#   tests/soak/soak.sh BUILD_DIR [minutes, default 30]
#
# Not part of the test suite. Prints the RSS series and a summary; exit code 1 on a failure.
# Memory counts as flat when the last quarter of the samples is no higher than the highest
# sample of the first quarter plus 2 MB (caches fill during the first games).
# shellcheck source=../e2e/play_lib.sh
source "$(dirname "$0")/../e2e/play_lib.sh"
minutes=${2:-30}
play_in 1024x768 soak-shots "$minutes"
export KORAVEX_GL_CHECK=1

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$game_pid/status" 2>/dev/null; }
# Heap and other private memory, and mapped files (library code paged in as it is first run).
rss_parts() { awk '/^RssAnon:/ { a = $2 } /^RssFile:/ { f = $2 } END { print "anon " a " kB, file " f " kB" }' "/proc/$game_pid/status" 2>/dev/null; }

# Opens the panel through its tab and presses the point (virtual-screen units).
panel_press() {
    read -r x y < <(virtual_xy 1000 740)
    xdotool mousemove "$x" "$y"
    sleep 1.5
    read -r x y < <(virtual_xy "$1" "$2")
    press_at "$x" "$y"
    park_pointer
}

start_game
panel_press 879 528 # the light seat goes to the computer; the dark one already is
started=$(now_ms)
end=$((started + minutes * 60000))
next_sample=$started
samples=()
wins=0
last_new_game=$started
while (($(now_ms) < end)); do
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended: $(cat "$shots/stderr.txt")"
    if (($(now_ms) >= next_sample)); then
        rss=$(rss_kb)
        samples+=("$rss")
        echo "$(((next_sample - started) / 1000)) s: RSS $rss kB ($(rss_parts)), $wins wins"
        next_sample=$((next_sample + 30000))
    fi
    look now
    # A won square glows red; nothing else on the screen is that red.
    if (($(red_pixels now) > 100)); then
        wins=$((wins + 1))
        # New game; on a loaded machine the panel may not have slid open in time: try again.
        cleared=0
        for _ in 1 2 3; do
            panel_press 924 703
            sleep 1
            look fresh
            (($(red_pixels fresh) < 100)) && cleared=1 && break
        done
        ((cleared)) || fail "the new game did not clear the won square"
        last_new_game=$(now_ms)
    elif (($(now_ms) - last_new_game > 180000)); then
        fail "no win for three minutes"
    fi
    sleep 1
done
quit_with_esc

errors=$(grep -c "GL error" "$shots/stderr.txt")
n=${#samples[@]}
q=$(((n + 3) / 4))
first_max=0 last_max=0 max=0
for ((k = 0; k < n; ++k)); do
    s=${samples[k]}
    ((s > max)) && max=$s
    ((k < q && s > first_max)) && first_max=$s
    ((k >= n - q && s > last_max)) && last_max=$s
done
echo "soak: $minutes min, $wins wins, $n samples, RSS start ${samples[0]} kB, end ${samples[n - 1]} kB," \
    "max $max kB (first quarter max $first_max kB, last quarter max $last_max kB), GL errors $errors"
((errors == 0)) || fail "GL errors reported: $(grep "GL error" "$shots/stderr.txt" | head -3)"
((wins >= 1)) || fail "no game was won"
((last_max <= first_max + 2048)) || fail "memory grew: $first_max kB early, $last_max kB late"
echo "PASS"
