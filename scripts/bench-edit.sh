#!/usr/bin/env bash
# -EDIT to a ready form against the plain start-up (target: at most 1.1), and
# -LIST:CALLS over 64 MiB of sources as a whole process (target: 150 MB/s or
# more), x86_64 in the Wine test bed. Usage: scripts/bench-edit.sh [REPETITIONS]
set -euo pipefail
bash "$(dirname "$0")/bench-e2e.sh" EditBench.DISABLED_EditAgainstPlainStartup "${1:-15}"
bash "$(dirname "$0")/bench-e2e.sh" EditBench.DISABLED_ListCallsOf64MiB 5
