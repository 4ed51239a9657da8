#!/usr/bin/env bash
# Runs a Windows program under Wine. Debian's `wine` wrapper prefers the 32-bit
# loader whenever it is installed, even where the kernel cannot run 32-bit code
# ("Exec format error" with ia32 emulation off); fall back to the 64-bit loader
# then, which still runs 64-bit programs.
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  exec /usr/lib/wine/wine "$@"
fi
export WINELOADER=${WINELOADER:-/usr/lib/wine/wine64}
exec /usr/lib/wine/wine64 "$@"
