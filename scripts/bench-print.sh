#!/usr/bin/env bash
# -PRINT of one of 1,000 QuickBox slots against a minimal MinGW program that
# writes one line (both x86_64, output into a pipe), started in turns in one
# run in the Wine test bed. Prints both medians and their ratio (target: at
# most 1.2). Usage: scripts/bench-print.sh [REPETITIONS]   (default 21)
exec bash "$(dirname "$0")/bench-e2e.sh" CliBench.DISABLED_PrintOfThousandSlotsAgainstMinimalProgram "${1:-21}"
