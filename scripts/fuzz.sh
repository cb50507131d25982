#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/, -DKORAVEX_FUZZ=ON: ASan, UBSan and
# coverage on every loader) and runs each one for the given seconds (default 60).
#
#   scripts/fuzz.sh [seconds per target] [-j N]
#
# -j N runs N targets at once (default 1). Each target starts from the seeds kept in
# fuzz/corpus/<target>/ and from the assets of the normal build (build/adatok.vbf and its
# members), and grows its own corpus in build-fuzz/corpus/<target>/, kept between runs.
# Logs go to build-fuzz/logs/ (or $KORAVEX_FUZZ_LOGS), crashes to build-fuzz/findings/<target>/.
# Prefix with `nice -n 10` on a shared machine. Exit code 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=60
parallel=1
while [[ $# -gt 0 ]]; do
    case "$1" in
        -j) parallel=$2; shift 2 ;;
        -j*) parallel=${1#-j}; shift ;;
        *[!0-9]* | '') echo "usage: scripts/fuzz.sh [seconds per target] [-j N]" >&2; exit 2 ;;
        *) seconds=$1; shift ;;
    esac
done

bash scripts/deps.sh test

# The assets the game ships, from the normal build, configured as scripts/test.sh does it.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORAVEX_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)" --target koravex_archive koravex-archive >/dev/null

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORAVEX_FUZZ=ON \
    -DKORAVEX_TESTS=OFF -DKORAVEX_BENCH=OFF >/dev/null
targets=()
for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("$name")
done
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}" >/dev/null

# Asset seeds, refreshed from the current archive on every run.
assets=$root/build-fuzz/asset-seeds
rm -rf "$assets"
mkdir -p "$assets/all"
(cd "$assets/all" && "$root/build/tools/archive/koravex-archive" extract "$root/build/adatok.vbf")
seed_assets() { # target folder
    local target=$1 folder=$2
    mkdir -p "$folder"
    case "$target" in
        fuzz_3ds) cp "$assets"/all/*.3ds "$folder"/ 2>/dev/null || true ;;
        fuzz_bmp) cp "$assets"/all/*.bmp "$folder"/ 2>/dev/null || true ;;
        fuzz_board_definition) cp "$assets"/all/*.dat "$folder"/ 2>/dev/null || true ;;
        fuzz_bigfile) cp "$root/build/adatok.vbf" "$folder"/ ;;
        *) cp "$assets"/all/* "$folder"/ ;;
    esac
}

logs=${KORAVEX_FUZZ_LOGS:-$root/build-fuzz/logs}
mkdir -p "$logs"

run_target() {
    local target=$1
    local corpus=$root/build-fuzz/corpus/$target findings=$root/build-fuzz/findings/$target
    mkdir -p "$corpus" "$findings"
    seed_assets "$target" "$assets/$target"
    local seeds=("$assets/$target")
    [[ -d fuzz/corpus/$target ]] && seeds+=("$root/fuzz/corpus/$target")
    # Inputs up to the largest picture the game ships; the archive is seeded by its first part.
    "$root/build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=2200000 \
        -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$logs/$target.log" 2>&1
}

for target in "${targets[@]}"; do
    while [[ $(jobs -rp | wc -l) -ge $parallel ]]; do wait -n || true; done
    echo "fuzz: $target for ${seconds}s (log $logs/$target.log)" >&2
    run_target "$target" &
done
wait || true

# One line per target: runs, and coverage from libFuzzer's last status line. A target that
# did not end with its "Done" line, or left a finding, fails the run.
status=0

for target in "${targets[@]}"; do
    log=$logs/$target.log
    runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo '?')
    last=$(grep -E '^#[0-9]+' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' <<<"$last" | tail -1)
    ft=$(grep -o 'ft: [0-9]*' <<<"$last" | tail -1)
    found=$(find "$root/build-fuzz/findings/$target" -type f | wc -l)
    echo "$target: runs ${runs:-?}, ${cov:-cov: ?}, ${ft:-ft: ?}, findings $found"
    [[ $found -eq 0 && $runs != '?' ]] || status=1
done
exit $status
