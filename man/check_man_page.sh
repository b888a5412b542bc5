#!/bin/sh
# Checks a manual page against the program it documents:
#   - groff renders it without a single warning (-ww);
#   - its footer (.TH) names the project's VERSION;
#   - every message the program can print (the string literals with non-ASCII
#     text in its SOURCE files) appears on a line of the rendered page byte
#     for byte, each conversion (%zu, %s, %.*s, %04X...) standing for any
#     text (the page shows placeholders there);
#   - where the sources name finding codes (string literals such as "E001" or
#     "W101"), each of them has an entry in the page, a subsection (.SS) whose
#     heading starts with the code, and no entry names a code the sources do
#     not.
# Usage: check_man_page.sh PAGE VERSION SOURCE...
# Exits 77, which CTest reports as skipped, where groff is not installed.
set -eu
page=$1
version=$2
shift 2

if ! command -v groff >/dev/null 2>&1; then
    echo "groff is not installed (Debian: apt-get install groff-base): manual page not checked"
    exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Byte-wise matching throughout: the page and the sources are UTF-8.
LC_ALL=C
export LC_ALL

if ! groff -man -Tutf8 -ww -z "$page" >"$scratch/warnings" 2>&1 || [ -s "$scratch/warnings" ]; then
    echo "groff warns about $page:"
    cat "$scratch/warnings"
    exit 1
fi

if ! grep -q "^\.TH .* \"applist-check $version\"" "$page"; then
    echo "$page: its .TH line does not name applist-check $version"
    exit 1
fi

# Plain text: no SGR sequences, no overstriking for bold or italics.
groff -man -Tutf8 -P-cbou "$page" >"$scratch/page.txt"

grep -ohP '"(?:[^"\\]|\\.)*[\x80-\xff](?:[^"\\]|\\.)*"' "$@" |
    sed -e 's/^"//' -e 's/"$//' -e 's/\\n$//' -e 's/\\"/"/g' | sort -u >"$scratch/messages"

count=$(wc -l <"$scratch/messages")
if [ "$count" -lt 5 ]; then
    echo "found only $count messages in $*; the extraction is broken"
    exit 1
fi

missing=0
while IFS= read -r message; do
    pattern=$(printf '%s' "$message" | sed -E -e 's/%[-+ #0]*[0-9]*(\.([0-9]+|\*))?(hh|h|ll|l|z|j|t)?[diouxXcs]/@ANY@/g' \
        -e 's/[][\.*^$+?(){}|]/\\&/g' -e 's/@ANY@/.*/g')
    if ! grep -qE "^ *${pattern} *\$" "$scratch/page.txt"; then
        echo "not shown exactly in $page: $message"
        missing=$((missing + 1))
    fi
done <"$scratch/messages"

if [ "$missing" -ne 0 ]; then
    echo "$missing of $count messages are missing from the manual page"
    exit 1
fi

grep -ohE '"[EW][0-9]{3}"' "$@" | tr -d '"' | sort -u >"$scratch/codes"
# A subsection heading is indented by three blanks.
sed -n 's/^   \([EW][0-9][0-9][0-9]\)\( .*\)\{0,1\}$/\1/p' "$scratch/page.txt" | sort -u >"$scratch/entries"
codes=$(wc -l <"$scratch/codes")
if [ "$codes" -ne 0 ]; then
    if [ "$codes" -lt 20 ]; then
        echo "found only $codes codes in $*; the extraction is broken"
        exit 1
    fi
    comm -23 "$scratch/codes" "$scratch/entries" | sed "s|^|no entry in $page for the code |"
    comm -13 "$scratch/codes" "$scratch/entries" | sed "s|^|$page has an entry for an unknown code |"
    cmp -s "$scratch/codes" "$scratch/entries" || exit 1
    echo "$page renders without warnings, shows all $count messages and has an entry for each of $codes codes"
else
    echo "$page renders without warnings and shows all $count messages"
fi
