#!/usr/bin/env bash
# The target platform: builds the static AArch64 binary with the README's one
# command, runs the black-box suite against it under qemu-aarch64-static (the
# host-built blackbox_tests from build/, with the faked present-CPU file in a
# mount namespace), cross-builds the unit tests with a cross-built GoogleTest
# and runs them under the emulator, checks the manual page with groff, and
# checks what `cmake --install` puts where. Nothing is registered with
# binfmt: qemu is always called explicitly.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

apt-get install -y -qq --no-install-recommends \
  g++-aarch64-linux-gnu qemu-user-static groff-base man-db >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "-- static AArch64 binary: cmake --workflow --preset aarch64"
rm -rf build-aarch64
cmake --workflow --preset aarch64 >"$scratch/workflow.log" 2>&1 || { cat "$scratch/workflow.log"; exit 1; }
bin=$root/build-aarch64/applist-check
header=$(aarch64-linux-gnu-readelf -h -l "$bin")
grep -q 'Machine: *AArch64' <<<"$header" || { echo "$bin is not an AArch64 executable"; exit 1; }
if grep -q 'INTERP' <<<"$header"; then echo "$bin is not static: it names a program interpreter"; exit 1; fi
ls -l "$bin"

echo "-- the emulated binary reads a present-CPU file bound in a mount namespace"
printf '0-5\n' >"$scratch/present"
printf 'game{RenderThread}=4-7\ngame=0-3\n' >"$scratch/rules.conf"
expected=$'第 1 行无效 CPU 范围：4-7 在规则 game{RenderThread}=4-7，超出可用 CPU (0-5)\n配置文件解析完成，共加载 1 条规则，0 条通配符规则'
status=0
actual=$(unshare -m sh -c 'mount --bind "$0" /sys/devices/system/cpu/present && exec "$@"' \
  "$scratch/present" qemu-aarch64-static "$bin" -c "$scratch/rules.conf") || status=$?
if [ "$actual" != "$expected" ] || [ "$status" -ne 1 ]; then
  printf 'unexpected output (status %s):\n%s\n' "$status" "$actual"
  exit 1
fi

echo "-- black-box suite against the AArch64 binary under qemu-aarch64-static"
status=0
APPLIST_CHECK_BIN=$bin APPLIST_CHECK_RUNNER=qemu-aarch64-static \
  build/tests/blackbox_tests >"$scratch/blackbox.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then cat "$scratch/blackbox.log"; exit 1; fi
# Skipped tests with their reasons, then gtest's summary.
grep -A1 -E '^\[  SKIPPED \]|Skipped$' "$scratch/blackbox.log" || true
sed -n '/Global test environment tear-down/,$p' "$scratch/blackbox.log"
# The tests that fake the present-CPU file must have run, not skipped.
if grep -q 'needs a private mount namespace' "$scratch/blackbox.log"; then
  echo "black-box tests that fake the present-CPU file were skipped"
  exit 1
fi

echo "-- unit tests, cross-built with a cross-built GoogleTest, under the emulator"
toolchain=$root/cmake/aarch64-linux-gnu.cmake
cmake -S /usr/src/googletest -B "$scratch/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$scratch/googletest-aarch64" >/dev/null
cmake --build "$scratch/googletest" -j2 >/dev/null
cmake --install "$scratch/googletest" >/dev/null
rm -rf build-aarch64-tests
cmake -S . -B build-aarch64-tests -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DAPPLIST_CROSS_PREFIX="$scratch/googletest-aarch64" >/dev/null
# Linking gtest statically warns about getaddrinfo; the tests never resolve names.
cmake --build build-aarch64-tests -j2 --target unit_tests >"$scratch/unit-build.log" 2>&1 ||
  { cat "$scratch/unit-build.log"; exit 1; }
# Only unit_tests is built here; the other suites show up as *_NOT_BUILT.
ctest --test-dir build-aarch64-tests -j2 --output-on-failure -E '_NOT_BUILT$|^man_page'

echo "-- manual page"
sh man/check_man_page.sh man/applist-check.1 "$root"
LC_ALL=C.UTF-8 man --warnings -l man/applist-check.1 >/dev/null 2>"$scratch/man-warnings"
if [ -s "$scratch/man-warnings" ]; then cat "$scratch/man-warnings"; exit 1; fi
echo "man --warnings -l: no warnings"

echo "-- cmake --install"
cmake --install build --prefix "$scratch/install" >/dev/null
for file in bin/applist-check share/man/man1/applist-check.1; do
  [ -f "$scratch/install/$file" ] || { echo "cmake --install did not install $file"; exit 1; }
done
echo "installed bin/applist-check and share/man/man1/applist-check.1"
