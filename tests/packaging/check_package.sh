#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, checks its
# dependencies and file list, unpacks it and starts the packaged program in
# a real X server, leaving it through its File menu.
set -euo pipefail
BUILD="$1"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v dpkg-deb >/dev/null && command -v cpack >/dev/null || { echo "SKIP: no dpkg-deb/cpack"; exit 77; }
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
(cd "$WORK" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" >/dev/null)
DEB=$(ls "$WORK"/scribvale_*.deb)
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
echo "Depends: $DEPENDS"
for dep in libqt6widgets6 libqt6printsupport6 libzip4 qt6-qpa-plugins; do
    grep -q "$dep" <<<"$DEPENDS" || { echo "FAIL: $dep missing from Depends"; exit 1; }
done
FILES=$(dpkg-deb -c "$DEB" | awk '{print $6}')
for f in ./usr/bin/scribvale \
         ./usr/share/applications/io.github.scribvale.Scribvale.desktop \
         ./usr/share/metainfo/io.github.scribvale.Scribvale.metainfo.xml \
         ./usr/share/icons/hicolor/16x16/apps/scribvale.png \
         ./usr/share/icons/hicolor/32x32/apps/scribvale.png \
         ./usr/share/icons/hicolor/48x48/apps/scribvale.png \
         ./usr/share/icons/hicolor/scalable/apps/scribvale.svg; do
    grep -qx "$f" <<<"$FILES" || { echo "FAIL: $f not in the package"; exit 1; }
done
dpkg-deb -x "$DEB" "$WORK/root"
bash "$HERE/../e2e/start_and_exit.sh" "$WORK/root/usr/bin/scribvale"
