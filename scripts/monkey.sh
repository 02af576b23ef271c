#!/usr/bin/env bash
# Builds the main-window random walk and runs it offscreen for a long time.
# Usage: scripts/monkey.sh [steps, default 100000] [seed, default random]
# A failure prints the seed and the step; the same two numbers replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
steps=${1:-100000}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
echo "monkey: seed $seed, $steps steps"

cmake -S . -B build/monkey -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOSAIQUA_BUILD_BENCH=OFF >/dev/null
cmake --build build/monkey --target tst_monkey -j "$(nproc 2>/dev/null || echo 2)"

mkdir -p build/monkey/xdg-runtime
chmod 700 build/monkey/xdg-runtime
export QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= XDG_RUNTIME_DIR="$PWD/build/monkey/xdg-runtime"
export MOSAIQUA_MONKEY_STEPS="$steps" MOSAIQUA_MONKEY_SEED="$seed"
# Qt Test stops any test function after 300 s; a long walk is one function.
export QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-86400000}
status=0
build/monkey/tests/ui/tst_monkey || status=$?
echo "monkey: seed $seed, $steps steps, exit status $status"
exit $status
