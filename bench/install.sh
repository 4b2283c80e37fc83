#!/usr/bin/env bash
# Prints the install run's time on a generated media of about 2,000 files and 200 MB, beside
# (a) a bare loop copying the same files in 2048-byte blocks with message pumping after each
# block and (b) CopyFileA, with the ratios. Builds first; runs in a throwaway Wine prefix on
# a virtual display of its own unless one works already.
#   bench/install.sh [ROUNDS]   (best of ROUNDS, 2 by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.bash"

work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-bench.XXXXXX")
export WINEPREFIX=$work/prefix
cleanup() { wineserver -k >/dev/null 2>&1 || true; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT
start_xvfb
if [ -d "$build/wine-template" ]; then copy_wine_prefix "$build/wine-template" "$WINEPREFIX"
else make_wine_prefix "$WINEPREFIX"; fi

# The media: 200 files in the top folder, listed one by one, and 9 folder trees of 200 files
# (150 in the tree's folder, 50 in a subfolder); sizes from 50 to 150 KB, 100 KB on average.
media=$work/media
mkdir -p "$media"
head -c $((150 * 1024)) /dev/urandom > "$work/block"
RANDOM=7
size() { echo $(( (50 + RANDOM % 101) * 1024 )); }
{
  printf '[InstallFiles]\r\n'
  for i in $(seq -w 1 200); do
    head -c "$(size)" "$work/block" > "$media/file$i.bin"
    printf 'file%s.bin=0\r\n' "$i"
  done
  printf '\r\n[InstallDirs]\r\n'
  for d in $(seq 1 9); do
    mkdir -p "$media/tree$d/sub"
    for i in $(seq -w 1 150); do head -c "$(size)" "$work/block" > "$media/tree$d/part$i.bin"; done
    for i in $(seq -w 1 50); do head -c "$(size)" "$work/block" > "$media/tree$d/sub/part$i.bin"; done
    printf 'tree%s=0\r\n' "$d"
  done
} > "$media/setup.ini"
echo "media: $(find "$media" -type f -name '*.bin' | wc -l) files, $(du -sm "$media" | cut -f1) MB"

mkdir -p "$WINEPREFIX/drive_c/bench"
$WINE "$build/bench/install_bench.exe" "$(printf 'Z:%s' "${media//\//\\}")" 'C:\bench' "${1:-2}" | tr -d '\r'
