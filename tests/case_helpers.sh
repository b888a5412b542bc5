# Shell functions the golden cases share; a case file reads them with
#   $ . "$SRCDIR/tests/case_helpers.sh"

# x N [BYTE]: N copies of BYTE (default x), for lines of a given length.
x() { head -c "$1" /dev/zero | tr '\0' "${2:-x}"; }

# check TEXT [LIST]: writes TEXT (printf escapes) as rules.conf and checks it
# for a phone whose present CPUs are LIST (default 0-7).
check() { printf "$1" > rules.conf && applist-check-for "${2-0-7}" -c rules.conf; }

# squeeze BYTES COMMAND...: runs COMMAND with each run of BYTES in its output
# squeezed to one byte (tr -s); the status is COMMAND's own.
squeeze() { sq=$1 && shift && "$@" > squeezed.out; sq_status=$?; tr -s "$sq" < squeezed.out; return $sq_status; }

# on_phone PRESENT COMMAND...: runs COMMAND in a private mount namespace where
# /sys/devices/system/cpu holds only a file "present" with PRESENT (printf
# escapes), or nothing at all when PRESENT is "-". An ordinary user is root in
# a user namespace of their own there. The command is exec'd after the
# mount, so its status is its own.
on_phone() {
    rm -rf fake-cpu && mkdir fake-cpu && { [ "$1" = - ] || printf "$1" > fake-cpu/present; } && shift
    if [ "$(id -u)" = 0 ]; then user=; else user=-r; fi
    unshare $user -m -- sh -c 'mount --bind "$0" /sys/devices/system/cpu && exec "$@"' "$PWD/fake-cpu" "$@"
}

# lint TEXT [LIST] [OPTION...]: writes TEXT (printf escapes) as rules.conf and
# lints it with applist-lint for present CPUs LIST (default 0-7).
lint() {
    lint_text=$1 lint_list=${2-0-7} && shift && { [ $# -eq 0 ] || shift; }
    printf "$lint_text" > rules.conf && applist-lint -p "$lint_list" "$@" rules.conf
}

# hostile_files: four rule files whose names hold a space, ',', ':', '%', a
# backslash, Chinese and U+10000, and whose lines put a tab, Chinese and
# U+10000 before findings, a line separator, "%0A", ',', ':', '"' and a
# backslash in texts; the last file has no rule. Then recipe LANG writes the
# block of docs/editors.md in ```LANG as editors.LANG.
hostile_files() {
    for n in 'sp ace.conf' 'x,y:%.conf' 'back\slash.conf'; do
        printf '\t游戏=010\n𐀀{main }=1-2000 \342\200\250\nbad %%0A ,:: line\nq"uo\\te=1\n' > "$n"
    done
    printf 'bad\n' > '游戏 𐀀.conf'
}
recipe() { sed -n "/^\`\`\`$1\$/,/^\`\`\`\$/p" "$SRCDIR/docs/editors.md" | sed '1d;$d' > "editors.$1"; }
