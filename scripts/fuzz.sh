#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time, starting from the seed
# corpora in tests/fuzz/corpus/<target>. Usage: scripts/fuzz.sh [seconds per target, default 15].
# New inputs found go to build/fuzz/corpus/<target>; a crash stops the run with its reproducer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMOSAIQUA_FUZZ=ON -DMOSAIQUA_BUILD_UI=OFF -DMOSAIQUA_BUILD_TESTS=OFF -DMOSAIQUA_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc 2>/dev/null || echo 2)"

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for exe in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  work=build/fuzz/corpus/$name
  mkdir -p "$work" build/fuzz/artifacts
  seeds=tests/fuzz/corpus/$name
  [ -d "$seeds" ] || seeds=
  echo "== $name for ${seconds}s"
  if ! "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix=build/fuzz/artifacts/"$name"- "$work" $seeds 2>build/fuzz/"$name".log; then
    echo "!! $name found a failure; see build/fuzz/$name.log and build/fuzz/artifacts/"
    tail -40 build/fuzz/"$name".log
    status=1
  else
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' build/fuzz/"$name".log || true
  fi
done
exit $status
