#!/bin/sh
# Every library the installed programs are linked with comes from a package
# that the Debian package declares (exit 77, skipped, without dpkg).
set -eu
build=$1
command -v dpkg >/dev/null 2>&1 && command -v readelf >/dev/null 2>&1 || exit 77
depends=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_DEPENDS "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$depends" ] || { echo "no CPACK_DEBIAN_PACKAGE_DEPENDS in $build/CPackConfig.cmake" >&2; exit 1; }
status=0
for program in "$build/bin/kerfwright" "$build/bin/kerfwright-cli"; do
  for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(ldconfig -p | awk -v lib="$library" '$1 == lib && /x86-64|x86_64|64bit/ {print $NF; exit}')
    [ -n "$path" ] || path=$(ldconfig -p | awk -v lib="$library" '$1 == lib {print $NF; exit}')
    package=$( (dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null \
                || dpkg -S "/usr$(readlink -f "$path")" 2>/dev/null) | head -n1 | cut -d: -f1)
    case ", $depends," in
      *", $package "*|*", $package,"*) ;;
      *) echo "$(basename "$program") needs $library from ${package:-an unknown package}, not declared" >&2; status=1 ;;
    esac
  done
done
exit $status
