#!/usr/bin/env bash
# Runs golden case topics with the three programs under valgrind's memcheck:
# the programs built in build/ must give every case's exact output with no
# memory error and no block left unfreed at exit (still-reachable ones
# included); either makes valgrind exit 9, which no case expects. The topics
# chosen cover the line loop, every syntax message, duplicates and the growth
# of every store, the CPU lists, and every finding, directive, format and
# status of the lint, and the present CPUs the lint reads from the kernel
# (present, which skips where no mount namespace can be made); their outputs
# name no program path. The lint checks CPUs against the present set on
# every topic of its own, so a set read before it is cleared shows here.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${CI:-}" = true ] || ! command -v valgrind >/dev/null; then
  apt-get install -y -qq --no-install-recommends valgrind python3-cram >/dev/null
fi
build=${1:-$PWD/build}
status=0
for topic in lines syntax table cpulists present lint-errors lint-warnings lint-directives lint-formats lint-statuses; do
  echo "-- case:$topic under valgrind"
  sh tests/golden.sh "tests/cases/$topic.t" "$build" valgrind --quiet --error-exitcode=9 --leak-check=full \
    --show-leak-kinds=all --errors-for-leak-kinds=all && continue
  [ $? -eq 77 ] || status=1  # 77: skipped, with the reason printed
done
exit "$status"
