#!/usr/bin/env bash
# Sets everything up and runs every test: the formatting check, the normal build (warnings as errors), then the
# AddressSanitizer + UndefinedBehaviorSanitizer build, then a short run of every fuzz target.
# Last, the Debian package is built and checked.
# MOSAIQUA_SKIP_ASAN=1 / MOSAIQUA_SKIP_FUZZ=1 / MOSAIQUA_SKIP_PACKAGE=1 skip those steps.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/check-format.sh

jobs=$(nproc 2>/dev/null || echo 2)
run_preset() {
  local preset=$1
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: tests"
  ctest --preset "$preset"
}

run_preset ci
if [ "${MOSAIQUA_SKIP_ASAN:-0}" != 1 ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
  run_preset asan
fi

if [ "${MOSAIQUA_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== fuzz: 15 s per target"
  bash scripts/fuzz.sh 15
fi

if [ "${MOSAIQUA_SKIP_PACKAGE:-0}" != 1 ]; then
  bash scripts/check-package.sh
fi
