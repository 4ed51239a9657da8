#!/usr/bin/env bash
# Time to window of promptwright.exe (x86_64) with no QuickBox slots and with
# 1,000, for the main form and for -QI, measured side by side in one run in the
# Wine test bed. Prints the medians and their ratio (target: within 1.5).
# Usage: scripts/bench-quickbox.sh [REPETITIONS]   (default 7)
exec bash "$(dirname "$0")/bench-e2e.sh" QuickBoxBench.DISABLED_TimeToWindowWithThousandSlots "${1:-7}"
