#!/usr/bin/env bash
# Takes the two page screenshots and the Screen window in docs/images from a built program and a
# snapshot file.
# Usage: scripts/screenshots.sh PATH/TO/mosaiqua SNAPSHOT [program options, e.g. --no-skip-header]
# Keys (xdotool names) pressed before each picture, as a user would type them:
#   SPRITE_KEYS   before the sprite page (default none), e.g. "F8 F8" to show $2000
#   CHARSET_KEYS  before the charset page (default: View menu, "CharSet Ripper")
# Needs Xvfb, xdotool and ImageMagick (scripts/setup.sh installs them). Builds nothing.
# The pictures in docs/images: the demo snapshot's sprites at $2000, its characters at $3000 with
# all three views switched on from the View menu:
#   down10="Down Down Down Down Down Down Down Down Down Down"
#   SPRITE_KEYS="F8 F8" CHARSET_KEYS="F4 F4 F4 F4 F4 F4 alt+v Down Down Return \
#     alt+v $down10 Return alt+v $down10 Down Return" \
#     scripts/screenshots.sh build/dev/app/mosaiqua build/dev/demo/demo.c64
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 PATH/TO/mosaiqua SNAPSHOT [program options]" >&2
  exit 2
fi
program=$(realpath "$1")
snapshot=$(realpath "$2")
shift 2
out_dir="$(cd "$(dirname "$0")/.." && pwd)/docs/images"
mkdir -p "$out_dir"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display number and reports it once the server is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

"$program" "$@" "$snapshot" >"$work/app.log" 2>&1 &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Mosaiqua$' | head -1)
[ -n "$wid" ] || { echo "the window did not appear" >&2; exit 1; }

# Without a window manager nobody hands out focus: take it before typing.
focus() { xdotool windowfocus --sync "$wid"; }
settle() { sleep 0.5; }
type_keys() {
  local key
  for key in $1; do
    xdotool key "$key"
    # A menu opened by the previous key needs a moment to appear.
    sleep 0.15
  done
}

focus
type_keys "${SPRITE_KEYS:-}"
settle
import -window "$wid" "$out_dir/sprite-page.png"

focus
type_keys "${CHARSET_KEYS:-alt+v Down Down Return}"
settle
import -window "$wid" "$out_dir/charset-page.png"

# The Screen window (View, Ctrl+D), on its own.
focus
type_keys "ctrl+d"
screen_wid=$(timeout 20 xdotool search --sync --name '^Screen$' | head -1)
[ -n "$screen_wid" ] || { echo "the Screen window did not appear" >&2; exit 1; }
settle
import -window "$screen_wid" "$out_dir/screen-window.png"

echo "wrote $out_dir/sprite-page.png, $out_dir/charset-page.png and $out_dir/screen-window.png"
