#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as `--target package` does and checks it: its
# Depends names the package of every library the programs link and the
# font and translations they load, the manual pages read without a
# complaint of man, and lintian, judging as Debian's archive would (pedantic
# tags too), finds no error and no warning. Exit 77, skipped, without dpkg.
set -eu
build=$1
for tool in cpack dpkg-deb readelf man lintian ar; do
  command -v $tool >/dev/null 2>&1 || exit 77
done
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$folder" >"$folder/cpack.log" 2>&1 \
  || { cat "$folder/cpack.log" >&2; exit 1; }
package=$(ls "$folder"/kerfwright_*.deb)
depends=$(dpkg-deb -f "$package" Depends)

status=0
for program in "$build/bin/kerfwright" "$build/bin/kerfwright-cli"; do
  for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(ldconfig -p | awk -v lib="$library" '$1 == lib && /x86-64|x86_64|64bit/ {print $NF; exit}')
    [ -n "$path" ] || path=$(ldconfig -p | awk -v lib="$library" '$1 == lib {print $NF; exit}')
    owner=$( (dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null \
              || dpkg -S "/usr$(readlink -f "$path")" 2>/dev/null) | head -n1 | cut -d: -f1)
    case ", $depends," in
      *", $owner "*|*", $owner,"*) ;;
      *) echo "$(basename "$program") needs $library from ${owner:-an unknown package}, not declared" >&2; status=1 ;;
    esac
  done
done
for loaded in fonts-noto-cjk qt6-translations-l10n; do
  case ", $depends," in *", $loaded,"*) ;; *) echo "Depends lacks $loaded: $depends" >&2; status=1 ;; esac
done

dpkg-deb -x "$package" "$folder/root"
for page in kerfwright.1.gz kerfwright-cli.1.gz; do
  complaints=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$folder/root/usr/share/man/man1/$page" 2>&1 >/dev/null)
  [ -z "$complaints" ] || { echo "man $page: $complaints" >&2; status=1; }
  width=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$folder/root/usr/share/man/man1/$page" 2>/dev/null | LC_ALL=C.UTF-8 wc -L)
  [ "$width" -le 80 ] || { echo "man $page: lines of $width columns" >&2; status=1; }
  for section in NAME SYNOPSIS DESCRIPTION FILES "SEE ALSO"; do
    zgrep -q "^\.SH $section\$" "$folder/root/usr/share/man/man1/$page" \
      || { echo "man $page: no section $section" >&2; status=1; }
  done
done
for section in COMMANDS "EXIT STATUS" ENVIRONMENT EXAMPLES; do
  zgrep -q "^\.SH $section\$" "$folder/root/usr/share/man/man1/kerfwright-cli.1.gz" \
    || { echo "man kerfwright-cli.1.gz: no section $section" >&2; status=1; }
done

# The package is compressed as Debian's own, and the programs carry no
# compiler banner and no path of the machine they were built on.
[ "$(ar t "$package" | grep '^data.tar')" = data.tar.xz ] || { echo "data is not xz-compressed" >&2; status=1; }
for program in "$folder/root/usr/bin/kerfwright" "$folder/root/usr/bin/kerfwright-cli"; do
  ! readelf -S "$program" | grep -q '\.comment' || { echo "$program has a .comment section" >&2; status=1; }
  ! grep -qaF "$(cd "$build" && pwd -P)" "$program" || { echo "$program names the build folder" >&2; status=1; }
done
for file in usr/share/doc/kerfwright/README.md usr/share/doc/kerfwright/examples/HEX100.kwjob \
            usr/share/doc/kerfwright/examples/HEX100.TXT usr/share/bash-completion/completions/kerfwright-cli; do
  [ -s "$folder/root/$file" ] || { echo "not in the package: $file" >&2; status=1; }
done

lintian -EvIL +pedantic --tag-display-limit 0 "$package" >"$folder/lintian.log" 2>&1 || true
if grep -E '^[EW]: ' "$folder/lintian.log" >&2; then
  status=1
fi
exit $status
