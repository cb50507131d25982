#!/usr/bin/env bash
# Time from starting the real game to its window being mapped and to its first frame,
# at 1920 x 1080 under Xvfb, over several starts. Usage: bench/first_frame.sh <build dir> [runs]
# shellcheck source=../tests/e2e/play_lib.sh
source "$(dirname "$0")/../tests/e2e/play_lib.sh"
runs=${2:-5}
play_in 1920x1080 bench/first-frame "$runs"

for _ in $(seq 1 "$runs"); do
    start_game
    quit_with_esc >/dev/null
done | awk '/mapped/ { m[++a] = $4 } /first frame/ { f[++b] = $4 }
    function median(v, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
        return v[int((n + 1) / 2)]
    }
    END { printf "%d starts: window mapped after %d ms, first frame after %d ms (medians)\n",
          a, median(m, a), median(f, b) }'
