#!/usr/bin/env bash
# Time to window of promptwright.exe (x86_64) against an earlier build of it,
# side by side in one run in the Wine test bed: the main form in both layouts
# and QuickInsert, each run alternating between the two programs. Prints the
# medians and their ratio.
# Usage: scripts/bench-startup.sh [BASELINE_REF] [REPETITIONS]
#   BASELINE_REF: the commit to compare with (default: where this branch
#   left main), or "no-names": this commit with the screen-reader names never
#   prepared, as every start without a screen reader was before they were
#   given on request; REPETITIONS default 15.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
ref=${1:-$(git merge-base HEAD main)}
variant=""
if [ "$ref" = no-names ]; then ref=HEAD variant=no-names; fi
export PW_BENCH_REPETITIONS=${2:-15}
make x86_64 >/dev/null

# The baseline's sources as they were at REF, built alone (only the program).
B="$ROOT/build/baseline"
commit=$(git rev-parse "$ref")
if [ "$(cat "$B/commit" 2>/dev/null)" != "$commit$variant" ]; then
  rm -rf "$B"
  mkdir -p "$B/src"
  git archive "$commit" | tar -x -C "$B/src"
  if [ "$variant" = no-names ]; then
    # The names are kept for a client's request from the first line of this
    # function on; without it nothing is subclassed or kept.
    sed -i '/^void NameForScreenReaders(/a\    return;' "$B/src/src/win32/accessibility_win32.cpp"
    grep -A1 '^void NameForScreenReaders(' "$B/src/src/win32/accessibility_win32.cpp" | grep -q '^    return;$'
  fi
  cmake -S "$B/src" -B "$B/cmake" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$B/src/cmake/mingw-x86_64.cmake" -DPW_OUTPUT_DIR="$B/bin" >/dev/null
  cmake --build "$B/cmake" --target promptwright -j "${JOBS:-2}" -- --no-print-directory >/dev/null
  echo "$commit$variant" >"$B/commit"
fi
echo "baseline: $(git log -1 --format='%h %s' "$commit")${variant:+ ($variant)}"

# One CPU: Wine's start-up times swing less.
export PW_EXE="$ROOT/build/x86_64/promptwright.exe" PW_BASELINE_EXE="$B/bin/promptwright.exe"
exec bash scripts/testbed.sh timeout 1800 taskset -c 0 "$ROOT/scripts/wine.sh" \
  build/cmake-x86_64/e2e_tests.exe --gtest_also_run_disabled_tests \
  --gtest_filter=StartupBench.DISABLED_TimeToWindowAgainstBaseline
