#!/bin/sh
# Installs the build into a new folder and runs the programs from there: the
# command line designs and generates, the desktop program tells its version
# and stays up offscreen until it is stopped.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/kerfwright bin/kerfwright-cli share/applications/kerfwright.desktop \
            share/icons/hicolor/scalable/apps/kerfwright.svg share/mime/packages/kerfwright.xml \
            share/icons/hicolor/scalable/mimetypes/application-x-kerfwright-job.svg; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
grep -qx 'Icon=kerfwright' "$prefix/share/applications/kerfwright.desktop"
grep -qx 'MimeType=application/x-kerfwright-job;' "$prefix/share/applications/kerfwright.desktop"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$prefix/share/applications/kerfwright.desktop"
fi

# The installed programs need nothing of the build folder.
if ldd "$prefix/bin/kerfwright" "$prefix/bin/kerfwright-cli" | grep -q -e "$build" -e "not found"; then
  echo "an installed program needs the build folder or a missing library" >&2; exit 1
fi

"$prefix/bin/kerfwright-cli" design --wafer "2.0 Inches" --shape Circle --die 50 | grep -q '"shape"'
"$prefix/bin/kerfwright-cli" generate --wafer "2.0 Inches" --shape Square --die 100 --name INSTALL \
  --out "$prefix" >/dev/null
grep -q 'PN INSTALL' "$prefix/INSTALL.TXT"

# Help and version need no display.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kerfwright" --version | grep -qx 'Kerfwright [0-9.]*'
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kerfwright" --help | grep -q 'kwjob'
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/kerfwright" || status=$?
[ "$status" -eq 124 ] || { echo "the desktop program ended by itself with status $status" >&2; exit 1; }
echo "installed and ran from $prefix"
