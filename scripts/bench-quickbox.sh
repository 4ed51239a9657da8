#!/usr/bin/env bash
# Time to window of promptwright.exe (x86_64) with no QuickBox slots and with
# 1,000, for the main form and for -QI, measured side by side in one run in the
# Wine test bed. Prints the medians and their ratio (target: within 1.5).
# Usage: scripts/bench-quickbox.sh [REPETITIONS]   (default 7)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
make x86_64 >/dev/null
export PW_BENCH_REPETITIONS=${1:-7}
# One CPU: Wine's start-up times swing less.
exec bash scripts/testbed.sh bash -c 'PW_EXE=$PWD/build/x86_64/promptwright.exe timeout 900 taskset -c 0 $WINE \
  build/cmake-x86_64/e2e_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter=QuickBoxBench.DISABLED_TimeToWindowWithThousandSlots'
