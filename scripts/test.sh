#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test;
# then builds and runs the same tests under AddressSanitizer and UndefinedBehaviorSanitizer;
# then fuzzes the readers for a bounded time (about a minute in all).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASTREL_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVASTREL_WERROR=ON \
    -DVASTREL_SANITIZE=ON -DVASTREL_BENCHMARKS=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# Fuzzing: each target over a copy of its corpus, so the checkout stays as it is. A finding is
# written to build-fuzz/findings/ and fails the run; it then belongs in the corpus.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVASTREL_FUZZ=ON -DVASTREL_TESTS=OFF -DVASTREL_BENCHMARKS=OFF
targets=(semicolon time_entry fil certificate timing http_request)
cmake --build build-fuzz -j "$jobs" --target "${targets[@]/#/fuzz_}"
rm -rf build-fuzz/findings && mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
    work=$(mktemp -d)
    cp tests/fuzz/corpus/"$target"/* "$work"/
    ASAN_OPTIONS=detect_leaks=0 ./build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time=15 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$target"- "$work" 2>&1 |
        grep -E "stat::number_of_executed_units|ERROR|broken promise|SUMMARY" || true
    [ -z "$(ls build-fuzz/findings/"$target"-* 2>/dev/null)" ] || { echo "fuzz_$target found a failing input"; exit 1; }
    rm -rf "$work"
done
echo "fuzzing done"
