#!/usr/bin/env bash
# Runs every test: native, native under sanitizers, and the Win32 and
# end-to-end tests of both Windows builds under Wine.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B="$ROOT/build"
status=0
passed=0
failed=0

run() {
  local name=$1; shift
  echo "== $name"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; echo "!! $name failed"; fi
}

run "native core tests" ctest --test-dir "$B/native" --output-on-failure
run "native core tests (ASan+UBSan)" ctest --test-dir "$B/native-san" --output-on-failure
run "generated statements compile" bash "$ROOT/scripts/compile-check.sh"
run "fuzz smoke" bash "$ROOT/scripts/fuzz.sh" "${PW_FUZZ_SECONDS:-20}"
run "Win32 tests under Wine (i686, x86_64)" bash "$ROOT/scripts/testbed.sh" bash -c "
  set -e
  ctest --test-dir '$B/cmake-i686' --output-on-failure
  ctest --test-dir '$B/cmake-x86_64' --output-on-failure"

echo
echo "suites: $passed passed, $failed failed"
exit $status
