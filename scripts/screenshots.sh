#!/usr/bin/env bash
# Captures the program's windows as PNGs in build/screenshots/. Runs inside the
# test bed (scripts/testbed.sh sets DISPLAY, WINEPREFIX and $WINE): a disabled
# end-to-end case opens each window and waits while this script takes the
# picture (see tests/e2e/screenshots_e2e_test.cpp for the hand-shake and for
# why the test itself captures each window).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT="$ROOT/build/screenshots"
mkdir -p "$OUT"

shoot() {
  local arch=$1
  local exe="$ROOT/build/$arch/promptwright.exe" tests="$ROOT/build/cmake-$arch/e2e_tests.exe"
  if [ ! -f "$exe" ] || [ ! -f "$tests" ]; then echo "screenshots: $arch not built, skipped" >&2; return 0; fi
  if [ "$arch" = i686 ] && [ "$(bash "$ROOT/scripts/ia32.sh" mode)" != native ]; then
    echo "screenshots: i686 skipped: this machine runs 32-bit code only under emulation (a minute per start), if at all" >&2
    return 0
  fi
  local work
  work=$(mktemp -d)
  PW_SHOT_DIR="Z:${work//\//\\}" PW_EXE="$exe" "$WINE" "$tests" \
    --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*' </dev/null >"$work/log" 2>&1 &
  local pid=$!
  local deadline=$((SECONDS + 180))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    for ready in "$work"/*.ready; do
      [ -e "$ready" ] || continue
      local name x y w h
      name=$(basename "$ready" .ready)
      read -r x y w h <"$ready"
      # The test's own capture; an X capture of the screen if it made none.
      if [ -s "$work/$name.bmp" ]; then
        convert "bmp:$work/$name.bmp" "$OUT/$arch-$name.png"
      else
        xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$OUT/$arch-$name.png"
      fi
      echo "screenshots: $OUT/$arch-$name.png"
      rm -f "$ready"
      touch "$work/$name.done"
    done
    for skipped in "$work"/*.skip; do
      [ -e "$skipped" ] || continue
      echo "screenshots: $arch $(basename "$skipped" .skip): window did not open, no picture" >&2
      rm -f "$skipped"
    done
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then echo "screenshots: $arch timed out" >&2; kill "$pid" || true; fi
  local status=0
  wait "$pid" || status=$?
  if [ $status -ne 0 ]; then cat "$work/log" >&2; fi
  rm -rf "$work"
  return $status
}

shoot x86_64
if [ "${PW_RUNS_32BIT:-0}" = 1 ]; then shoot i686; fi
