#!/bin/sh
# Runs one golden case file (cram format) against the built tool.
#
#   tests/golden.sh CASE.t BUILD_DIR [EMULATOR...]
#
# The case sees `applist-check` and `applist-check-for` on PATH, $SRCDIR (the
# project root) and $SHIMS (the test shims, tests/shims/<name>.c built as
# <name>.so). A prose line "Needs: X" skips the whole file, with the reason,
# where X cannot be had: preload (an LD_PRELOAD shim reaching the tool),
# namespace (applist-check-for faking the present CPUs), native (no
# sanitizer, no emulator: memory limits and peak memory).
# $CRAM_COMMAND names the cram program (default cram3; cram itself reads
# $CRAM as extra arguments). Exit status: 0 passed, 1 failed, 77 skipped.
set -u
case_file=$1 build=$2
shift 2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT INT TERM
# Open to all: some cases run the tool as another user.
mkdir -m 755 "$scratch/bin" && chmod 755 "$scratch"

if [ $# -gt 0 ]; then
    # Cross build: run the tool through the emulator, under its own name.
    printf '#!/bin/sh\nexec %s -0 applist-check "%s" "$@"\n' "$*" "$build/applist-check" >"$scratch/bin/applist-check"
    chmod +x "$scratch/bin/applist-check"
else
    ln -s "$build/applist-check" "$scratch/bin/applist-check"
fi
ln -s "$build/applist-check-for" "$scratch/bin/applist-check-for"
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
            [ $# -eq 0 ] || skip "needs $need runs: the tool runs under an emulator"
            [ -z "${APPLIST_SANITIZE:-}" ] || skip "needs $need runs: sanitizer build" ;;
    esac
    case $need in
        preload)
            LD_PRELOAD=$SHIMS/failalloc.so FAILALLOC_LOG=$scratch/loaded applist-check -h >/dev/null
            [ -s "$scratch/loaded" ] || skip "needs preload: the shim does not load into the tool (static binary?)" ;;
        namespace)
            why=$(applist-check-for 0 -h) || skip "needs a private mount namespace: $why" ;;
    esac
done

# cram leaves a .err file beside a failing case: run a copy. Its diff writes
# every non-ASCII output line escaped; lines that are plain UTF-8 text are
# shown as text again.
cp "$case_file" "$scratch/"
"${CRAM_COMMAND:-cram3}" --shell=/bin/sh "$scratch/$(basename "$case_file")" >"$scratch/report"
status=$?
python3 -c '
import codecs, sys
for line in open(sys.argv[1], "rb"):
    text = codecs.escape_decode(line[:-7])[0] if line.endswith(b" (esc)\n") else b""
    try:
        line = text + b"\n" if text and text.decode().isprintable() else line
    except UnicodeDecodeError:
        pass
    sys.stdout.buffer.write(line)
' "$scratch/report"
exit $status
