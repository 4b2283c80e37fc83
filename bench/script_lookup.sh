#!/usr/bin/env bash
# Prints the lookup timings on generated install logs: the section index the runs use (built,
# each entry's flags read, every key looked up) at 1,000, 10,000 and 100,000 entries, the scan
# of GetScriptValue beside it, and one SetScriptValue near the section's end.
# Builds first; runs in a throwaway Wine prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.bash"

work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-bench.XXXXXX")
export WINEPREFIX=$work/prefix
cleanup() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT
if [ -d "$build/wine-template" ]; then copy_wine_prefix "$build/wine-template" "$WINEPREFIX"
else make_wine_prefix "$WINEPREFIX"; fi

$WINE "$build/bench/script_lookup_bench.exe" | tr -d '\r'
