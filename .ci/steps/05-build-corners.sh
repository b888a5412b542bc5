#!/usr/bin/env bash
# Builds the project and runs the whole test suite in the two corners of the
# compilers and build types users meet: g++ Release and clang Debug, each in a
# build directory of its own, with warnings as errors (APPLIST_WERROR=ON). The
# README's default build (RelWithDebInfo) has already run.
set -euo pipefail
cd "$(dirname "$0")/../.."

apt-get install -y -qq --no-install-recommends clang python3-cram >/dev/null

corner() {
  local build=$1 cc=$2 cxx=$3 type=$4
  echo "-- $cxx $type in $build"
  rm -rf "$build"
  CC=$cc CXX=$cxx cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="$type" -DAPPLIST_WERROR=ON >/dev/null
  cmake --build "$build" -j2
  ctest --test-dir "$build" --output-on-failure
}

corner build-gcc-release gcc g++ Release
corner build-clang-debug clang clang++ Debug
