#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan, UBSan) and runs each for the given
# number of seconds (default 30) on a copy of its seed corpus. The seed is
# fixed (and Qt's hash seed too) so a run can be repeated where it failed;
# FUZZ_SEED=N picks another sequence for longer runs by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
CXX=clang++-14 CC=clang-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGASTRID_FUZZ=ON >/dev/null
targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
cmake --build build-fuzz -j"$(nproc)" --target $targets
status=0
for t in $targets; do
  name=${t#fuzz_}
  work=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
  echo "== $t (${seconds}s)"
  log="build-fuzz/$t.log"
  if QT_HASH_SEED=0 QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/$t" -seed="${FUZZ_SEED:-1}" \
      -max_total_time="$seconds" -max_len=65536 \
      -artifact_prefix="build-fuzz/$t-" "$work" >"$log" 2>&1; then
    grep -E "Done [0-9]+ runs" "$log" || true
  else
    status=1
    tail -n 40 "$log"
  fi
  rm -rf "$work"
done
exit $status
