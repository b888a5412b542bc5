#!/usr/bin/env bash
# Runs the tool built in build/ under valgrind's memcheck: over the example
# rule file, over a file with every kind of faulty line and enough rules to
# make the table and the wildcard list grow, and on each path that ends the
# run early (-h, a bad option, -c without a path, a missing, unreadable or
# empty file, a directory). Any memory error or any block not freed at exit
# (still-reachable ones included) fails the step, and so does an exit status
# other than the one the run should have.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${CI:-}" = true ] || ! command -v valgrind >/dev/null; then
  apt-get install -y -qq --no-install-recommends valgrind >/dev/null
fi

bin=${1:-$PWD/build/applist-check}  # another build can be named for a local run
[ -x "$bin" ] || { echo "$bin is missing: build the tool in build/ first"; exit 1; }

scratch=$(mktemp -d)
chmod 0755 "$scratch"
trap 'rm -rf "$scratch"' EXIT

# The rule files and the faked present-CPU list.
printf '0-7\n' >"$scratch/present"
: >"$scratch/empty.conf"
mkdir "$scratch/dir.conf"
printf 'game=0\n' >"$scratch/locked.conf"
chmod 0 "$scratch/locked.conf"
{
  printf 'game\n=1\ngame=\ngame{main=1\ngame{}=1\ngame{main}x=1\ngame}=1\n'
  printf '%0128d=1\n' 0
  printf 'game{%032d}=1\n' 0
  printf '#%0255d\n' 0
  printf 'game=8\ngame=abc\ngame=3-1\n{ }=1\n'
  for i in $(seq 3000); do printf 'pkg.%d{t}=0-3\n' "$i"; done
  for i in $(seq 200); do printf 'w%d.*=%d\n' "$i" $((i % 8)); done
  printf 'pkg.1{t}=4\nw1.*=5\n'
} >"$scratch/faulty.conf"

valgrind_command=(valgrind --error-exitcode=9 --leak-check=full --errors-for-leak-kinds=all
  --show-leak-kinds=all --quiet)

failures=0

# run WANTED_STATUS DESCRIPTION [--as-nobody] [--faked-present] -- TOOL_ARGS...
# The tool's standard output is left in $scratch/out.
run() {
  local want=$1 what=$2
  shift 2
  local prefix=()
  while [ "$1" != -- ]; do
    case "$1" in
      --as-nobody) prefix+=(setpriv --reuid=65534 --regid=65534 --clear-groups) ;;
      --faked-present)
        prefix+=(unshare -m sh -c 'mount --bind "$0" /sys/devices/system/cpu/present && exec "$@"'
          "$scratch/present") ;;
    esac
    shift
  done
  shift
  local log=$scratch/valgrind.log status=0
  rm -f "$log"
  "${prefix[@]}" "${valgrind_command[@]}" --log-file="$log" "$bin" "$@" >"$scratch/out" 2>"$scratch/err" ||
    status=$?
  if [ "$status" -ne "$want" ] || [ -s "$log" ]; then
    echo "FAIL: $what: status $status, expected $want"
    cat "$log" 2>/dev/null || true
    head -c 2000 "$scratch/out"
    failures=$((failures + 1))
  else
    echo "ok: $what (status $status)"
  fi
}

run 0 "examples/applist.conf" --faked-present -- -c examples/applist.conf
run 1 "faulty lines, table and wildcard list growth" --faked-present -- -c "$scratch/faulty.conf"
# Its output shows it went through every message and past both initial sizes.
summary=$(tail -n 1 "$scratch/out")
if [ "$(grep -c '^第 ' "$scratch/out")" -ne 15 ] ||
  [ "$summary" != "配置文件解析完成，共加载 3201 条规则，200 条通配符规则" ]; then
  echo "FAIL: unexpected output for the faulty file:"
  cat "$scratch/out"
  failures=$((failures + 1))
fi
run 0 "-h" -- -h
run 1 "unknown option" -- -x
run 1 "-c without a path" -- -c
run 1 "missing file" -- -c "$scratch/missing.conf"
run 1 "empty file" -- -c "$scratch/empty.conf"
run 1 "directory" -- -c "$scratch/dir.conf"
if setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$bin" 2>/dev/null &&
  ! setpriv --reuid=65534 --regid=65534 --clear-groups test -r "$scratch/locked.conf"; then
  run 1 "unreadable file" --as-nobody -- -c "$scratch/locked.conf"
else
  echo "skipped: unreadable file (cannot run as uid 65534 without read access here)"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures valgrind run(s) failed"
  exit 1
fi
echo "valgrind: no memory error or leak on any run"
