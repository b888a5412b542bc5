#!/usr/bin/env bash
# Runs the tool on rule files of 100,000 rules under address-space limits,
# from the smallest limit at which it starts at all up to one at which it
# loads everything. Every run must end either
#   - with the full result: the unlimited run's exact output and status, or
#   - with status 1 or 255 and an output of complete lines: the unlimited
#     run's messages for the first lines, in order, and at most one closing
#     line (the summary, "no rule loaded", or the mapping message).
# A signal, a hang, a torn line or any other output fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD:-build}  # another build directory: BUILD=build-x bash .ci/steps/25-memory-sweep.sh
# Checked for a phone with CPUs 0-7, whatever this machine has.
tool=$PWD/$build/applist-check-for
[ -x "$tool" ] || { cmake -S . -B "$build" >/dev/null && cmake --build "$build" -j2 --target applist-check-for >/dev/null; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Four shapes, 100,000 rule lines each.
awk 'BEGIN { for (i = 1; i <= 100000; i++) print "com.example.app" i "=0" }' >valid.conf
awk 'BEGIN { for (i = 1; i <= 100000; i++)
  if (i % 7 == 0) print "broken line " i
  else if (i % 11 == 0) print "com.example.app" i - 1 "=0"
  else if (i % 13 == 0) print "com.example.app" i "=5000"
  else print "com.example.app" i "=0" }' >faulty.conf
awk 'BEGIN { for (i = 1; i <= 100000; i++) print (i % 2 ? "com.maker" i ".*=0" : "org.app" i "=0") }' >wildcards.conf
awk 'BEGIN { for (i = 1; i <= 100000; i++) print "com.game" int(i / 100) "{Thread-" i % 100 "}=0" }' >threads.conf

closing='^(未加载有效规则|配置文件解析完成，共加载 [0-9]+ 条规则，[0-9]+ 条通配符规则|无法映射配置文件 .*)$'
limited() { timeout 30 prlimit --as="$1" "$tool" 0-7 "${@:2}" >out 2>/dev/null; }

# The smallest limit, in steps of 64 KiB, at which the tool prints its usage.
start=$((1 << 20))
until limited "$start" -h && [ "$(cat out)" = "用法: $tool 0-7 [-c <配置文件>]" ]; do
  start=$((start + (64 << 10)))
  [ "$start" -lt $((64 << 20)) ] || { echo "the tool does not start under 64 MiB"; exit 1; }
done
echo "the tool starts from $((start >> 10)) KiB"

failed=0 tried=0
for shape in valid faulty wildcards threads; do
  set +e; "$tool" 0-7 -c $shape.conf >full; full_status=$?; set -e
  head -n -1 full >messages
  limit=$start fulls=0 first_full=0
  # 64 KiB steps over the first 4 MiB (start-up, mapping, rule set creation),
  # then 1 MiB steps until three limits in a row give the full result.
  while [ "$fulls" -lt 3 ]; do
    tried=$((tried + 1))
    set +e; limited "$limit" -c $shape.conf; status=$?; set -e
    lines=$(wc -l <out)
    if [ "$status" = "$full_status" ] && cmp -s out full; then
      ending="full result (status $full_status)"; fulls=$((fulls + 1))
      [ "$fulls" -gt 1 ] || first_full=$limit
    elif [ "$status" != 1 ] && [ "$status" != 255 ]; then
      ending="FAILED: status $status"
    elif [ -n "$(tail -c 1 out)" ]; then
      ending="FAILED: torn last line"
    elif [ "$lines" = 0 ]; then
      ending="status $status, no output"; fulls=0
    elif head -n "$lines" messages | cmp -s - out; then
      ending="status $status, messages, no closing line"; fulls=0
    elif head -n $((lines - 1)) out | cmp -s - <(head -n $((lines - 1)) messages) &&
      tail -n 1 out | grep -qE "$closing"; then
      ending="status $status, closing line: $(tail -n 1 out | sed -E 's/[0-9]+/N/g; s/(无法映射配置文件 ).*/\1.../')"; fulls=0
    else
      ending="FAILED: output is not a prefix of the messages"
    fi
    case $ending in FAILED*) failed=1; echo "$shape at $limit bytes: $ending" ;; esac
    echo "$ending" >>endings
    echo "$shape $limit $lines $ending" >>"${SWEEP_LOG:-/dev/null}"
    if [ "$limit" -lt $((start + (4 << 20))) ]; then limit=$((limit + (64 << 10))); else limit=$((limit + (1 << 20))); fi
    [ "$limit" -lt $((1 << 30)) ] || { echo "$shape: no full result under 1 GiB"; exit 1; }
  done
  echo "$shape: $(wc -l <messages) messages, full result from $((first_full >> 10)) KiB"
done
echo "$tried limits tried; endings:"
sort endings | uniq -c | sort -rn
exit "$failed"
