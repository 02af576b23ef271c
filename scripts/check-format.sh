#!/usr/bin/env bash
# Fails when a C++ source differs from what .clang-format makes of it; `--fix` rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian 12's clang-format 14: other versions lay some constructs out differently.
formatter=$(command -v clang-format-14 || command -v clang-format || true)
[ -n "$formatter" ] || { echo "check-format: clang-format is not installed (scripts/setup.sh installs it)" >&2; exit 1; }

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
if ! "$formatter" --dry-run --Werror "${files[@]}" 2>/tmp/mosaiqua-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/mosaiqua-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
  rm -f /tmp/mosaiqua-format.$$
  echo "check-format: run scripts/check-format.sh --fix" >&2
  exit 1
fi
rm -f /tmp/mosaiqua-format.$$
echo "check-format: ${#files[@]} files formatted"
