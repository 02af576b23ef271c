#!/usr/bin/env bash
# Builds and runs the benchmarks, then prints only the ratio table (each operation beside what it
# should approach), so two commits can be compared by running this in each.
# Usage: scripts/bench-ratios.sh [benchmark options, e.g. --benchmark_filter=CharSet]
# MOSAIQUA_BENCH_PRESET picks the build (default ci); ratios use CPU time, medians of 5 runs.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${MOSAIQUA_BENCH_PRESET:-ci}
cmake --preset "$preset" >/dev/null
targets=(mosaiqua_bench)
grep -q '^MOSAIQUA_BUILD_UI:BOOL=ON' "build/$preset/CMakeCache.txt" && targets+=(mosaiqua_ui_bench)
cmake --build "build/$preset" --target "${targets[@]}" >/dev/null

options=(--benchmark_min_time=0.5 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@")
first=1
for target in "${targets[@]}"; do
  # The table starts at its header line; print the header once.
  "build/$preset/bench/$target" "${options[@]}" 2>/dev/null |
    awk -v first="$first" '/^operation / { on = 1; if (!first) next } on && NF'
  first=0
done
