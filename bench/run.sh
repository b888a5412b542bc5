#!/usr/bin/env bash
# Times applist-check on generated rule files of 3,000, 100,000 and 1,000,000
# rules against two floors measured in the same run, and prints a Markdown
# table and the check of each performance target.
#
#   bench/run.sh [BUILD_DIR]
#
# BUILD_DIR (default build-bench) is configured and built here with the
# project's default build type. Environment:
#   RUNS=7          timed runs per program (the median is shown)
#   MEMORY_RUNS=3   runs under /usr/bin/time -v per program (median peak)
#   SIZES="3000 100000 1000000"   rule counts
#   SEED=1          generator seed
#   KEEP_FILES=DIR  keep the generated files in DIR instead of a temp dir
#
# Needs cmake, a C++ compiler, uthash and GNU time (Debian: time). The valid
# rules use CPUs 0 and 1 only, which this machine must have.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
runs=${RUNS:-7}
memory_runs=${MEMORY_RUNS:-3}
sizes=${SIZES:-"3000 100000 1000000"}
seed=${SEED:-1}

if ! /usr/bin/time -v true >/dev/null 2>&1; then
    echo "run.sh: needs GNU time as /usr/bin/time (Debian: apt-get install time)" >&2
    exit 1
fi

echo "Building in $build ..." >&2
cmake -S "$root" -B "$build" -DAPPLIST_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target applist-check applist_gen_rules applist_empty_floor applist_touch_floor >/dev/null

tool=$build/applist-check
gen=$build/bench/applist_gen_rules
empty=$build/bench/applist_empty_floor
touch_floor=$build/bench/applist_touch_floor
record_size=$("$touch_floor" --record)

if [ -n "${KEEP_FILES:-}" ]; then
    work=$KEEP_FILES
    mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi

# Wall time of one run in microseconds, output discarded.
time_once() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    local end=$EPOCHREALTIME
    echo $(( (${end/./} - ${start/./}) ))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Median peak resident set of a program, in KiB, from /usr/bin/time -v.
peak_kib() {
    local i
    for ((i = 0; i < memory_runs; ++i)); do
        /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
    done | median
}

echo "Generating files (seed $seed) ..." >&2
declare -A file bytes lines
for n in $sizes; do
    file[$n]=$work/rules-$n.conf
    [ -s "${file[$n]}" ] || "$gen" -n "$n" -s "$seed" -o "${file[$n]}" 2>/dev/null
    bytes[$n]=$(stat -c %s "${file[$n]}")
    lines[$n]=$(wc -l <"${file[$n]}")
    # Every generated line must be accepted, or the timings mean nothing.
    expected="配置文件解析完成，共加载 $n 条规则，"
    output=$("$tool" -c "${file[$n]}") || { echo "run.sh: applist-check rejected ${file[$n]}:" >&2; echo "$output" | head -5 >&2; exit 1; }
    case $output in "$expected"*) ;; *) echo "run.sh: unexpected output: $output" >&2; exit 1 ;; esac
done

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Timing, $runs runs each ..." >&2
declare -A samples
for ((r = 0; r < runs; ++r)); do
    # Interleaved, so a burst of load elsewhere hits every program alike.
    samples[empty]+="$(time_once "$empty") "
    for n in $sizes; do
        samples[touch$n]+="$(time_once "$touch_floor" "$n") "
        samples[tool$n]+="$(time_once "$tool" -c "${file[$n]}") "
    done
done
declare -A us kib
for key in "${!samples[@]}"; do us[$key]=$(tr ' ' '\n' <<<"${samples[$key]}" | grep . | median); done
kib[empty]=$(peak_kib "$empty")
for n in $sizes; do
    kib[touch$n]=$(peak_kib "$touch_floor" "$n")
    kib[tool$n]=$(peak_kib "$tool" -c "${file[$n]}")
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

ms() { awk -v u="$1" 'BEGIN { printf (u < 10000 ? "%.2f ms" : (u < 1000000 ? "%.1f ms" : "%.2f s")), (u < 1000000 ? u / 1000 : u / 1e6) }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }
group() { sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$1"; }

echo
echo "| rules | bytes | time (median of $runs) | lines/s | floor (same run) | ratio to floor | peak memory |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
for n in $sizes; do
    rate=$(awk -v l="${lines[$n]}" -v u="${us[tool$n]}" 'BEGIN { printf "%.1f M", l / (u / 1e6) / 1e6 }')
    if [ "$n" -le 10000 ]; then floor_key=empty; floor_name="empty program"; else floor_key=touch$n; floor_name="touch $(group "$n") records"; fi
    ratio=$(awk -v a="${us[tool$n]}" -v b="${us[$floor_key]}" 'BEGIN { printf "%.2f", a / b }')
    echo "| $(group "$n") | $(group "${bytes[$n]}") | $(ms "${us[tool$n]}") | $rate | $floor_name: $(ms "${us[$floor_key]}") | $ratio | $(mib "${kib[tool$n]}") |"
done
echo
echo "Floors: empty program $(ms "${us[empty]}"), $(mib "${kib[empty]}");$(for n in $sizes; do printf ' touch %s × %s B: %s, %s;' "$(group "$n")" "$record_size" "$(ms "${us[touch$n]}")" "$(mib "${kib[touch$n]}")"; done)"
echo "Load average (1, 5, 15 min) before timing: $load_before; after: $load_after; $(nproc) CPUs."

# The targets, where their sizes were measured.
echo
check() { if [ "$1" = 1 ]; then echo "- [x] $2"; else echo "- [ ] $2 (MISSED)"; fi; }
has() { [[ " $sizes " == *" $1 "* ]]; }
if has 3000; then
    d=${us[tool3000]}; e=${us[empty]}
    check "$(awk -v d="$d" -v e="$e" 'BEGIN { print (d - e <= 2000) }')" \
        "3,000 rules within 2 ms of the empty program: $(ms "$d") - $(ms "$e") = $(ms $((d - e)))"
fi
if has 100000; then
    d=${us[tool100000]}
    check "$(awk -v d="$d" 'BEGIN { print (d * 100 <= 18700000) }')" \
        "100,000 rules at least 100 times faster than the quadratic scan's 18.7 s: $(ms "$d") ($(awk -v d="$d" 'BEGIN { printf "%.0f", 18.7e6 / d }') times)"
fi
if has 1000000; then
    d=${us[tool1000000]}; f=${us[touch1000000]}
    check "$(awk -v d="$d" -v f="$f" 'BEGIN { print (d <= 2 * f) }')" \
        "1,000,000 rules at most 2 times the memory-touch floor: $(ms "$d") / $(ms "$f") = $(awk -v d="$d" -v f="$f" 'BEGIN { printf "%.2f", d / f }')"
    limit=$(awk -v s="$record_size" 'BEGIN { printf "%d", (1.3 * 1000000 * s + 16 * 1048576) / 1024 }')
    check "$(awk -v k="${kib[tool1000000]}" -v l="$limit" 'BEGIN { print (k <= l) }')" \
        "1,000,000 rules peak memory at most 1.3 × 1,000,000 × $record_size B + 16 MiB = $(mib "$limit"): $(mib "${kib[tool1000000]}")"
    if has 100000; then
        check "$(awk -v a="${us[tool1000000]}" -v b="${us[tool100000]}" 'BEGIN { print (a <= 12 * b) }')" \
            "linear: 1,000,000 rules at most 12 times 100,000 rules: $(awk -v a="${us[tool1000000]}" -v b="${us[tool100000]}" 'BEGIN { printf "%.1f", a / b }') times"
    fi
fi
