#!/usr/bin/env bash
# Static analysis of the programs' code (cli/, rules/, cpuset/, lint/): clang-tidy with
# the checks chosen in .clang-tidy, and cppcheck's warning, style,
# performance and portability checks. Any finding fails the
# step. A suppression is a NOLINT or cppcheck-suppress comment at its line,
# with the reason beside it.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${CI:-}" = true ] || ! dpkg -s clang-tidy cppcheck >/dev/null 2>&1; then
  apt-get install -y -qq --no-install-recommends clang-tidy cppcheck >/dev/null
fi

build=build-analyze
# Only the compile commands are needed, not a build.
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DBUILD_TESTING=OFF >/dev/null

sources=(cli/*.cpp rules/*.cpp cpuset/*.cpp lint/*.cpp)
status=0

echo "clang-tidy $(clang-tidy --version | sed -n 's/.*version \([0-9.]*\).*/\1/p' | head -n 1) on ${#sources[@]} files"
# Its count of warnings it suppressed in system headers is noise.
printf '%s\n' "${sources[@]}" | xargs -P 2 -n 1 clang-tidy -p "$build" --quiet 2>&1 \
  | { grep -v ' warnings\? generated\.$' || true; } || status=1

echo "cppcheck $(cppcheck --version)"
filters=()
for source in "${sources[@]}"; do filters+=("--file-filter=$source"); done
cppcheck --project="$build/compile_commands.json" "${filters[@]}" --quiet \
  --enable=warning,style,performance,portability --inline-suppr --error-exitcode=1 \
  --template='{file}:{line}: {severity} [{id}] {message}' || status=1

exit "$status"
