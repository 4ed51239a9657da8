#!/usr/bin/env bash
# "Generated code must compile": builds the statement_corpus program (native,
# in build/native), has it write a C file of statements from GenerateStatement
# for a broad seeded spread of forms, and compiles that file against
# <windows.h> with the i686 and the x86_64 MinGW-w64 C compilers
# (-fsyntax-only -Werror -Wall). Exits non-zero on any failure.
#
#   scripts/compile-check.sh [SEED] [RANDOM_FORMS]     (defaults: PW_CORPUS_SEED or 1, 1000)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B="$ROOT/build/native"
SEED=${1:-${PW_CORPUS_SEED:-1}}
FORMS=${2:-1000}
OUT="$B/compile-check"
passed=0
failed=0

summary() {
  echo "compile check: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

mkdir -p "$B"
# Configure (again): an existing tree keeps its cache and picks up new targets.
if [ -f "$B/CMakeCache.txt" ]; then
  configure=(cmake -S "$ROOT" -B "$B")
else
  configure=(cmake -S "$ROOT" -B "$B" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
"${configure[@]}" >"$B/compile-check.configure.log" 2>&1 || {
  cat "$B/compile-check.configure.log"; echo "!! configuring build/native failed"; failed=2; summary; exit 1; }
if ! cmake --build "$B" --target statement_corpus -j "${JOBS:-2}" -- --no-print-directory >"$B/compile-check.build.log" 2>&1; then
  cat "$B/compile-check.build.log"
  echo "!! building statement_corpus failed"
  failed=2; summary; exit 1
fi
mkdir -p "$OUT"
if ! "$B/statement_corpus" "$OUT/statements.c" "$SEED" "$FORMS"; then
  echo "!! statement_corpus failed"
  failed=2; summary; exit 1
fi

for cc in i686-w64-mingw32-gcc x86_64-w64-mingw32-gcc; do
  if ! command -v "$cc" >/dev/null 2>&1; then
    echo "!! $cc not found"; failed=$((failed + 1)); continue
  fi
  if "$cc" -fsyntax-only -Werror -Wall -x c "$OUT/statements.c" 2>"$OUT/$cc.log"; then
    echo "ok  $cc"
    passed=$((passed + 1))
  else
    echo "!!  $cc: $(grep -c 'error' "$OUT/$cc.log") error line(s); first ones:"
    head -n 20 "$OUT/$cc.log"
    failed=$((failed + 1))
  fi
done

summary
