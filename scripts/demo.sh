#!/usr/bin/env bash
# Builds zem and runs the command-line tool on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target zem_tool
set -x
build/zem check examples/simulation.txt
build/zem get examples/simulation.txt Simulation/Solver
build/zem get examples/simulation.txt Simulation/Output OutputFile
cp examples/simulation.txt build/simulation-copy.txt
build/zem set build/simulation-copy.txt Simulation/Solver Tolerance 1e-5 -i
diff examples/simulation.txt build/simulation-copy.txt || true
