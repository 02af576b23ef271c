#!/usr/bin/env bash
# Sets everything up, builds, and starts Mosaiqua on a demo snapshot made at build time.
# Any arguments are passed to the program instead (for example a freeze file of your own).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc 2>/dev/null || echo 2)"

demo=build/dev/demo/demo.c64
if [ $# -eq 0 ]; then set -- "$demo"; fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/dev/app/mosaiqua "$@"
fi
echo "No display found: showing what the command-line front end makes of the demo snapshot instead."
out=$(mktemp -d)
build/dev/cli/mosaiqua-cli sprite "$demo" --address 0x2000 -o "$out/spr2000.BMP"
build/dev/cli/mosaiqua-cli sheet "$demo" --start 0x2000 --end 0x2400 -o "$out/sheet.BMP"
build/dev/cli/mosaiqua-cli charset "$demo" --address 0x3000 -o "$out/chr3000.BMP"
echo "Pictures written to $out"
