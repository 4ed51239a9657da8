#!/usr/bin/env bash
# Checks what can be checked of both built programs without running them (the
# i686 one cannot run where the kernel has no 32-bit emulation): the machine
# type, that they need only system DLLs (and no function Windows 7 lacks), that
# the manifest, the version block and the icon are in them, and that nothing in
# them depends on where or when they were built.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
passed=0
failed=0
check() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "binary check failed: $what"; fi
}
lacks() { ! grep -aqF -e "$1" "$2"; }
# The COFF header's link time: 0 with --no-insert-timestamp.
link_time() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tu4 -j$((offset + 8)) -N4 "$1" | tr -d ' '
}
# The version block: UTF-16 strings, NULs between each name and its value.
has_version() {
  [ -n "$1" ] && grep -aq "FileVersion.*${1//./\\.}\\.0" < <(iconv -f UTF-16LE -t UTF-8//IGNORE "$2" 2>/dev/null)
}
system_dlls='^(KERNEL32|USER32|GDI32|COMCTL32|SHELL32|ole32|OLE32|msvcrt|ADVAPI32)\.(dll|DLL)$'
for arch in i686 x86_64; do
  exe="$ROOT/build/$arch/promptwright.exe"
  objdump="$arch-w64-mingw32-objdump"
  format=$([ $arch = i686 ] && echo pei-i386 || echo pei-x86-64)
  check "$arch: built" test -s "$exe"
  check "$arch: $format" bash -c "$objdump -f '$exe' | grep -q 'file format $format'"
  check "$arch: only system DLLs" bash -c "
    dlls=\$($objdump -p '$exe' | sed -n 's/^\tDLL Name: //p')
    [ -n \"\$dlls\" ] && ! printf '%s\n' \"\$dlls\" | grep -Ev '$system_dlls'"
  check "$arch: common controls 6 manifest" grep -q 'Microsoft.Windows.Common-Controls' "$exe"
  check "$arch: per-monitor v2 DPI awareness, per-monitor and system-aware fallbacks" bash -c "
    grep -aq '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' '$exe' && grep -aq '<dpiAware [^>]*>true</dpiAware>' '$exe'"
  # Functions of later Windows are looked up at run time, so the program starts
  # on Windows 7. In the 64-bit build the window DLLs are delay-loaded, and objdump does not list
  # what is imported that way: the link map names every symbol taken from the
  # delay-import libraries.
  later='GetDpiForWindow|GetDpiForSystem|GetSystemMetricsForDpi|SystemParametersInfoForDpi|LoadIconWithScaleDown|SetThreadDpiAwarenessContext'
  map="$ROOT/build/cmake-$arch/promptwright.map"
  check "$arch: no import Windows 7 lacks" bash -c "
    ! $objdump -p '$exe' | grep -Eq '\b($later)\b'"
  if [ $arch = x86_64 ]; then
    check "$arch: no delay import Windows 7 lacks" bash -c "
      grep -q '_delay\.a(' '$map' && ! grep -Eq '\((__imp_)?_?($later)(@[0-9]+)?\)' '$map'"
    # A run without a window loads none of them (the 32-bit build imports them as ever).
    check "$arch: window DLLs delay-loaded" bash -c "
      ! $objdump -p '$exe' | grep -Eq 'DLL Name: (USER32|GDI32|COMCTL32|SHELL32|ole32|OLE32)'"
  fi
  # The version of project() in CMakeLists.txt.
  version=$(sed -n 's/^#define PW_VERSION_TEXT "\(.*\)"$/\1/p' "$ROOT/build/cmake-$arch/generated/res/version.h" 2>/dev/null)
  check "$arch: version $version.0" has_version "$version" "$exe"
  # The same bytes wherever and whenever they are built.
  check "$arch: no build path" lacks "$ROOT" "$exe"
  check "$arch: no link time" test "$(link_time "$exe")" = 0
  check "$arch: no debug directory" bash -c "$objdump -p '$exe' | grep -q '^Entry 6 0\+ 0\+ Debug Directory'"
  check "$arch: GUI subsystem" bash -c "$objdump -p '$exe' | grep -q 'Subsystem.*Windows GUI'"
done
echo "binary checks: $passed passed, $failed failed"
[ $failed -eq 0 ]
