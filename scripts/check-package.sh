#!/usr/bin/env bash
# Builds the Debian package from the release preset and checks it: lintian reports no errors, the
# desktop entry and the AppStream metadata validate, and the package holds what a user expects.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== package: configure, build, cpack"
cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/release/mosaiqua_*.deb
(cd build/release && cpack -G DEB >/dev/null)
debs=(build/release/mosaiqua_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "check-package: no mosaiqua_<version>_<arch>.deb was made" >&2; exit 1; }
echo "package: $deb"

failed=0
fail() { echo "check-package: $*" >&2; failed=1; }

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

echo "== desktop-file-validate"
desktop-file-validate "$tree/usr/share/applications/mosaiqua.desktop" || fail "the desktop entry does not validate"

echo "== appstreamcli validate"
appstreamcli validate --no-net --pedantic "$tree"/usr/share/metainfo/*.metainfo.xml ||
  fail "the AppStream metadata does not validate"

echo "== file list"
for path in usr/bin/mosaiqua usr/bin/mosaiqua-cli \
  usr/share/applications/mosaiqua.desktop \
  usr/share/icons/hicolor/scalable/apps/mosaiqua.svg \
  usr/share/metainfo/example.tessaluma.mosaiqua.metainfo.xml \
  usr/share/man/man1/mosaiqua.1.gz usr/share/man/man1/mosaiqua-cli.1.gz \
  usr/share/doc/mosaiqua/copyright usr/share/doc/mosaiqua/changelog.gz; do
  [ -f "$tree/$path" ] || fail "missing /$path"
done
for program in mosaiqua mosaiqua-cli; do
  file -b "$tree/usr/bin/$program" | grep -q ', stripped' || fail "/usr/bin/$program is not stripped"
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends does not name the Qt libraries"

if [ "$failed" != 0 ]; then
  exit 1
fi
echo "package checks passed"
