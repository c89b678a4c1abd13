#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a window test on its own X server without a window manager (Xvfb), as
# the xcb platform sees it, or with openbox managing it (--openbox); exit 77
# (skipped) where there is no Xvfb, or no openbox when it is asked for.
command -v xvfb-run >/dev/null 2>&1 && command -v Xvfb >/dev/null 2>&1 || exit 77
if [ "$1" = "--openbox" ]; then
  shift
  command -v openbox >/dev/null 2>&1 || exit 77
  # shellcheck disable=SC2016
  QT_QPA_PLATFORM=xcb exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    sh -c 'openbox & manager=$!; sleep 1; "$@"; status=$?; kill $manager; exit $status' sh "$@"
fi
QT_QPA_PLATFORM=xcb exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
