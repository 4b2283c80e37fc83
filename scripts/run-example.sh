#!/usr/bin/env bash
# Builds setup.exe if needed and runs it under Wine on the example installation media in
# examples/. With a working display it opens a real window there; without one it runs on a
# virtual display and writes a screenshot of each window it shows into screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
build=${BUILD_DIR:-$root/build}
source "$root/scripts/wine-env.bash"

# The demo keeps its own prefix between runs, so an installed copy stays installed.
export WINEPREFIX=${DEMO_PREFIX:-$build/wine-demo}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the demo Wine prefix (once)..."
  make_wine_prefix "$WINEPREFIX"
fi

media=$build/example-media
rm -rf "$media"
cp -a "$root/examples" "$media"
cp "$build/setup.exe" "$media/setup.exe"

headless=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi

# Setup is started from its media folder, as a user does; the script's bitmaps are found there.
cd "$media"
if [ -z "$headless" ]; then
  echo "Running setup.exe on $DISPLAY from $media"
  set +e
  $WINE "$media/setup.exe"
  code=$?
  set -e
  walked=0
else
  start_xvfb force
  trap 'wineserver -k >/dev/null 2>&1 || true; stop_xvfb' EXIT
  shots=${SCREENSHOT_DIR:-$root/screenshots}
  mkdir -p "$shots"
  rm -f "$shots"/[0-9][0-9]-*.png "$shots/unexpected.png"
  echo "No display: running setup.exe on a virtual display ($DISPLAY); screenshots go to $shots"
  source "$root/scripts/demo-walk.bash"
  walked=0
  demo_walk "$media" "$shots" || walked=$?
  code=$DEMO_EXIT
fi
echo "setup.exe ended with exit code $code"
# 0 after an install or update, 2 after a removal; anything else, or a walk that had to stop
# setup, is a failure of the demo.
[ "$walked" -eq 0 ] && { [ "$code" -eq 0 ] || [ "$code" -eq 2 ]; }
