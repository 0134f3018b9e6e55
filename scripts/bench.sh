#!/usr/bin/env bash
# Whole-process load benchmark: zem against the parsers users know, on the
# same generated content, each tool a fresh process that loads the file, walks
# every value, closes and exits.
#
#   scripts/bench.sh [SIZE_MB ...]        (default: 20 100)
#
# Prints one table per size: MB/s of file text (median wall time of several
# runs), time relative to the floor (one read of the file and a byte scan),
# MB/s of CPU time (user + system, mean of the runs: steadier than the wall
# clock when other processes share the cores), and peak resident memory as a
# multiple of the file size. Environment:
# BENCH_RUNS (runs per tool, default 5), BENCH_DIR (where the files go,
# default a fresh folder under /tmp), BENCH_BUILD (build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${BENCH_RUNS:-5}
build=${BENCH_BUILD:-$root/build-bench}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(20 100)

# A fresh machine gets what the benchmark needs; a peer whose package cannot
# be had is skipped by the build.
need=()
for tool in cmake g++ make hyperfine jq; do command -v "$tool" >/dev/null || need+=("$tool"); done
[ -x /usr/bin/time ] || need+=(time)
for pkg in rapidjson-dev libsimdjson-dev libpugixml-dev libtomlplusplus-dev libconfig++-dev; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get update -qq >/dev/null || true
  for pkg in "${need[@]}"; do
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$pkg" >/dev/null || echo "note: $pkg not installed"
  done
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZEM_BUILD_TESTS=OFF -DZEM_BUILD_TOOL=OFF -DZEM_BUILD_BENCH=ON \
  "${launcher[@]}" | grep "bench:" || true
cmake --build "$build" -j2 --target zem_bench_walkers zem_bench_write >"$build/bench-build.log" 2>&1 ||
  { tail -30 "$build/bench-build.log"; exit 1; }
bin=$build/bench

dir=${BENCH_DIR:-$(mktemp -d /tmp/zem_bench.XXXXXX)}
mkdir -p "$dir"

# name, program, file extension
tools=(
  "floor: one read + byte scan|zem_walk_floor|txt"
  "zem|zem_walk_zem|txt"
  "zem, CLOB-heavy template|zem_walk_zem|rich.txt"
  "RapidJSON in-situ (JSON)|zem_walk_rapidjson|json"
  "simdjson DOM (JSON)|zem_walk_simdjson|json"
  "pugixml (XML)|zem_walk_pugixml|xml"
  "toml++ (TOML)|zem_walk_tomlplusplus|toml"
  "libconfig++ (libconfig)|zem_walk_libconfig|cfg"
)

echo "machine: $(nproc) cores, $(LC_ALL=C lscpu | sed -n 's/^Model name: *//p' | head -1), $(uname -r)"
echo "runs per tool: $runs (median wall time); load average now: $(cut -d' ' -f1-3 /proc/loadavg)"

for size in "${sizes[@]}"; do
  base=$dir/content_$size
  counts=$("$bin/zem_make_bench_files" "$size" "$base")
  "$bin/zem_make_bench_files" "$size" "$base.rich" --rich >/dev/null
  echo
  echo "## $size MB of content: sections keywords values = $counts"
  printf '| %-32s | %9s | %8s | %8s | %8s | %10s |\n' tool "file MB" "MB/s" "x floor" "CPU MB/s" "peak/file"
  echo "|----------------------------------|----------:|---------:|---------:|---------:|-----------:|"
  floor=""
  for entry in "${tools[@]}"; do
    IFS='|' read -r name program ext <<<"$entry"
    file=$base.$ext
    if [ ! -x "$bin/$program" ]; then
      printf '| %-32s | %s |\n' "$name" "skipped: its package is not installed"
      continue
    fi
    bytes=$(stat -c %s "$file")
    # Every walker but the floor reports what it saw; it must be the content.
    if [ "$program" != zem_walk_floor ] && [ "$ext" != rich.txt ]; then
      seen=$("$bin/$program" "$file" 2>/dev/null) || seen="failed"
      if [ "$seen" != "$counts" ]; then
        printf '| %-32s | %s |\n' "$name" "wrong counts: $seen"
        continue
      fi
    fi
    hyperfine -N --style none --warmup 1 --runs "$runs" --export-json "$dir/h.json" "$bin/$program $file" >/dev/null 2>&1
    median=$(jq '.results[0].median' "$dir/h.json")
    cpu=$(jq '.results[0].user + .results[0].system' "$dir/h.json")
    /usr/bin/time -o "$dir/peak" -f '%M' "$bin/$program" "$file" >/dev/null 2>&1
    peak=$(tail -1 "$dir/peak")
    [ -n "$floor" ] || floor=$median
    awk -v n="$name" -v b="$bytes" -v t="$median" -v f="$floor" -v c="$cpu" -v p="$peak" 'BEGIN {
      printf "| %-32s | %9.1f | %8.1f | %8.2f | %8.1f | %10.2f |\n", n, b / 1e6, b / 1e6 / t, t / f, b / 1e6 / c, p * 1024 / b }'
  done
  # Memory given back: a second load in the same process must not raise the peak.
  "$bin/zem_walk_zem" "$base.txt" --again 2>&1 >/dev/null | grep peak | sed 's/^/zem: /'
done

echo
echo "## zemWrite of the loaded tree"
"$bin/zem_bench_write" --size "${sizes[-1]}" --runs "$runs" | tail -2
[ -n "${BENCH_DIR:-}" ] || rm -rf "$dir"
