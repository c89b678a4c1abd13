#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh

if [ ! -x build/bin/kerfwright ]; then
  build/bin/kerfwright-cli --help
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to show the window on: run 'xvfb-run ./run.sh', or use the command line: build/bin/kerfwright-cli --help" >&2
  exit 1
fi
exec build/bin/kerfwright "$@"
