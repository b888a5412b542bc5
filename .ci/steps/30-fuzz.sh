#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan on) and runs each for
# a bounded time, starting from its checked-in seed corpus. Any crash,
# sanitizer report, broken invariant, time-out or memory blow-up fails the step.
#
# Fuzz longer locally: FUZZ_SECONDS=3600 bash .ci/steps/30-fuzz.sh
# (new inputs collect in build-fuzz/corpus-work/<target>, findings in
# build-fuzz/artifacts/; copy a fixed finding into fuzz/corpus/<target>/ so the
# replay test keeps it fixed).
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${FUZZ_SECONDS:-20}"
build=build-fuzz

if [ "${CI:-}" = true ] || ! dpkg -s clang libclang-rt-14-dev >/dev/null 2>&1; then
  # libFuzzer for clang 14 comes with libclang-rt-14-dev.
  apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -DAPPLIST_BUILD_FUZZ=ON -DAPPLIST_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_rule_line fuzz_cpu_list fuzz_whole_run

rm -rf "$build/artifacts"
mkdir -p "$build/artifacts"
status=0
for target in rule_line cpu_list whole_run; do
  case "$target" in
    rule_line) max_len=300 ;;
    cpu_list) max_len=256 ;;
    whole_run) max_len=4096 ;;
  esac
  dict=()
  [ "$target" = cpu_list ] || dict=(-dict=fuzz/rules.dict)
  work="$build/corpus-work/$target"
  mkdir -p "$work"
  log="$build/fuzz_$target.log"
  echo "fuzzing $target for ${seconds}s"
  # The first directory collects new inputs; the seed corpus is only read.
  if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$max_len" "${dict[@]}" -print_final_stats=1 -artifact_prefix="$build/artifacts/${target}-" \
      "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec)' "$log" | sed "s/^/  $target /"
  else
    status=1
    echo "fuzz_$target found a problem:"
    tail -n 60 "$log"
  fi
done

for finding in "$build"/artifacts/*; do
  [ -e "$finding" ] || continue
  status=1
  echo "finding: $finding"
  od -A d -c "$finding" | head -n 20
done
exit "$status"
