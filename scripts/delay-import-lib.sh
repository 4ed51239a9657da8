#!/usr/bin/env bash
# Makes a delay-import library for a system DLL from MinGW's own import
# library: the same exports, but the DLL is loaded at the first call of one of
# them, not at process start. For the 64-bit build only (see cmake/Win32.cmake).
# Usage: scripts/delay-import-lib.sh TRIPLET DLL OUTPUT   (DLL as in "user32")
set -euo pipefail
triplet=$1 dll=$2 out=$3
lib=/usr/$triplet/lib/lib$dll.a
def=$out.def
mkdir -p "$(dirname "$out")"
{
  echo "LIBRARY $(echo "$dll" | tr a-z A-Z).dll"
  echo EXPORTS
  # 32-bit symbols carry the C underscore, which the .def file leaves out.
  "$triplet-nm" "$lib" | sed -n 's/^[0-9a-f]* T //p' | { if [ "${triplet%%-*}" = i686 ]; then sed 's/^_//'; else cat; fi; } | sort -u
} >"$def"
kill_at=()
[ "${triplet%%-*}" = i686 ] && kill_at=(-k)
"$triplet-dlltool" "${kill_at[@]}" -d "$def" -y "$out"
