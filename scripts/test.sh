#!/usr/bin/env bash
# Builds everything and runs every test: unit tests in a hidden GL context under
# Xvfb, end-to-end tests against the real program in their own Xvfb servers.
#   scripts/test.sh --sanitize  the same, built with ASan and UBSan in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
# Includes against the layer order fail before anything is built.
bash scripts/check_layers.sh
build=build
if [[ "${1:-}" == "--sanitize" ]]; then
    build=build-sanitize
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORAVEX_SANITIZE=ON \
        -DKORAVEX_BENCH=OFF >/dev/null
    # Leaks inside Mesa, X and the other system libraries are theirs, set aside by name in
    # tests/sanitize/lsan.supp; everything else, and any undefined behaviour, fails.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [[ $# -gt 0 ]]; then
    echo "usage: scripts/test.sh [--sanitize]" >&2
    exit 2
else
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
# -noreset: by default the server restarts whenever its last client leaves, and a test
# program connecting at that moment loses its connection.
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
    ctest --test-dir "$build" --output-on-failure --timeout 300 -j"$(nproc)"
