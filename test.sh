#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
#   ./test.sh --fuzz  instead runs each fuzz target for 15 seconds (needs clang).
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = --fuzz ]; then
  tools/setup.sh --fuzz
  exec tools/fuzz.sh 15
fi
tools/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
