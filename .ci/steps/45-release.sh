#!/usr/bin/env bash
# The release as users get it. `cmake --workflow --preset release` writes
# exactly three files to dist/, whose checksums hold. lintian finds no error in
# the .deb but the Maintainer's missing address, and CONTRIBUTING.md explains
# each warning it gives. The .deb installs with apt-get; each program runs,
# `man -w` finds its page, and `apt-get remove` leaves no file of the package.
# The tarball holds exactly its files; its programs are static AArch64
# executables, which run under qemu-aarch64-static.
set -euo pipefail
cd "$(dirname "$0")/../.."
export DEBIAN_FRONTEND=noninteractive

apt-get install -y -qq --no-install-recommends \
  g++-aarch64-linux-gnu qemu-user-static dpkg-dev file lintian man-db >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$*"; exit 1; }

programs="applist-check applist-check-for"
# The lint joins the release with its manual page.
if [ -e man/applist-lint.1 ]; then programs+=" applist-lint"; fi
version=$(sed -n 's/^project(applist-check VERSION \([^ ]*\) .*/\1/p' CMakeLists.txt)
top=applist-check-$version-android-arm64
tarball=$top.tar.gz
deb=applist-check_${version}_$(dpkg --print-architecture).deb

echo "-- cmake --workflow --preset release"
rm -rf build-release dist
cmake --workflow --preset release >"$scratch/workflow.log" 2>&1 || { cat "$scratch/workflow.log"; exit 1; }
[ "$(cd dist && LC_ALL=C ls)" = "$(printf '%s\n' SHA256SUMS "$tarball" "$deb")" ] ||
  fail "dist/ holds $(ls dist), not SHA256SUMS, $tarball and $deb"
(cd dist && sha256sum -c SHA256SUMS)

# Each program of DIR, run by the optional RUNNER, prints its usage and checks
# the example, which names CPUs 0 and 1 only: applist-check reads this
# machine's own CPUs.
check_programs() {
  local dir=$1 program status actual expected args
  shift
  local summary='配置文件解析完成，共加载 8 条规则，3 条通配符规则'
  for program in $programs; do
    "$@" "$dir/$program" -h >/dev/null || fail "$dir/$program -h failed"
    case $program in
      applist-check) args=(-c examples/applist.conf) expected=$summary ;;
      applist-check-for) args=(0-7 -c examples/applist.conf) expected=$summary ;;
      applist-lint) args=(-p 0-7 examples/applist.conf) expected= ;;
    esac
    status=0
    actual=$("$@" "$dir/$program" "${args[@]}" 2>&1) || status=$?
    [ "$actual" = "$expected" ] && [ "$status" -eq 0 ] ||
      fail "$dir/$program ${args[*]}: status $status, output: $actual"
    echo "$dir/$program runs"
  done
}

echo "-- lintian"
lintian --suppress-tags malformed-contact,bogus-mail-host "dist/$deb" >"$scratch/lintian" 2>&1 ||
  { cat "$scratch/lintian"; fail "lintian finds errors in $deb"; }
cat "$scratch/lintian"
for tag in $(sed -n 's/^W: [^ ]* \([^ ]*\).*/\1/p' "$scratch/lintian" | sort -u); do
  grep -q "\`$tag\`" CONTRIBUTING.md || fail "lintian warns $tag, which CONTRIBUTING.md does not explain"
done

echo "-- apt-get install ./dist/$deb"
# Slim Debian images tell dpkg to leave out every manual page
# (path-exclude in /etc/dpkg/dpkg.cfg.d/); let ours in, to check they are there.
include=()
if grep -qs '^path-exclude[= ]*/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
  echo "dpkg leaves out manual pages on this machine; ours are let in"
  include=(-o "DPkg::Options::=--path-include=/usr/share/man/man1/applist-*")
fi
apt-get install -y -qq "${include[@]}" "./dist/$deb" >/dev/null
check_programs /usr/bin
# lintian has checked that the programs are stripped and the pages compressed.
for program in $programs; do
  [ "$(man -w "$program")" = "/usr/share/man/man1/$program.1.gz" ] || fail "man -w finds no page for $program"
done
dpkg -L applist-check >"$scratch/files"
apt-get remove -y -qq applist-check >/dev/null
while read -r path; do
  [ "$path" != /. ] && [ -e "$path" ] || continue
  # A directory stays when another package has it too.
  [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1 && continue
  fail "apt-get remove left $path"
done <"$scratch/files"
echo "apt-get remove left no file of applist-check"

echo "-- $tarball"
mkdir "$scratch/unpacked"
tar -C "$scratch/unpacked" -xzf "dist/$tarball"
expected=$({ for program in $programs; do printf '%s\n' "bin/$program" "man/$program.1"; done
  printf '%s\n' LICENSE README.md README.zh-CN.md examples/applist.conf; } | sed "s|^|./$top/|" | LC_ALL=C sort)
[ "$(cd "$scratch/unpacked" && find . ! -type d | LC_ALL=C sort)" = "$expected" ] ||
  fail "$tarball does not hold exactly: $expected"
for program in $programs; do
  description=$(file -b "$scratch/unpacked/$top/bin/$program")
  case $description in
    *'ARM aarch64'*'statically linked'*', stripped') ;;
    *) fail "bin/$program is not a static, stripped AArch64 executable: $description" ;;
  esac
done
check_programs "$scratch/unpacked/$top/bin" qemu-aarch64-static
