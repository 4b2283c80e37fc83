#!/usr/bin/env bash
# Prints the removal run's time beside the bare deletion of the same logged files (DeleteFileA
# per file and RemoveDirectoryA per folder, one loop, no texts), their ratio, and where the
# run's time goes, on two installations laid out as the install run logs them: 2,000 files of
# 100 KB, and 10,000 small files. Medians of ROUNDS starts (3 by default), each on a fresh copy
# of the installation; a start that leaves anything behind stops the script. Builds first; runs
# in a throwaway Wine prefix on a virtual display.
#   bench/removal.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.bash"
source "$root/bench/bench.bash"
rounds=${1:-3}

work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-bench.XXXXXX")
export WINEPREFIX=$work/prefix
start_xvfb force
cleanup() { wineserver -k >/dev/null 2>&1 || true; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT
if [ -d "$build/wine-template" ]; then copy_wine_prefix "$build/wine-template" "$WINEPREFIX"
else make_wine_prefix "$WINEPREFIX"; fi
bench=$build/bench/removal_bench.exe
installed=$WINEPREFIX/drive_c/bench/inst

# FILES SIZE: inst\dNN\eNN\fNNNNN.bin in 100 files a folder, and its log ("setup.ini" in the
# installed folder): the files and the log itself, the folders inner before outer and the
# installed folder last, the uninstall entry.
make_installation() {
  python3 - "$work/master" "$1" "$2" <<'PY'
import os, sys
top, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
win = "C:\\bench\\inst"
data = os.urandom(size)
lines, dirs = ["[UninstallFiles]"], []
for i in range(files):
    outer, inner = i // 1000, i // 100 % 10
    rel = "d%02d\\e%02d" % (outer, inner)
    os.makedirs(os.path.join(top, rel.replace("\\", "/")), exist_ok=True)
    with open(os.path.join(top, rel.replace("\\", "/"), "f%05d.bin" % i), "wb") as f:
        f.write(data)
    lines.append("%s\\%s\\f%05d.bin=0" % (win, rel, i))
    if i % 100 == 99 or i == files - 1:
        dirs.append("%s\\%s=0" % (win, rel))
    if i % 1000 == 999 or i == files - 1:
        dirs.append("%s\\d%02d=0" % (win, outer))
lines.append(win + "\\setup.ini=0")
lines += ["", "[UninstallDirs]"] + dirs + [win + "=0", "", "[UninstallRegistry]",
          "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvantis Vandrel (64-bit)=0"]
with open(os.path.join(top, "setup.ini"), "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode())
PY
}

# One start on a fresh copy: MODE; prints the program's lines. The copy is on disk before the
# start, as an installation is: deleting a file whose blocks are not written yet costs a tenth
# of deleting one whose blocks are (on this machine's file system, which discards freed blocks).
start() {
  rm -rf "$installed"
  mkdir -p "$(dirname "$installed")"
  cp -a "$work/master" "$installed"
  sync
  $WINE "$bench" "$1" 'C:\bench\inst\setup.ini' 'C:\bench\inst' | tr -d '\r'
}

for case in "2000 102400 2,000 files of 100 KB" "10000 5120 10,000 small files (5 KB)"; do
  read -r files size label <<< "$case"
  rm -rf "$work/master"
  make_installation "$files" "$size"
  echo "== $label: $(find "$work/master" -type f | wc -l) files, $(du -sm "$work/master" | cut -f1) MB"
  run_rounds "$work/figures" "$rounds" bare run parts || exit 1
  run=$(median_of "$work/figures" run)
  bare=$(median_of "$work/figures" bare)
  printf '  removal run:             %s s\n' "$run"
  printf '  bare deletion:           %s s\n' "$bare"
  printf "  run / bare:              %s (target <= 2; the median of the rounds' ratios)\n" \
    "$(median_ratio "$work/figures" run bare)"
  echo "  where the run's time goes (measured apart, medians):"
  printf '    log reading:           %s s\n' "$(median_of "$work/figures" 'log reading')"
  printf '    existence tests:       %s s\n' "$(median_of "$work/figures" 'existence tests')"
  printf '    status texts, pumping: %s s\n' "$(median_of "$work/figures" 'status texts')"
  printf '    file deletions:        %s s (the bare deletion)\n' "$bare"
done
