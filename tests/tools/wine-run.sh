#!/usr/bin/env bash
# CTest's emulator: runs a Windows test program under Wine in its own copy of the template
# prefix, and passes its exit code on.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.bash"
if [ -z "${WINE_TEMPLATE:-}" ] || [ ! -d "$WINE_TEMPLATE" ]; then
  echo "wine-run.sh: WINE_TEMPLATE does not name a template prefix (run the tests with scripts/test.sh)" >&2
  exit 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-unit.XXXXXX")
copy_wine_prefix "$WINE_TEMPLATE" "$work/prefix"
export WINEPREFIX=$work/prefix
export TEST_WORK_DIR=$work
$WINE "$@"
code=$?
wineserver -k >/dev/null 2>&1
rm -rf "$work"
exit $code
