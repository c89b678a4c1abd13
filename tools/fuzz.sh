#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# SECONDS (default 60) on seed corpora: cutting programs of every shape made
# by the command line, the golden programs, and a few texts and command lines.
# Prints each target's executions; exits non-zero when a target found a crash,
# a hang or a leak (the input is kept in build-fuzz/findings/).
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(program_reader_fuzz number_text_fuzz design_driver_fuzz command_line_fuzz job_file_fuzz)

clang=$(command -v clang++-14 || command -v clang++ || true)
if [ -z "$clang" ]; then
  echo "fuzz.sh: clang++ is needed (Debian: apt-get install clang-14 libclang-rt-14-dev)" >&2
  exit 3
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$clang" \
      -DKERF_WITH_GUI=OFF -DKERF_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target kerfwright-cli "${targets[@]}" >/dev/null

# Absolute: the command line's fuzzer works in a folder of its own.
bin=$root/build-fuzz/bin
seeds=$root/build-fuzz/seeds
findings=$root/build-fuzz/findings
mkdir -p "$findings"

# Seeds of every kind of input, made afresh on each run.
rm -rf "$seeds"
mkdir -p "$seeds"/{program_reader_fuzz,number_text_fuzz,design_driver_fuzz,command_line_fuzz,job_file_fuzz}
n=0
for wafer in "2.0 Inches" "5.0 Inches"; do
  for shape in Circle Hexagon Square; do
    for die in 600 250 100; do
      for passes in 1 2 3; do
        n=$((n + 1))
        # The first byte chooses the layout the reader's fuzzer checks against.
        { printf '\x00'; "$bin/kerfwright-cli" generate --wafer "$wafer" --shape "$shape" --die "$die" \
            --name "seed$n" --passes "$passes" --out - --date 2004/03/05; } \
          > "$seeds/program_reader_fuzz/$shape-$die-$passes-$n.TXT" || true
      done
    done
  done
done
for golden in tests/program/writer/golden/*/expected.TXT; do
  { printf '\x01'; cat "$golden"; } > "$seeds/program_reader_fuzz/$(basename "$(dirname "$golden")").TXT"
done
i=0
for text in 0.05 -3 2.5 3.5 .5 5. 1e3 "  12 " 32767 -32768 32768 0.0625 99999999999999999999999999999 \
            0.00000000000000000000000000001 1.2.3 "" -.0; do
  i=$((i + 1)); printf '%s' "$text" > "$seeds/number_text_fuzz/$i"
done
i=0
for boxes in "2.0 Inches|1.9|Circle|100|2" "5.0 Inches|4.75|Hexagon|47|0" "4.0 Inches|3.8|Square|100|0" \
             "2.5 Inches||Square|5|" "3.0 Inches|2.85||300|"; do
  i=$((i + 1)); { printf '\x01'; printf '%s' "$boxes" | tr '|' '\0'; } > "$seeds/design_driver_fuzz/$i"
done
i=0
for line in "design|--wafer|2.0 Inches|--shape|Square|--die|500" \
            "design|--wafer|2.0 Inches|--shape|Hexagon|--die|300|--csv|dies.csv" \
            "simulate|--wafer|3.0 Inches|--die|100" \
            "generate|--wafer|2.0 Inches|--shape|Circle|--die|300|--name|job|--passes|2|--out|-" \
            "generate|--wafer|2.0 Inches|--shape|Square|--die|500|--name|job|--out|-|--date|2004/03/05" \
            "check|dies.csv|--wafer|2.0 Inches|--shape|Square|--die|500|--json" "--help" "design|--help"; do
  i=$((i + 1)); printf '%s' "$line" | tr '|' '\0' > "$seeds/command_line_fuzz/$i"
done

i=0
head='{"format": "kerfwright-job", "version": 1'
for job in "$head}" "$head, \"designer\": {\"wafer\": \"2.0 Inches\", \"shape\": \"Hexagon\", \"die\": \"300\"}}" \
           "$head, \"program\": {\"name\": \"JOB\", \"passes\": \"2\", \"dvl\": \"0.6\"}}" \
           '{"version": 1e400}' "$head, \"designer\": {\"die\": \"300\", \"die\": \"50\"}}" \
           "$head, \"designer\": {}, \"designer\": {}}" "$head, \"designer\": {\"shape\": \"hexagon\"}}" \
           "$head, \"designer\": {\"shape\": \"\"}}" "$head, \"designer\": {\"wafer\": \"6.0 Inches\"}}" \
           "$head, \"designer\": {\"die\": -1e999}}" '{"format": "kerfwright-job", "version": 2}'; do
  i=$((i + 1)); printf '%s' "$job" > "$seeds/job_file_fuzz/$i"
done

status=0
for target in "${targets[@]}"; do
  corpus=$root/build-fuzz/corpus/$target
  mkdir -p "$corpus"
  dict=()
  [ "$target" = program_reader_fuzz ] && dict=(-dict="$root/fuzz/program.dict")
  log=$root/build-fuzz/$target.log
  # The command line's fuzzer writes its files here; a run ended by a timeout
  # leaves them, so the folder goes after every run.
  work=$root/build-fuzz/work
  if KERF_FUZZ_WORK=$work "$bin/$target" "$corpus" "$seeds/$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
       >"$log" 2>&1; then
    result="no crash, hang or leak"
  else
    result="FOUND A FAULT (see $log and $findings/)"
    status=1
  fi
  rm -rf "$work"
  runs=$(grep -m1 '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
  printf '%-22s %10s executions: %s\n' "$target" "${runs:-?}" "$result"
done
exit $status
