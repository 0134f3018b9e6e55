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
build/zem check --template examples/simulation_template.txt examples/simulation.txt
# A copy with a misspelt keyword and a value of the wrong kind: the check names each difference and its line.
broken="$(mktemp -d)"
trap 'rm -rf "$broken"' EXIT
sed -e 's/MaxIterations = 50/MaxIteration = 50/' -e "s/Frequency = 60/Frequency = 'hourly'/" \
  examples/simulation.txt >"$broken/simulation.txt"
status=0
build/zem check --template examples/simulation_template.txt --all "$broken/simulation.txt" || status=$?
echo "exit status of the broken copy: $status"
# zem set on a copy: only the keyword's own text changes.
cp examples/simulation.txt "$broken/edited.txt"
build/zem set "$broken/edited.txt" Simulation/Solver Tolerance 1e-5 -i
diff examples/simulation.txt "$broken/edited.txt" || true
# The document as JSON and back: the same sections, keywords, instances and values.
build/zem to-json examples/simulation.txt | head -12
build/zem to-json examples/simulation.txt | build/zem from-json - -o "$broken/from-json.txt"
build/zem check "$broken/from-json.txt"
{ set +x; } 2>/dev/null
echo "The tool is build/zem; 'cmake --install build --prefix /usr/local' puts zem on the PATH."
