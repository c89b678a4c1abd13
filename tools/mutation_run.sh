#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Before a release: holds the check to the reference judge over many mutated
# programs (the tests run a few hundred). Builds into build/ if needed.
#   tools/mutation_run.sh [COUNT [SEED]]     (20000 and 25 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target cut_check_mutation_run >/dev/null
exec build/bin/cut_check_mutation_run "$@"
