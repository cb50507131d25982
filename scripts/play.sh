#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKORAVEX_TESTS=OFF -DKORAVEX_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target koravex koravex_archive >/dev/null
exec ./build/koravex
