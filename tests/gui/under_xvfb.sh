#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a window test on its own X server without a window manager (Xvfb), as
# the xcb platform sees it; exit 77 (skipped) where there is no Xvfb.
command -v xvfb-run >/dev/null 2>&1 && command -v Xvfb >/dev/null 2>&1 || exit 77
QT_QPA_PLATFORM=xcb exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
