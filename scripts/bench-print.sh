#!/usr/bin/env bash
# -PRINT of one of 1,000 QuickBox slots against a minimal MinGW program that
# writes one line (both x86_64, output into a pipe), started in turns in one
# run in the Wine test bed. Prints both medians and their ratio (target: at
# most 1.2). Usage: scripts/bench-print.sh [REPETITIONS]   (default 21)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
make x86_64 >/dev/null
export PW_BENCH_REPETITIONS=${1:-21}
# One CPU: Wine's start-up times swing less.
exec bash scripts/testbed.sh bash -c 'PW_EXE=$PWD/build/x86_64/promptwright.exe timeout 900 taskset -c 0 $WINE \
  build/cmake-x86_64/e2e_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter=CliBench.DISABLED_PrintOfThousandSlotsAgainstMinimalProgram'
