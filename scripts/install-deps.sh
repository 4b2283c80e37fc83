#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need (idempotent): the
# cross compiler with the posix thread model and its binutils (windres, objdump), Wine with its
# own fonts (dialogs drawn with substitute fonts come out in other sizes), a virtual display
# and xdpyinfo, GoogleTest's sources, ImageMagick for the screenshots, and clang with the
# sanitizer runtimes and libFuzzer for the fuzz pass.
set -euo pipefail
packages=(cmake make g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
          wine wine64 fonts-wine xvfb x11-utils googletest imagemagick clang libclang-rt-14-dev libfuzzer-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
