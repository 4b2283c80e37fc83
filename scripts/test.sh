#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests and the scenarios under Wine, on a
# virtual display. Installs the Debian packages it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
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
