#!/usr/bin/env bash
# Times applist-check and applist-lint on generated rule files and prints a
# Markdown table of rules, file size, median wall time and median peak RSS
# (GNU /usr/bin/time) of each, and the ratio of their wall times; then the
# lint again against a phone made from the file (--packages, --threads): its
# own packages with one in a hundred left out, and 10,000 threads of them,
# and its time over the lint's without a phone. The rules name CPUs 0-7 and
# the programs run as `applist-check-for 0-7` and `applist-lint -p 0-7`, so
# no figure depends on this machine's CPUs.
#
#   [RUNS=7] [SIZES="3000 100000 1000000"] [SEED=1] bench/run.sh [BUILD_DIR]
#
# BUILD_DIR (default build-bench) is configured and built as needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
runs=${RUNS:-7} sizes=${SIZES:-"3000 100000 1000000"} seed=${SEED:-1}

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target applist-check applist-check-for applist-lint >/dev/null
check=("$build/applist-check-for" 0-7 -c)
lint=("$build/applist-lint" -p 0-7)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# measure NAME COMMAND...: one timed run (µs to NAME.us) and one run under GNU
# time (peak KiB to NAME.kib). Status 1 (findings) is a run like another.
measure() {
    local name=$1 start end
    shift
    start=$EPOCHREALTIME
    "$@" >/dev/null || [[ $? -eq 1 ]]
    end=$EPOCHREALTIME
    echo $((${end/[.,]/} - ${start/[.,]/})) >>"$work/$name.us"
    /usr/bin/time -q -f %M -a -o "$work/$name.kib" "$@" >/dev/null || [[ $? -eq 1 ]]
}

# phone FILE PACKAGES THREADS: the phone of FILE, as pm and ps would list it.
phone() {
    python3 - "$@" <<'EOF'
import sys
packages, threads = [], ["CMD             NAME"]
for line in open(sys.argv[1]):
    key, equals, _ = line.partition("=")
    package, _, thread = key.partition("{")
    if line.startswith("#") or not equals or "*" in package:
        continue
    if not thread:
        packages.append(package)
    elif len(threads) <= 10000:
        threads.append("%-15s %s" % (thread.rstrip("}"), package))
with open(sys.argv[2], "w") as out:
    out.writelines("package:%s\n" % p for i, p in enumerate(packages) if i % 100 != 99)
with open(sys.argv[3], "w") as out:
    out.writelines(t + "\n" for t in threads)
EOF
}

echo "| rules | bytes | check: wall time (median of $runs) | check: peak RSS | lint: wall time | lint: peak RSS | lint / check | lint with phone: wall time | peak RSS | with phone / lint |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for n in $sizes; do
    file=$work/rules-$n.conf
    python3 "$root/bench/gen_rules.py" "$n" "$seed" >"$file"
    # Every rule must be accepted and nothing reported, or the timings mean
    # nothing.
    out=$("${check[@]}" "$file") || { echo "run.sh: $file rejected: ${out:0:300}" >&2; exit 1; }
    [[ $out == *"共加载 $n 条规则"* ]] || { echo "run.sh: unexpected output: $out" >&2; exit 1; }
    out=$("${lint[@]}" "$file") || { echo "run.sh: the lint reports on $file: ${out:0:300}" >&2; exit 1; }
    phone "$file" "$work/packages-$n" "$work/threads-$n"
    with_phone=("${lint[@]}" --packages="$work/packages-$n" --threads="$work/threads-$n")
    # Its findings are the point: status 1, and no message on standard error.
    status=0 && "${with_phone[@]}" "$file" >/dev/null 2>"$work/phone.err" || status=$?
    [[ $status -le 1 && ! -s $work/phone.err ]] || { echo "run.sh: the lint with a phone failed ($status)" >&2; exit 1; }
    for ((r = 0; r < runs; ++r)); do
        measure check-$n "${check[@]}" "$file"
        measure lint-$n "${lint[@]}" "$file"
        measure phone-$n "${with_phone[@]}" "$file"
    done
    awk -v n="$n" -v b="$(stat -c %s "$file")" \
        -v cu="$(median <"$work/check-$n.us")" -v ck="$(median <"$work/check-$n.kib")" \
        -v lu="$(median <"$work/lint-$n.us")" -v lk="$(median <"$work/lint-$n.kib")" \
        -v pu="$(median <"$work/phone-$n.us")" -v pk="$(median <"$work/phone-$n.kib")" \
        'BEGIN { printf "| %d | %d | %.1f ms | %.1f MiB | %.1f ms | %.1f MiB | %.2f | %.1f ms | %.1f MiB | %.2f |\n",
                 n, b, cu / 1000, ck / 1024, lu / 1000, lk / 1024, lu / cu, pu / 1000, pk / 1024, pu / lu }'
done

# The lint in each format against the checker on two shapes of 1,000,000
# lines (SHAPE_LINES): valid rules, and lines like "bad line N", each a
# finding. Memory is the lint's peak beside its peak on a one-line file.
lines=${SHAPE_LINES:-1000000}
formats=(gcc json github sarif)
printf 'game=0\n' >"$work/one.conf"
for ((r = 0; r < runs; ++r)); do /usr/bin/time -f %M -a -o "$work/one.kib" "${lint[@]}" "$work/one.conf" >/dev/null; done
echo
echo "Lint on a one-line file: peak RSS $(median <"$work/one.kib") KiB."
echo
echo "| shape ($lines lines) | format | check: wall time | check: peak RSS | lint: wall time | lint: peak RSS | lint / check |"
echo "|---|---|---:|---:|---:|---:|---:|"
python3 "$root/bench/gen_rules.py" "$lines" "$seed" >"$work/valid.conf"
seq -f 'bad line %g' "$lines" >"$work/bad.conf"
for shape in valid bad; do
    file=$work/$shape.conf
    for ((r = 0; r < runs; ++r)); do measure "check-$shape" "${check[@]}" "$file" || true; done
    for format in "${formats[@]}"; do
        for ((r = 0; r < runs; ++r)); do measure "lint-$shape-$format" "${lint[@]}" -f "$format" "$file" || true; done
        awk -v s="$shape" -v f="$format" \
            -v cu="$(median <"$work/check-$shape.us")" -v ck="$(median <"$work/check-$shape.kib")" \
            -v lu="$(median <"$work/lint-$shape-$format.us")" -v lk="$(median <"$work/lint-$shape-$format.kib")" \
            'BEGIN { printf "| %s | %s | %.1f ms | %.0f KiB | %.1f ms | %.0f KiB | %.2f |\n", s, f, cu / 1000, ck, lu / 1000, lk, lu / cu }'
    done
done
