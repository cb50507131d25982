#!/usr/bin/env bash
# Builds everything and runs every test: unit tests in a hidden GL context under
# Xvfb, end-to-end tests against the real program in their own Xvfb servers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
# Includes against the layer order fail before anything is built.
bash scripts/check_layers.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# -noreset: by default the server restarts whenever its last client leaves, and a test
# program connecting at that moment loses its connection.
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
    ctest --test-dir build --output-on-failure --timeout 300 -j"$(nproc)"
