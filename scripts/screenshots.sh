#!/usr/bin/env bash
# Captures the program's windows as PNGs in build/screenshots/, at 96 DPI
# (ARCH-NAME.png) and at 144 and 192 DPI (ARCH-NAME-144dpi.png, ...). Runs
# inside the test bed (scripts/testbed.sh sets DISPLAY, WINEPREFIX and $WINE): a disabled
# end-to-end case opens each window and waits while this script takes the
# picture (see tests/e2e/screenshots_e2e_test.cpp for the hand-shake and for
# why the test itself captures each window).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT="$ROOT/build/screenshots"
mkdir -p "$OUT"

# Wine takes the system DPI from this value when a program starts.
set_dpi() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}
trap 'set_dpi 96' EXIT

shoot() {
  local arch=$1 suffix=$2
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
        convert "bmp:$work/$name.bmp" "$OUT/$arch-$name$suffix.png"
      else
        xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$OUT/$arch-$name$suffix.png"
      fi
      echo "screenshots: $OUT/$arch-$name$suffix.png"
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

for dpi in 96 144 192; do
  set_dpi $dpi
  suffix=""
  [ $dpi = 96 ] || suffix="-${dpi}dpi"
  shoot x86_64 "$suffix"
  if [ "${PW_RUNS_32BIT:-0}" = 1 ]; then shoot i686 "$suffix"; fi
done
