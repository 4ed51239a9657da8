#!/usr/bin/env bash
# Installs the tools the build and the tests need; does nothing when they are present.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
pkg_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686)
have x86_64-w64-mingw32-g++ || need+=(g++-mingw-w64-x86-64)
have g++ || need+=(g++)
have cmake || need+=(cmake)
have make || need+=(make)
# make dist: the zips and manifests (scripts/dist.py), the time of the last commit.
have python3 || need+=(python3)
have git || need+=(git)
have Xvfb || need+=(xvfb)
have xwd || need+=(x11-apps)
have clang++ || need+=(clang)
pkg_installed libclang-rt-14-dev || need+=(libclang-rt-14-dev)
pkg_installed libgtest-dev || need+=(libgtest-dev)
pkg_installed libbenchmark-dev || need+=(libbenchmark-dev)
pkg_installed imagemagick || need+=(imagemagick)
pkg_installed wine64 || need+=(wine64)
pkg_installed wine || need+=(wine)
pkg_installed wine32:i386 || need+=(wine32:i386)
# Where the kernel cannot run 32-bit code, the 32-bit build's tests run Wine's
# 32-bit loader under qemu-i386, which only root can set up (scripts/ia32.sh).
if [ "$(id -u)" -eq 0 ] && ! bash "$(cd "$(dirname "$0")" && pwd)/ia32.sh" native; then
  have qemu-i386 || need+=(qemu-user)
fi

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "promptwright: missing packages (${need[*]}); run this script as root to install them" >&2
  exit 1
fi

echo "promptwright: installing ${need[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
