#!/usr/bin/env bash
# Runs a Windows program under Wine with the loader of its own bitness.
# Debian's `wine` wrapper prefers the 32-bit loader for everything, even where
# the kernel cannot run 32-bit code ("Exec format error") or runs it only under
# emulation, where each 32-bit start costs about a minute, also for Wine's own
# tools (cmd, reg, wineboot). So only a 32-bit program gets the 32-bit loader;
# the rest runs under the 64-bit one, which starts the 32-bit one for 32-bit
# children itself.
export WINELOADER=${WINELOADER:-/usr/lib/wine/wine64}

# The machine field of a PE file: 014c for i386 (empty when not a PE file).
pe_machine() {
  [ -f "$1" ] || return 0
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 0
  od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

if [ "$(pe_machine "${1:-}")" = 014c ]; then
  exec /usr/lib/wine/wine "$@"
fi
exec /usr/lib/wine/wine64 "$@"
