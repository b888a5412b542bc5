#!/usr/bin/env bash
# Builds everything again with AddressSanitizer and UndefinedBehaviorSanitizer
# (APPLIST_SANITIZE=ON) and runs the whole test suite, unit, black-box and
# corpus replay alike. Any sanitizer report fails the step, even one from a
# run whose test would otherwise pass: reports go to log files that are
# checked at the end, and a sanitized process exits with a status no test
# expects.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build-asan
logs="$PWD/$build/sanitizer-logs"

cmake -S . -B "$build" -DAPPLIST_SANITIZE=ON >/dev/null
cmake --build "$build" -j2

rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:exitcode=86:log_path=$logs/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86:log_path=$logs/ubsan"
export LSAN_OPTIONS="exitcode=86"

status=0
ctest --test-dir "$build" --output-on-failure || status=1

for report in "$logs"/*; do
  [ -e "$report" ] || continue
  status=1
  echo "== sanitizer report $report"
  cat "$report"
done
exit "$status"
