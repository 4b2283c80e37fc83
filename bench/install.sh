#!/usr/bin/env bash
# Prints the install run's time beside (a) the run's own 2048-byte block copy of the same files
# (with the source's time and the archive attribute) and no pumping at all, the floor, (a') the
# same copy pumping after every block, as the run did before it paced its pumps, and (b)
# CopyFileA, with the ratios and where the run's time goes, on two media: 2,000 files of 50 to
# 150 KB (about 200 MB), and 10,000 small files (5 KB). On each, a tenth of the files is listed
# one by one in [InstallFiles] and the rest come in nine [InstallDirs] trees. Medians of ROUNDS
# starts (3 by default), each into a fresh folder; a start that copies anything short stops the
# script. Builds first; runs in a throwaway Wine prefix on a virtual display of its own unless
# one works already.
#   bench/install.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.bash"
source "$root/bench/bench.bash"
rounds=${1:-3}

work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-bench.XXXXXX")
export WINEPREFIX=$work/prefix
cleanup() { wineserver -k >/dev/null 2>&1 || true; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT
start_xvfb
if [ -d "$build/wine-template" ]; then copy_wine_prefix "$build/wine-template" "$WINEPREFIX"
else make_wine_prefix "$WINEPREFIX"; fi
bench=$build/bench/install_bench.exe
media=$work/media
media_win=$(printf 'Z:%s' "${media//\//\\}")
targets=$WINEPREFIX/drive_c/bench

# FILES MIN-KB MAX-KB: file0001.bin... listed one by one, then tree1..tree9, each with three
# quarters of its files at its top and a quarter in "sub".
make_media() {
  python3 - "$media" "$@" <<'PY'
import os, random, sys
top, files, low, high = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
random.seed(7)
block = os.urandom(high * 1024)
def write(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(block[:random.randint(low, high) * 1024])
listed, per_tree = files // 10, (files - files // 10) // 9
lines = ["[InstallFiles]"]
for i in range(1, listed + 1):
    write(os.path.join(top, "file%05d.bin" % i))
    lines.append("file%05d.bin=0" % i)
lines += ["", "[InstallDirs]"]
for d in range(1, 10):
    for i in range(1, per_tree + 1):
        write(os.path.join(top, "tree%d" % d, "sub" if i > per_tree * 3 // 4 else "", "part%05d.bin" % i))
    lines.append("tree%d=0" % d)
with open(os.path.join(top, "setup.ini"), "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode())
PY
}

# MODE: one start into a fresh folder; prints the program's lines. The last start's files are
# deleted and on disk first, so that no start pays for another's writing or deleting.
start() {
  rm -rf "$targets"
  mkdir -p "$targets"
  sync
  $WINE "$bench" "$1" "$media_win" 'C:\bench\target' | tr -d '\r'
}

for case in "2000 50 150 2,000 files, about 200 MB" "10000 5 5 10,000 small files (5 KB)"; do
  read -r files low high label <<< "$case"
  rm -rf "$media"
  make_media "$files" "$low" "$high"
  echo "== $label: $(find "$media" -type f -name '*.bin' | wc -l) files, $(du -sm "$media" | cut -f1) MB"
  run_rounds "$work/figures" "$rounds" loop run copyfile pumped parts || exit 1
  run=$(median_of "$work/figures" run)
  loop=$(median_of "$work/figures" loop)
  pumped=$(median_of "$work/figures" pumped)
  copy=$(median_of "$work/figures" copyfile)
  printf '  install run:                     %s s\n' "$run"
  printf '  (a) 2 KiB loop, no pumping:      %s s\n' "$loop"
  printf "  (a') 2 KiB loop, pump per block: %s s\n" "$pumped"
  printf '  (b) CopyFileA:                   %s s\n' "$copy"
  echo "  ratios (medians of the rounds' ratios):"
  printf '  run / (a):  %s (target <= 1.1)\n' "$(median_ratio "$work/figures" run loop)"
  printf '  run / (b):  %s\n' "$(median_ratio "$work/figures" run copyfile)"
  printf "  (a') / (a): %s\n" "$(median_ratio "$work/figures" pumped loop)"
  echo "  where the run's time goes (measured apart, medians):"
  printf '    size sum:                      %s s\n' "$(median_of "$work/figures" 'size sum')"
  printf '    status texts, pumping:         %s s\n' "$(median_of "$work/figures" 'status texts')"
  printf '    progress callback per block:   %s s\n' "$(median_of "$work/figures" 'progress callback')"
  printf '    log lines:                     %s s\n' "$(median_of "$work/figures" 'log lines')"
  printf '    copying:                       %s s (the loop)\n' "$loop"
done
