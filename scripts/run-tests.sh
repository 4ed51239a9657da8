#!/usr/bin/env bash
# Runs every test: native, native under sanitizers, and the Win32 and
# end-to-end tests of both Windows builds under Wine.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B="$ROOT/build"
status=0
passed=0
failed=0
started=$SECONDS

run() {
  local name=$1; shift
  echo "== $name"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; echo "!! $name failed"; fi
}

duration() { echo "$(($1 / 60)) min $(($1 % 60)) s"; }

run "layers point down" python3 "$ROOT/scripts/check-layers.py" "$ROOT/src"
run "native core tests" ctest --test-dir "$B/native" --output-on-failure
run "native core tests (ASan+UBSan)" ctest --test-dir "$B/native-san" --output-on-failure
run "built programs" bash "$ROOT/scripts/check-binaries.sh"
run "generated statements compile" bash "$ROOT/scripts/compile-check.sh"
run "fuzz smoke" bash "$ROOT/scripts/fuzz.sh" "${PW_FUZZ_SECONDS:-20}"

# The 32-bit build is the one users get. Where the kernel cannot run 32-bit
# code, Wine's 32-bit loader runs under qemu-i386 if the machine allows it
# (scripts/ia32.sh prints one line when it does not). Before both Wine stages,
# so that they share one prefix with its 32-bit side.
bash "$ROOT/scripts/ia32.sh" enable
ia32=$(bash "$ROOT/scripts/ia32.sh" mode)

win32_suite() {
  local arch=$1
  bash "$ROOT/scripts/testbed.sh" ctest --test-dir "$B/cmake-$arch" --output-on-failure
}

# Where 32-bit code runs only under emulation: the stage sized for it, every
# line of it marked with the build.
i686_emulated_stage() {
  local start=$SECONDS
  bash "$ROOT/scripts/testbed.sh" bash "$ROOT/scripts/i686-stage.sh" 2>&1 | sed -u 's/^/i686| /'
  local result=$?
  echo "i686 stage: $(duration $((SECONDS - start)))"
  return $result
}

run "Win32 and end-to-end tests under Wine (x86_64)" win32_suite x86_64
# The download as a user gets it, packed from the programs built above.
win64_zip() {
  python3 "$ROOT/scripts/dist.py" --out "$B/test-dist" &&
    bash "$ROOT/scripts/testbed.sh" bash "$ROOT/scripts/zip-test.sh" "$B/test-dist"
}
run "the win64 zip, unpacked into a folder of its own, runs" win64_zip
case $ia32 in
  native) run "Win32 and end-to-end tests under Wine (i686)" win32_suite i686 ;;
  emulated) run "i686 build under Wine, 32-bit code emulated by qemu-i386: Win32 tests, end-to-end smoke set" i686_emulated_stage ;;
  *) echo "== i686 build: built and checked, but its Wine tests are not run on this machine" ;;
esac

echo
echo "suites: $passed passed, $failed failed ($(duration $((SECONDS - started))))"
exit $status
