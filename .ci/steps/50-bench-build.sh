#!/usr/bin/env bash
# Smoke run of bench/run.sh on the smallest file, so the benchmark script and
# its generator keep working. The figures mean nothing here: real ones come
# from a full run on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/../.."

[ -x /usr/bin/time ] || apt-get install -y -qq --no-install-recommends time >/dev/null
SIZES=3000 SHAPE_LINES=3000 RUNS=1 bench/run.sh build-bench-ci
