#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a new folder and runs the programs from there: the
# command line designs and generates into the current folder (never its own
# bin folder), the desktop program tells its version and stays up offscreen
# until it is stopped.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/kerfwright bin/kerfwright-cli share/applications/org.kerfwright.Kerfwright.desktop \
            share/icons/hicolor/scalable/apps/kerfwright.svg share/mime/packages/kerfwright.xml \
            share/icons/hicolor/scalable/mimetypes/application-x-kerfwright-job.svg share/icons/hicolor/48x48/apps/kerfwright.png share/icons/hicolor/48x48/mimetypes/application-x-kerfwright-job.png \
            share/metainfo/org.kerfwright.Kerfwright.metainfo.xml share/man/man1/kerfwright.1.gz \
            share/man/man1/kerfwright-cli.1.gz share/doc/kerfwright/copyright share/doc/kerfwright/changelog.gz; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
grep -qx 'Icon=kerfwright' "$prefix/share/applications/org.kerfwright.Kerfwright.desktop"
grep -qx 'MimeType=application/x-kerfwright-job;' "$prefix/share/applications/org.kerfwright.Kerfwright.desktop"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$prefix/share/applications/org.kerfwright.Kerfwright.desktop"
fi
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.kerfwright.Kerfwright.metainfo.xml" >/dev/null
fi

# The installed programs need nothing of the build folder.
if ldd "$prefix/bin/kerfwright" "$prefix/bin/kerfwright-cli" | grep -q -e "$build" -e "not found"; then
  echo "an installed program needs the build folder or a missing library" >&2; exit 1
fi

"$prefix/bin/kerfwright-cli" design --wafer "2.0 Inches" --shape Circle --die 50 | grep -q '"shape"'
mkdir "$prefix/work"
(cd "$prefix/work" && "$prefix/bin/kerfwright-cli" generate --wafer "2.0 Inches" --shape Square --die 100 \
  --name INSTALL >/dev/null)
grep -q 'PN INSTALL' "$prefix/work/INSTALL.TXT"
[ ! -e "$prefix/bin/INSTALL.TXT" ] || { echo "the command line wrote into its bin folder" >&2; exit 1; }
"$prefix/bin/kerfwright-cli" --version | grep -q 'GPL-3.0-or-later'

# Help and version need no display.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kerfwright" --version | grep -qx 'Kerfwright [0-9.]*'
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kerfwright" --help | grep -q 'kwjob'
# Below its memory floor, or without a display, it says so in its own words and ends with 1.
said=$( (ulimit -v 200000; QT_QPA_PLATFORM=offscreen "$prefix/bin/kerfwright") 2>&1 ) && exit 1
printf '%s' "$said" | grep -q 'kerfwright：記憶體不足，無法啟動' || { echo "below the floor: $said" >&2; exit 1; }
said=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/kerfwright" 2>&1) && exit 1
printf '%s' "$said" | grep -q 'kerfwright：無法開啟顯示器' || { echo "without a display: $said" >&2; exit 1; }
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/kerfwright" || status=$?
[ "$status" -eq 124 ] || { echo "the desktop program ended by itself with status $status" >&2; exit 1; }
echo "installed and ran from $prefix"
