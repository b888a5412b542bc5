#!/usr/bin/env bash
# Runs applist-check under valgrind's memcheck on full runs, on its start-up
# error paths, and with each distinct allocation size refused once (through
# the failalloc library), and fails on any memory error or leak. The one
# exception is uthash's fatal exit (status 255), which ends the process
# without releasing anything by design: there only errors are checked.
#
# Usage: valgrind_sweep.sh BUILD_DIR   (needs valgrind; BUILD_DIR holds the
# built applist-check and tests/alloc/failalloc.so)
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
tool="$build/applist-check"
failalloc="$build/tests/alloc/failalloc.so"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Memcheck would otherwise put its own allocator in place of the preloaded
# one; nouserintercepts leaves failalloc's wrappers to call into libc. The
# library is preloaded through env, traced into, so that it loads into the
# tool alone and not into valgrind's own launcher.
memcheck=(valgrind -q --trace-children=yes --soname-synonyms=somalloc=nouserintercepts --error-exitcode=99)
with_leaks=(--leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all)
vg_error=99
failures=0
runs=0
fatal_runs=0
fatal_request=

# Every generated rule uses CPU 0 only.
{
  echo 'bad'
  echo 'game{RenderThread}=0'
  echo 'game{GameThread}=0'
  echo 'game=0'
  echo 'com.example.*=0'
  echo '{main}=0'
  echo 'game=0'
  echo 'other=99999'
} >"$work/small.conf"
# Enough rules to grow the table and the duplicate set, enough wildcard
# rules to grow the wildcard list, enough names to grow uthash's buckets.
{
  echo 'bad'
  for i in $(seq 1 4097); do echo "app$i=0"; done
  for i in $(seq 1 129); do echo "vendor$i.*=0"; done
  echo 'bad'
} >"$work/large.conf"
: >"$work/empty.conf"

# run NAME EXPECT_LEAK_CHECK ARGS... with FAILALLOC_* already exported.
run() {
  local name=$1 leaks=$2
  shift 2
  local status=0
  local opts=("${memcheck[@]}")
  [ "$leaks" = yes ] && opts+=("${with_leaks[@]}")
  "${opts[@]}" --log-file="$work/vg.log" /usr/bin/env LD_PRELOAD="$failalloc" "$tool" "$@" >"$work/out" 2>&1 ||
    status=$?
  runs=$((runs + 1))
  if [ "$status" -eq "$vg_error" ] || [ -s "$work/vg.log" ]; then
    echo "FAIL: $name (status $status)"
    cat "$work/vg.log"
    failures=$((failures + 1))
  else
    echo "ok: $name (status $status)"
  fi
  return 0
}

unset FAILALLOC_SIZE FAILALLOC_NTH FAILALLOC_FUNC FAILALLOC_LOG
for conf in small large; do run "full run, $conf file" yes -c "$work/$conf.conf"; done
run "usage" yes -h
run "bad option" yes -x
run "missing file" yes -c "$work/missing.conf"
run "empty file" yes -c "$work/empty.conf"
run "directory" yes -c "$work"

# Refuse the first request of each size through each allocation function
# the tool uses, one request per run.
for conf in small large; do
  FAILALLOC_LOG="$work/requests.log" LD_PRELOAD="$failalloc" "$tool" -c "$work/$conf.conf" >/dev/null || true
  requests=$(awk '{print $1 ":" $2}' "$work/requests.log" | sort -u)
  rm -f "$work/requests.log"
  for request in $requests; do
    export FAILALLOC_FUNC=${request%%:*} FAILALLOC_SIZE=${request##*:}
    status=0
    LD_PRELOAD="$failalloc" "$tool" -c "$work/$conf.conf" >/dev/null 2>&1 || status=$?
    if [ "$status" -eq 255 ]; then
      # uthash's fatal exit releases nothing; every other path must.
      run "$conf file, first $FAILALLOC_FUNC of $FAILALLOC_SIZE bytes refused (fatal exit)" no \
        -c "$work/$conf.conf"
      fatal_runs=$((fatal_runs + 1))
      fatal_request="$conf:$FAILALLOC_FUNC:$FAILALLOC_SIZE"
    else
      run "$conf file, first $FAILALLOC_FUNC of $FAILALLOC_SIZE bytes refused" yes -c "$work/$conf.conf"
    fi
    unset FAILALLOC_FUNC FAILALLOC_SIZE
  done
done

# The leak check must be live through this setup: the fatal exit, which
# leaves its blocks behind, has to be reported once the check is on.
IFS=: read -r conf FAILALLOC_FUNC FAILALLOC_SIZE <<<"${fatal_request:?no request ended in the fatal exit}"
export FAILALLOC_FUNC FAILALLOC_SIZE
if "${memcheck[@]}" "${with_leaks[@]}" --log-file="$work/vg.log" /usr/bin/env LD_PRELOAD="$failalloc" \
  "$tool" -c "$work/$conf.conf" >/dev/null 2>&1 || [ ! -s "$work/vg.log" ]; then
  echo "FAIL: the leak check did not see the blocks left by uthash's fatal exit"
  failures=$((failures + 1))
else
  echo "ok: leak check live (the fatal exit's blocks are reported)"
fi
unset FAILALLOC_FUNC FAILALLOC_SIZE

echo "valgrind sweep: $runs runs ($fatal_runs fatal exits, errors only), $failures with errors or leaks"
[ "$failures" -eq 0 ]
