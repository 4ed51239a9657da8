#!/usr/bin/env bash
# "Generated code must compile": builds the statement_corpus program (native,
# in build/native), has it write C files of statements from GenerateStatement
# for a broad seeded spread of forms, one file per string mode with every
# answer mode, and compiles them against <windows.h> with the i686 and the
# x86_64 MinGW-w64 C compilers (-fsyntax-only -Werror -Wall):
#   ANSI strings     without UNICODE
#   TEXT() strings   without UNICODE, and with -DUNICODE -D_UNICODE
#   wide strings     without UNICODE, and with -DUNICODE -D_UNICODE
# Then it compiles statements_meaning.c natively with -fexec-charset=CP1252 and
# runs it: the TEXT() and wide literals must mean the form's text (see
# tests/core/codegen/statement_corpus.cpp).
# Then the task dialogs: task_dialog_corpus writes statements from
# WriteTaskDialog for a sweep and a seeded spread of configurations in every
# answer option, compiled with both MinGW-w64 C and C++ compilers
# (-fsyntax-only -Werror -Wall -Wextra, _WIN32_WINNT 0x0600, <commctrl.h>),
# each without and with -DUNICODE -D_UNICODE. Exits non-zero on any failure.
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

# check LABEL LOG COMMAND...: one compile, counted, its first errors shown.
check() {
  local label=$1 log=$2
  shift 2
  if "$@" 2>"$log"; then
    echo "ok  $label"
    passed=$((passed + 1))
  else
    echo "!!  $label: $(grep -c 'error' "$log") error line(s); first ones:"
    head -n 20 "$log"
    failed=$((failed + 1))
  fi
}

summary() {
  echo "compile check: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

# The Makefile configures build/native (make native, make compile-check); this
# script only brings statement_corpus up to date.
if [ ! -f "$B/CMakeCache.txt" ]; then
  echo "!! build/native is not configured: run make native first"; failed=2; summary; exit 1
fi
if ! cmake --build "$B" --target statement_corpus task_dialog_corpus -j "${JOBS:-2}" -- --no-print-directory >"$B/compile-check.build.log" 2>&1; then
  cat "$B/compile-check.build.log"
  echo "!! building statement_corpus or task_dialog_corpus failed"
  failed=2; summary; exit 1
fi
mkdir -p "$OUT"
if ! "$B/statement_corpus" "$OUT/statements" "$SEED" "$FORMS"; then
  echo "!! statement_corpus failed"
  failed=2; summary; exit 1
fi

# file, then the defines of one compile ("-" for none)
compiles=(
  "ansi -"
  "text -"
  "text -DUNICODE -D_UNICODE"
  "wide -"
  "wide -DUNICODE -D_UNICODE"
)
for cc in i686-w64-mingw32-gcc x86_64-w64-mingw32-gcc; do
  if ! command -v "$cc" >/dev/null 2>&1; then
    echo "!! $cc not found"; failed=$((failed + ${#compiles[@]})); continue
  fi
  for entry in "${compiles[@]}"; do
    read -r mode defines <<<"$entry"
    [ "$defines" = "-" ] && defines=""
    # shellcheck disable=SC2086 # the defines are separate words
    check "$cc $mode${defines:+ $defines}" "$OUT/$cc.$mode${defines:+.unicode}.log" \
      "$cc" -fsyntax-only -Werror -Wall $defines -x c "$OUT/statements_$mode.c"
  done
done

meaning="$OUT/statements_meaning"
if gcc -std=c11 -Wall -Werror -fexec-charset=CP1252 -o "$meaning" "$meaning.c" 2>"$meaning.log" &&
   "$meaning" >>"$meaning.log" 2>&1; then
  echo "ok  literals mean the form's text: $(tail -n 1 "$meaning.log")"
  passed=$((passed + 1))
else
  echo "!!  literals do not mean the form's text:"
  head -n 20 "$meaning.log"
  failed=$((failed + 1))
fi

tasks="$OUT/task_dialogs.c"
if ! "$B/task_dialog_corpus" "$tasks" "$SEED" "$FORMS"; then
  echo "!! task_dialog_corpus failed"
  failed=$((failed + 1))
else
  for cc in i686-w64-mingw32-gcc i686-w64-mingw32-g++ x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
    lang=c
    [ "${cc%g++}" != "$cc" ] && lang=c++
    if ! command -v "$cc" >/dev/null 2>&1; then
      echo "!! $cc not found"; failed=$((failed + 2)); continue
    fi
    for defines in "" "-DUNICODE -D_UNICODE"; do
      # shellcheck disable=SC2086 # the defines are separate words
      check "$cc task dialogs as $lang${defines:+ $defines}" "$OUT/$cc.task_dialogs${defines:+.unicode}.log" \
        "$cc" -fsyntax-only -Werror -Wall -Wextra -D_WIN32_WINNT=0x0600 $defines -x "$lang" "$tasks"
    done
  done
fi

summary
