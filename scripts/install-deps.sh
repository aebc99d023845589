#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, once: MinGW-w64,
# Wine (with its 32-bit part), Xvfb, clang for the fuzzers, GoogleTest's
# sources and ImageMagick for the screenshots. Does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest
          g++-mingw-w64-i686-posix mingw-w64-tools wine wine32:i386 xvfb imagemagick)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
