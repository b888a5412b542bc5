#!/usr/bin/env bash
# Builds the benchmarks (generator, floors, Google Benchmark microbenchmarks)
# and runs bench/run.sh once on the smallest file, so the script, the
# generator and the microbenchmarks keep building and working. It measures
# nothing worth keeping: the figures come from a full run on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/../.."

apt-get install -y -qq --no-install-recommends libbenchmark-dev time >/dev/null

build=build-bench-ci
cmake -S . -B "$build" -DAPPLIST_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2
test -x "$build/bench/applist_microbench"

# One quick pass of each microbenchmark but the large add_rule ones.
"$build/bench/applist_microbench" --benchmark_filter='parse|add_rule/3000$' --benchmark_min_time=0.01 >/dev/null

SIZES=3000 RUNS=1 MEMORY_RUNS=1 bench/run.sh "$build"
