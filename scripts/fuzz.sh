#!/usr/bin/env bash
# Builds one fuzz target with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs it on a copy of its corpus.
#   scripts/fuzz.sh TARGET [SECONDS]
# TARGET: loader, clob, tokens, paths, template or builder; SECONDS: 60 by default.
# New inputs collect in build-fuzz/corpus/TARGET; an input that fails stops the
# run and is kept as build-fuzz/crash-*. Copy it into tests/fuzz/corpus/TARGET
# once the fault is mended, so that every build replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
if [ ! -f "tests/fuzz/${target}_target.cpp" ]; then
  echo "no fuzz target '${target}'; known: $(ls tests/fuzz/*_target.cpp | sed 's|.*/||; s|_target.cpp||' | tr '\n' ' ')" >&2
  exit 2
fi

if ! command -v clang++ >/dev/null || ! echo 'int main(){}' | clang++ -x c++ -fsanitize=fuzzer-no-link - -o /dev/null 2>/dev/null; then
  apt-get update -qq
  apt-get install -y -qq clang libclang-rt-dev >/dev/null 2>&1 || apt-get install -y -qq clang >/dev/null
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEM_FUZZ=ON -DZEM_BUILD_BENCH=OFF -DZEM_BUILD_TOOL=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-fuzz -j2 --target "fuzz_${target}"

work=build-fuzz/corpus/${target}
mkdir -p "$work"
cp -n tests/fuzz/corpus/"${target}"/* "$work"/ 2>/dev/null || true
cd build-fuzz
ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "./tests/fuzz/fuzz_${target}" -max_total_time="$seconds" -max_len=4096 -timeout=10 -entropic=0 \
  -rss_limit_mb=4096 -dict=../tests/fuzz/zem.dict -print_final_stats=1 "corpus/${target}"
