#!/usr/bin/env bash
# Configures the CMake build tree TREE with OPTIONS, and configures it afresh
# whenever they differ from those it was last configured with (kept in
# TREE/configure.args). Afresh, because CMake keeps cached values over a new
# command line: a toolchain or compiler cannot change in an existing cache,
# and an option left out keeps its old value.
#
#   scripts/configure.sh TREE [OPTIONS...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
tree=$1
shift
args=(-S "$ROOT" -B "$tree" -G "Unix Makefiles" "$@")
stamp="$tree/configure.args"
wanted=$(printf '%s\n' "${args[@]}")

if [ -f "$tree/CMakeCache.txt" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
  exit 0
fi
[ -f "$tree/CMakeCache.txt" ] && echo "== ${tree#"$ROOT"/}: options changed, configuring afresh"
mkdir -p "$tree"
rm -f "$stamp"
log="$tree/configure.log"
if ! cmake --fresh "${args[@]}" >"$log" 2>&1; then
  cat "$log"
  echo "!! configuring ${tree#"$ROOT"/} failed" >&2
  exit 1
fi
printf '%s\n' "$wanted" >"$stamp"
