#!/usr/bin/env bash
# Runs a command inside the private Wine test bed: a WINEPREFIX and an Xvfb
# display under build/, a wineserver kept alive for the run, everything cleaned
# up on every way out. Usage: scripts/testbed.sh COMMAND [ARGS...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B="$ROOT/build"
mkdir -p "$B"

# PW_TESTBED names a separate prefix, so that runs in parallel do not wait
# for each other.
suffix=${PW_TESTBED:+-$PW_TESTBED}
export WINEPREFIX="$B/wineprefix$suffix"

# One run at a time per prefix: a second run's wineserver -k would end the
# first run's programs. Only this script holds the lock: every command it
# starts gets 9>&- so that Wine's long-lived services never inherit it.
exec 9>"$B/testbed$suffix.lock"
flock 9
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export WINE="$ROOT/scripts/wine.sh"
# Whether Wine's 32-bit loader starts here at all (some kernels have ia32
# emulation switched off, see scripts/ia32.sh); run-tests.sh reports it rather
# than failing.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then export PW_RUNS_32BIT=1; else export PW_RUNS_32BIT=0; fi

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 9>&- || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" >/dev/null 2>&1 || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT INT TERM

# A free display number of our own, so that the tests never draw on the user's.
# PW_SCREEN (WIDTHxHEIGHT) sizes its screen: the screenshots take a screen as
# large as a 192 DPI monitor's, so that the larger windows fit on it.
# Another test bed may start at the same moment: if our server dies, take the
# next number.
if [ -z "${PW_KEEP_DISPLAY:-}" ]; then
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${PW_SCREEN:-1280x1024}x24" -nolisten tcp >/dev/null 2>&1 9>&- &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      break
    fi
    xvfb_pid=""
  done
  [ -n "$xvfb_pid" ] || { echo "testbed: no free X display" >&2; exit 1; }
fi

# The prefix: a copy of this machine's template (scripts/wineprefix.sh), made
# before anything runs in parallel in it, since lazy creation by several
# processes at once races.
source "$ROOT/scripts/wineprefix.sh"
if ! pw_prefix_current; then
  pw_make_template && pw_copy_template || { echo "testbed: no Wine prefix" >&2; exit 1; }
  # Without a window manager Wine waits ~2 s whenever a managed window hides.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
  wineserver -w 9>&-
fi

wineserver -p >/dev/null 2>&1 9>&- || true
# Start Wine's background services now, with no output of ours: started by the
# first test program they would inherit its stdout and hold a pipe open.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
"$@" 9>&-
