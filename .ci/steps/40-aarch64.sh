#!/usr/bin/env bash
# The target platform, built the way the README shows: the static AArch64
# binary from the workflow preset, and a cross build with nothing but the
# toolchain file, in which ctest runs the golden cases against the AArch64
# tool under qemu-aarch64-static (the toolchain file makes it
# CMAKE_CROSSCOMPILING_EMULATOR; nothing is registered with binfmt). Then
# `cmake --install` is checked.
set -euo pipefail
cd "$(dirname "$0")/../.."

apt-get install -y -qq --no-install-recommends \
  g++-aarch64-linux-gnu qemu-user-static python3-cram nlohmann-json3-dev >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "-- static AArch64 binary: cmake --workflow --preset aarch64"
rm -rf build-aarch64
cmake --workflow --preset aarch64 >"$scratch/workflow.log" 2>&1 || { cat "$scratch/workflow.log"; exit 1; }
for bin in build-aarch64/applist-check build-aarch64/applist-check-for build-aarch64/applist-lint; do
  header=$(aarch64-linux-gnu-readelf -h -l "$bin")
  grep -q 'Machine: *AArch64' <<<"$header" || { echo "$bin is not an AArch64 executable"; exit 1; }
  if grep -q 'INTERP' <<<"$header"; then echo "$bin is not static: it names a program interpreter"; exit 1; fi
  ls -l "$bin"
done

echo "-- cross build with the toolchain file alone, tests under the emulator"
build="build-aarch64-ci"
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DAPPLIST_WERROR=ON >/dev/null
cmake --build "$build" -j2
status=0
ctest --test-dir "$build" --output-on-failure >"$scratch/ctest.log" 2>&1 || status=$?
cat "$scratch/ctest.log"
[ "$status" -eq 0 ] || exit 1
# Every case must run against the AArch64 tools but those that preload a
# shim or measure memory.
for skipped in $(sed -n 's/^.* - case:\([^ ]*\) (Skipped)$/\1/p' "$scratch/ctest.log"); do
  if ! grep -qE '^Needs: .*(preload|native)' "tests/cases/$skipped.t"; then
    echo "case:$skipped was skipped, but it must run against the AArch64 tools"
    exit 1
  fi
done

echo "-- cmake --install"
cmake --install "$build" --prefix "$scratch/install" >/dev/null
for file in bin/applist-check bin/applist-check-for bin/applist-lint share/man/man1/applist-check.1 \
  share/man/man1/applist-check-for.1 share/man/man1/applist-lint.1; do
  [ -f "$scratch/install/$file" ] || { echo "cmake --install did not install $file"; exit 1; }
done
for file in bin/applist-check bin/applist-check-for bin/applist-lint; do
  [ -x "$scratch/install/$file" ] || { echo "cmake --install left $file not executable"; exit 1; }
done
# The installed companion runs under the emulator.
printf 'game=9\n' >"$scratch/rules.conf"
status=0
actual=$(qemu-aarch64-static "$scratch/install/bin/applist-check-for" 0-7 -c "$scratch/rules.conf") || status=$?
expected='第 1 行无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7)
未加载有效规则'
if [ "$actual" != "$expected" ] || [ "$status" -ne 1 ]; then
  printf 'installed applist-check-for: unexpected output (status %s):\n%s\n' "$status" "$actual"
  exit 1
fi
# So does the installed lint, as on the phone: the same fault, located.
status=0
actual=$(cd "$scratch" && qemu-aarch64-static "$scratch/install/bin/applist-lint" -p 0-7 rules.conf) || status=$?
expected='rules.conf:1:6: error: 无效 CPU 范围：9 在规则 game{}=9，超出可用 CPU (0-7) [E011]
rules.conf:1:1: error: 未加载有效规则 [E021]'
if [ "$actual" != "$expected" ] || [ "$status" -ne 1 ]; then
  printf 'installed applist-lint: unexpected output (status %s):\n%s\n' "$status" "$actual"
  exit 1
fi
echo "installed bin/applist-check, bin/applist-check-for, bin/applist-lint and their manual pages"
