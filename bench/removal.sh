#!/usr/bin/env bash
# Prints the removal run's time on a generated installation of 10,000 files in nested folders
# beside "cmd /c rd /s /q" of the same tree, their ratio, and where the run's time goes.
# Builds first; runs in a throwaway Wine prefix on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.bash"

work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-bench.XXXXXX")
export WINEPREFIX=$work/prefix
start_xvfb force
cleanup() { wineserver -k >/dev/null 2>&1 || true; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT
if [ -d "$build/wine-template" ]; then copy_wine_prefix "$build/wine-template" "$WINEPREFIX"
else make_wine_prefix "$WINEPREFIX"; fi

$WINE "$build/bench/removal_bench.exe" 'C:\bench' "${1:-10000}" | tr -d '\r'
