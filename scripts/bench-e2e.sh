#!/usr/bin/env bash
# Runs one of the end-to-end benchmarks (disabled gtest cases of e2e_tests.exe)
# against the x86_64 build in the Wine test bed, on one CPU: Wine's start-up
# times swing less there.
# Usage: scripts/bench-e2e.sh TEST_NAME REPETITIONS
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
make x86_64 >/dev/null
export PW_BENCH_REPETITIONS=$2 PW_BENCH_TEST=$1
exec bash scripts/testbed.sh bash -c 'PW_EXE=$PWD/build/x86_64/promptwright.exe timeout 900 taskset -c 0 "$WINE" \
  build/cmake-x86_64/e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter="$PW_BENCH_TEST"'
