#!/usr/bin/env bash
# Builds everything and runs every test: a short fuzz pass of the platform-neutral core (the
# corpus replayed, each target for $FUZZ_SECONDS, 30 by default), then the unit tests and the
# scenarios under Wine, on a virtual display. Installs the Debian packages it needs first.
# Extra arguments go to CTest; a run given some skips the fuzz pass unless FUZZ_SECONDS is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}

if [ $# -eq 0 ] || [ -n "${FUZZ_SECONDS:-}" ]; then
  NATIVE_BUILD_DIR=${NATIVE_BUILD_DIR:-$build/native} "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"
fi
source "$root/scripts/wine-env.bash"

# Tests always run on their own virtual display, never on the user's.
start_xvfb force
trap 'stop_xvfb' EXIT

# One template prefix per run; each test copies it.
export WINE_TEMPLATE=$build/wine-template
echo "Making the Wine template prefix..."
make_wine_prefix "$WINE_TEMPLATE"

cd "$build"
ctest --output-on-failure -j 2 "$@"
