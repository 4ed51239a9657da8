#!/usr/bin/env bash
# How this machine runs 32-bit x86 programs (Wine's 32-bit loader is one), and
# making it run them under qemu-user where the kernel cannot.
#
#   scripts/ia32.sh mode     prints native, emulated or none
#   scripts/ia32.sh enable   native: nothing. Otherwise, as root, registers
#                            qemu-i386 for i386 executables (binfmt_misc) unless
#                            a registration exists; prints one line when it
#                            cannot. Exits 0 when 32-bit programs run afterwards.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BINFMT=/proc/sys/fs/binfmt_misc
QEMU=/usr/bin/qemu-i386
ENTRY=qemu-i386
# qemu's own binfmt configuration for i386 ELF executables (static and PIE).
MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# Whether the kernel itself runs 32-bit code. The probe is a 96-byte i386
# program that exits with 42; a non-zero byte in the padding of its ELF
# identification keeps it out of qemu's registration (whose mask covers the
# padding), so an emulator cannot answer in the kernel's place.
native() {
  local dir probe
  dir=$(mktemp -d) || return 1
  probe="$dir/probe"
  printf '\x7fELF\x01\x01\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00' >"$probe"
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >>"$probe"
  # One loadable segment: the whole file at 0x08048000, readable and executable.
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
  printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
  # mov eax, 1 (exit); mov ebx, 42; int 0x80
  printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >>"$probe"
  chmod +x "$probe"
  "$probe" >/dev/null 2>&1
  local code=$?
  rm -rf "$dir"
  [ $code -eq 42 ]
}

loader_runs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

mode() {
  if native; then echo native
  elif loader_runs; then echo emulated
  else echo none
  fi
}

# Prints why 32-bit programs cannot run here, in one line, and fails.
cannot() {
  echo "i686: $*; the 32-bit build's Wine tests are not run here"
  return 1
}

enable() {
  native && return 0
  if [ -e "$BINFMT/$ENTRY" ]; then
    # Someone's registration, or ours from an earlier run: used as it is.
    if ! head -n 1 "$BINFMT/$ENTRY" | grep -qx enabled; then
      cannot "the binfmt_misc registration $ENTRY exists but is disabled (left alone)"
      return
    fi
  else
    [ "$(id -u)" -eq 0 ] || { cannot "kernel cannot run 32-bit code, and only root can register qemu-i386 for it"; return; }
    [ -x "$QEMU" ] || { cannot "kernel cannot run 32-bit code, and $QEMU is missing (package qemu-user)"; return; }
    if [ ! -e "$BINFMT/register" ]; then
      mount -t binfmt_misc binfmt_misc "$BINFMT" >/dev/null 2>&1 ||
        { cannot "kernel cannot run 32-bit code, and binfmt_misc cannot be mounted"; return; }
    fi
    printf ':%s:M::%s:%s:%s:OCF' "$ENTRY" "$MAGIC" "$MASK" "$QEMU" >"$BINFMT/register" 2>/dev/null ||
      { cannot "kernel cannot run 32-bit code, and registering qemu-i386 with binfmt_misc failed"; return; }
    echo "i686: kernel cannot run 32-bit code; registered $QEMU for i386 executables (binfmt_misc)"
  fi
  loader_runs || cannot "Wine's 32-bit loader does not start even under qemu-i386"
}

case "${1:-}" in
  mode) mode ;;
  native) native ;;
  enable) enable ;;
  *) echo "usage: $0 mode|native|enable" >&2; exit 2 ;;
esac
