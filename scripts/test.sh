#!/usr/bin/env bash
# Installs what is missing, then runs everything CI runs: every test on a
# normal build, every test again on a build with ASan and UBSan (clang), and
# each fuzz target for 30 seconds. `scripts/test.sh quick` stops after the
# first of the three.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
stage() { echo "== $1 ($(date +%T))"; }

stage "tests"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 900)
[ "${1:-}" = quick ] && exit 0

stage "tests under ASan and UBSan"
CXX=clang++-14 CC=clang-14 cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGASTRID_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
# The crash test kills fewer children here: it is about the file, and each
# start of an instrumented child is slow. A failed test runs once more: the
# leak checker's own tracer can crash at exit while network threads wind
# down; a real finding fails both times.
(cd build-asan && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  GASTRID_CRASH_KILLS=8 GASTRID_CRASH_UPGRADE_KILLS=4 ctest --output-on-failure -j"$jobs" --timeout 1800 \
  --repeat until-pass:2)

stage "fuzzing"
scripts/fuzz.sh 30
stage "done"
