#!/usr/bin/env bash
# The Wine tests of the 32-bit build where its code runs only under qemu-i386
# emulation (see scripts/ia32.sh). Runs inside the test bed (scripts/testbed.sh
# sets WINE, WINEPREFIX and DISPLAY); run-tests.sh times it.
#
# Each 32-bit process start costs about a minute, so: the in-process tests in
# one process, and the end-to-end smoke set, which opens every window and goes
# through every procedure in three starts of the program, driven by the x86_64
# driver, which needs no emulation itself.
#
# Not the InsertSource and InsertReport cases: they insert into real files
# while a second thread answers message boxes or stands by, and under qemu-i386
# Wine 8.0 hangs a thread in
# GetFileInformationByHandle (its volume query goes to the mount manager)
# while another thread of the process runs; a program of a few lines with no
# code of ours hangs the same way, and its 64-bit build does not. Insertion in
# the 32-bit program is covered by the smoke set.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B="$ROOT/build"
status=0

# step SECONDS DESCRIPTION COMMAND...: a hang ends as a failure, not the run.
step() {
  local limit=$1 what=$2; shift 2
  echo "$what"
  local start=$SECONDS code=0
  timeout -k 10 "$limit" "$@" </dev/null || code=$?
  if [ $code -eq 0 ]; then echo "passed in $((SECONDS - start)) s: $what"; return; fi
  status=1
  echo "failed: $what (exit code $code$([ $code = 124 ] && echo ", still running after $limit s"))"
}

cd "$B/cmake-i686" || exit 1
step 420 "in-process Win32 tests, in one process, without InsertSource.* and InsertReport.*" \
  "$WINE" ./win32_tests.exe --gtest_brief=1 --gtest_filter='-InsertSource.*:InsertReport.*'
step 480 "end-to-end smoke set: the i686 program, driven by the x86_64 driver" \
  env PW_EXE="$B/i686/promptwright.exe" "$WINE" "$B/cmake-x86_64/e2e_tests.exe" --gtest_filter='Smoke.*' --gtest_brief=1
exit $status
