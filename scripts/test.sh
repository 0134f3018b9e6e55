#!/usr/bin/env bash
# Builds zem with its tests and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZEM_BUILD_BENCH=OFF >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
