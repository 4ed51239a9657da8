#!/usr/bin/env bash
# Runs every benchmark: the native core benchmarks (Google Benchmark) and the
# Win32 ones under the Wine test bed. Figures go to build/bench/results.txt.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B="$ROOT/build"
out="$B/bench/results.txt"
: >"$out"
for exe in "$B"/bench/*_bench; do
  [ -x "$exe" ] || continue
  echo "== $(basename "$exe")" | tee -a "$out"
  "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>&1 | tee -a "$out"
done
echo "== insert_source_win32_bench (x86_64, under Wine)" | tee -a "$out"
PW_BENCH_EXE="$B/cmake-x86_64/insert_source_win32_bench.exe" bash "$ROOT/scripts/testbed.sh" \
  bash -c '"$WINE" "$PW_BENCH_EXE" 64 11; "$WINE" "$PW_BENCH_EXE" 1 41' 2>&1 | tee -a "$out"
echo "== QuickBox slots and window opening (x86_64, under Wine)" | tee -a "$out"
bash "$ROOT/scripts/bench-quickbox.sh" 7 2>&1 | tee -a "$out"
echo "== -PRINT with 1,000 slots against a minimal program (x86_64, under Wine)" | tee -a "$out"
bash "$ROOT/scripts/bench-print.sh" 21 2>&1 | tee -a "$out"
echo "== -EDIT against the plain start-up, -LIST:CALLS over 64 MiB (x86_64, under Wine)" | tee -a "$out"
bash "$ROOT/scripts/bench-edit.sh" 15 2>&1 | tee -a "$out"
echo "== Opening with the screen-reader names given on request, against none prepared (x86_64, under Wine)" | tee -a "$out"
bash "$ROOT/scripts/bench-startup.sh" no-names 21 2>&1 | tee -a "$out"
