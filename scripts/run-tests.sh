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

run "layers point down" python3 "$ROOT/scripts/check-layers.py" "$ROOT/src"
run "native core tests" ctest --test-dir "$B/native" --output-on-failure
run "native core tests (ASan+UBSan)" ctest --test-dir "$B/native-san" --output-on-failure
run "built programs" bash "$ROOT/scripts/check-binaries.sh"
run "generated statements compile" bash "$ROOT/scripts/compile-check.sh"
run "fuzz smoke" bash "$ROOT/scripts/fuzz.sh" "${PW_FUZZ_SECONDS:-20}"
win32_suite() {
  local arch=$1
  bash "$ROOT/scripts/testbed.sh" bash -c "
    if [ $arch = i686 ] && [ \"\$PW_RUNS_32BIT\" != 1 ]; then
      echo 'i686: built, but this machine cannot run 32-bit programs (kernel ia32 emulation is off); its Wine tests are not run here'
      exit 0
    fi
    ctest --test-dir '$B/cmake-$arch' --output-on-failure"
}
run "Win32 and end-to-end tests under Wine (x86_64)" win32_suite x86_64
run "Win32 and end-to-end tests under Wine (i686)" win32_suite i686

echo
echo "suites: $passed passed, $failed failed"
exit $status
