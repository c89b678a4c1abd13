#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program with no display: its arguments are read before a
# display is opened (a usage error ends with 2, --help with 0), and without a
# display it says so in Traditional Chinese and ends with 1, never aborting.
app="$1"
fail() { echo "$1" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" "$@" 2>&1; }

out=$(run --bogus); rc=$?
[ "$rc" -eq 2 ] || fail "--bogus: exit $rc: $out"
printf '%s' "$out" | grep -q '不認得的選項：--bogus' || fail "--bogus: $out"
out=$(run -platform xcb --help); rc=$?
[ "$rc" -eq 0 ] || fail "--help: exit $rc: $out"
for args in "" "JOBA.TXT" "-style fusion"; do
  # shellcheck disable=SC2086
  out=$(run $args); rc=$?
  [ "$rc" -eq 1 ] || fail "'$args': exit $rc: $out"
  printf '%s' "$out" | grep -q '無法開啟顯示器' || fail "'$args': $out"
  ! printf '%s' "$out" | grep -qi 'qt\.\|plugin\|abort' || fail "'$args': Qt's own words: $out"
done
exit 0
