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
# A mirror caught mid-sync fails an index download ("File has unexpected
# size"); it is usually whole again a minute or so later.
apt_install() { apt-get install -y -qq --no-install-recommends "$@" "${need[@]}" >/dev/null; }
for attempt in 1 2 3; do
  if apt-get update -qq && apt_install; then
    exit 0
  fi
  [ "$attempt" -lt 3 ] || break
  echo "promptwright: the package download failed (attempt $attempt of 3); trying again in $((attempt * 20)) s" >&2
  sleep $((attempt * 20))
done
# A security suite whose i386 index stays broken makes its amd64 versions the
# candidates, which no i386 package can match; the main suites alone agree.
echo "promptwright: installing from the main suites alone, without the security suite's index" >&2
parts=$(mktemp -d)
trap 'rm -rf "$parts"' EXIT
for f in /etc/apt/sources.list.d/*.sources; do
  [ -e "$f" ] || continue
  awk -v RS= -v ORS='\n\n' '!/URIs:[^\n]*security/' "$f" >"$parts/$(basename "$f")"
done
grep -v 'security' /etc/apt/sources.list >"$parts/main.list" 2>/dev/null || true
if apt_install -o Dir::Etc::sourceparts="$parts" -o Dir::Etc::sourcelist="$parts/main.list"; then
  exit 0
fi
echo "promptwright: could not install ${need[*]}" >&2
exit 1
