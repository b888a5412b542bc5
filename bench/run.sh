#!/usr/bin/env bash
# Times applist-check on generated rule files and prints a Markdown table of
# rules, file size, median wall time and median peak RSS (GNU /usr/bin/time).
# The rules name CPUs 0-7 and the tool runs as `applist-check-for 0-7`, so no
# figure depends on this machine's CPUs.
#
#   [RUNS=7] [SIZES="3000 100000 1000000"] [SEED=1] bench/run.sh [BUILD_DIR]
#
# BUILD_DIR (default build-bench) is configured and built as needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
runs=${RUNS:-7} sizes=${SIZES:-"3000 100000 1000000"} seed=${SEED:-1}

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target applist-check applist-check-for >/dev/null
tool=("$build/applist-check-for" 0-7)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "| rules | bytes | wall time (median of $runs) | peak RSS (median) |"
echo "|---:|---:|---:|---:|"
for n in $sizes; do
    file=$work/rules-$n.conf
    python3 "$root/bench/gen_rules.py" "$n" "$seed" >"$file"
    # Every rule must be accepted, or the timings mean nothing.
    out=$("${tool[@]}" -c "$file") || { echo "run.sh: $file rejected: ${out:0:300}" >&2; exit 1; }
    [[ $out == *"共加载 $n 条规则"* ]] || { echo "run.sh: unexpected output: $out" >&2; exit 1; }
    for ((r = 0; r < runs; ++r)); do
        start=$EPOCHREALTIME
        "${tool[@]}" -c "$file" >/dev/null
        end=$EPOCHREALTIME
        echo $((${end/[.,]/} - ${start/[.,]/})) >>"$work/us-$n"
        /usr/bin/time -f %M -a -o "$work/kib-$n" "${tool[@]}" -c "$file" >/dev/null
    done
    awk -v n="$n" -v b="$(stat -c %s "$file")" -v u="$(median <"$work/us-$n")" -v k="$(median <"$work/kib-$n")" \
        'BEGIN { printf "| %d | %d | %.1f ms | %.1f MiB |\n", n, b, u / 1000, k / 1024 }'
done
