#!/usr/bin/env bash
# Builds the libFuzzer target with clang (ASan and UBSan on) and runs it for a
# bounded time, starting from its checked-in seed corpus. Any crash, sanitizer
# report, time-out or memory blow-up fails the step.
#
# Fuzz longer locally: FUZZ_SECONDS=3600 bash .ci/steps/30-fuzz.sh
# (new inputs collect in build-fuzz/corpus-work/whole_run, findings in
# build-fuzz/artifacts/; copy a fixed finding into fuzz/corpus/whole_run/ so
# the replay test keeps it fixed).
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${FUZZ_SECONDS:-60}"
build=build-fuzz

if [ "${CI:-}" = true ] || ! dpkg -s clang libclang-rt-14-dev >/dev/null 2>&1; then
  # libFuzzer for clang 14 comes with libclang-rt-14-dev.
  apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -DAPPLIST_BUILD_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_whole_run

rm -rf "$build/artifacts"
mkdir -p "$build/artifacts"
status=0
target=whole_run
work="$build/corpus-work/$target"
mkdir -p "$work"
log="$build/fuzz_$target.log"
echo "fuzzing $target for ${seconds}s"
# The first directory collects new inputs; the seed corpus is only read.
if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -dict=fuzz/rules.dict -print_final_stats=1 -artifact_prefix="$build/artifacts/${target}-" \
    "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec)' "$log" | sed "s/^/  $target /"
else
  status=1
  echo "fuzz_$target found a problem:"
  tail -n 60 "$log"
fi

for finding in "$build"/artifacts/*; do
  [ -e "$finding" ] || continue
  status=1
  echo "finding: $finding"
  od -A d -c "$finding" | head -n 20
done
exit "$status"
