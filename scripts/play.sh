#!/usr/bin/env bash
# Builds the game and starts it. Its own folder, build-play/: scripts/test.sh builds in
# build/, with other settings, and neither undoes the other.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-play -DCMAKE_BUILD_TYPE=Release -DKORAVEX_TESTS=OFF -DKORAVEX_BENCH=OFF \
    >/dev/null
cmake --build build-play -j"$(nproc)" --target koravex koravex_archive >/dev/null
exec ./build-play/koravex
