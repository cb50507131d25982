#!/usr/bin/env bash
# Builds everything and runs every test: unit tests in a hidden GL context under
# Xvfb, end-to-end tests against the real program in their own Xvfb servers. Warnings are
# errors here, and only here.
#   scripts/test.sh --sanitize  the same, built with ASan and UBSan in build-sanitize/
#   scripts/test.sh --matrix    fresh builds of everything in build-matrix/: Debug, Release and
#                               RelWithDebInfo with GCC, Release with clang; unit tests in each
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb_lib.sh
bash scripts/deps.sh test
# Includes against the layer order fail before anything is built.
bash scripts/check_layers.sh

run_tests() { # build folder, ctest options...
    local build=$1
    shift
    xvfb_run 1920x1080 ctest --test-dir "$build" --output-on-failure --timeout 300 \
        -j"$(nproc)" "$@"
}

# Each build of the matrix from nothing, so that it sees every warning; a failed one does not
# stop the others.
matrix() {
    local entry name compiler type folder failed=()
    for entry in "gcc g++ Debug" "gcc g++ Release" "gcc g++ RelWithDebInfo" \
        "clang clang++ Release"; do
        read -r name compiler type <<<"$entry"
        folder=build-matrix/$name-${type,,}
        echo "== $compiler $type in $folder" >&2
        rm -rf "$folder"
        if cmake -S . -B "$folder" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE="$type" \
            -DKORAVEX_WERROR=ON >/dev/null && cmake --build "$folder" -j"$(nproc)" &&
            run_tests "$folder" -L unit; then
            echo "== $compiler $type: passed" >&2
        else
            failed+=("$compiler $type")
        fi
    done
    if [[ ${#failed[@]} -gt 0 ]]; then
        printf 'failed: %s\n' "${failed[@]}" >&2
        return 1
    fi
    echo "all four builds passed" >&2
}

case "${1:-}" in
--sanitize)
    build="build-sanitize"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORAVEX_SANITIZE=ON \
        -DKORAVEX_WERROR=ON -DKORAVEX_BENCH=OFF >/dev/null
    # Leaks inside Mesa, X and the other system libraries are theirs, set aside by name in
    # tests/sanitize/lsan.supp; everything else, and any undefined behaviour, fails.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ;;
--matrix)
    matrix
    exit
    ;;
'')
    # Its own folder: scripts/play.sh builds in build-play/, so neither undoes the other.
    build=build
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORAVEX_WERROR=ON >/dev/null
    ;;
*)
    echo "usage: scripts/test.sh [--sanitize | --matrix]" >&2
    exit 2
    ;;
esac
cmake --build "$build" -j"$(nproc)"
run_tests "$build"
