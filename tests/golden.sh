#!/bin/sh
# Runs one golden case file (cram format) against the built tools.
#
#   tests/golden.sh CASE.t BUILD_DIR [RUNNER...]
#
# The case sees `applist-check`, `applist-check-for` and `applist-lint` on
# PATH, $SRCDIR (the project root) and $SHIMS (the test shims,
# tests/shims/<name>.c built as <name>.so). With a RUNNER (an emulator such
# as qemu-aarch64-static, or valgrind with its options) each tool runs under
# it.
# A prose line "Needs: X Y" skips the whole file, with the reason, where one
# of them cannot be had: preload (an LD_PRELOAD shim reaching the tool),
# native (no sanitizer, no runner: memory limits and peak memory), namespace
# (a private mount namespace, for faking the kernel's present-CPU file),
# gnu-time (/usr/bin/time with -f), sarif-schema (the SARIF 2.1.0 schema at
# ../shared/schemas beside the project, and python3's jsonschema), or any other
# word: that program on PATH.
# $CRAM_COMMAND names the cram program (default cram3; cram itself reads
# $CRAM as extra arguments). Exit status: 0 passed, 1 failed, 77 skipped.
set -u
case_file=$1 build=$2
shift 2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT INT TERM
# Open to all: some cases run the tool as another user.
mkdir -m 755 "$scratch/bin" && chmod 755 "$scratch"

for tool in applist-check applist-check-for applist-lint; do
    [ $# -gt 0 ] || { ln -s "$build/$tool" "$scratch/bin/$tool"; continue; }
    # qemu is told the name the tool was started by, as a shell gives it.
    case ${1##*/} in qemu-*) name="-0 $tool" ;; *) name= ;; esac
    printf '#!/bin/sh\nexec %s %s "%s" "$@"\n' "$*" "$name" "$build/$tool" >"$scratch/bin/$tool"
    chmod +x "$scratch/bin/$tool"
done
PATH=$scratch/bin:$PATH
SRCDIR=$(cd "$(dirname "$0")/.." && pwd)
SHIMS=$build/shims
# glibc fills fresh heap memory with this byte's complement: a read of
# memory the tool never wrote shows.
MALLOC_PERTURB_=165
export PATH SRCDIR SHIMS MALLOC_PERTURB_

skip() { echo "skipped: $*"; exit 77; }
for need in $(sed -n 's/^Needs: //p' "$case_file"); do
    case $need in
        preload | native)
            [ $# -eq 0 ] || skip "needs $need runs: the tool runs under $1"
            [ -z "${APPLIST_SANITIZE:-}" ] || skip "needs $need runs: sanitizer build"
            # The shims are built where they reach the tool: a native glibc build.
            [ "$need" = native ] || [ -e "$SHIMS/failalloc.so" ] || skip "needs preload: no test shims here" ;;
        namespace)
            why=$(cd "$scratch" && . "$SRCDIR/tests/case_helpers.sh" && on_phone '0\n' true 2>&1) ||
                skip "needs a private mount namespace: $why" ;;
        gnu-time) /usr/bin/time -f %M true >/dev/null 2>&1 || skip "needs GNU time as /usr/bin/time" ;;
        sarif-schema)
            [ -r "$SRCDIR/../shared/schemas/sarif-schema-2.1.0.json" ] || skip "needs the SARIF schema beside the project"
            python3 -c 'import jsonschema' 2>/dev/null || skip "needs python3's jsonschema module" ;;
        *) command -v "$need" >/dev/null 2>&1 || skip "needs $need" ;;
    esac
done

# cram leaves a .err file beside a failing case: run a copy.
cp "$case_file" "$scratch/"
"${CRAM_COMMAND:-cram3}" --shell=/bin/sh "$scratch/$(basename "$case_file")"
