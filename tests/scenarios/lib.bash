# Shared steps of the scenario tests: a fresh Wine prefix, media folders, the UI driver and
# checks. Each scenario sources this file and calls its steps.
set -u
source "$SOURCE_DIR/scripts/wine-env.bash"

SCENARIO_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-$SCENARIO_NAME.XXXXXX")
export WINEPREFIX=$WORK/prefix
copy_wine_prefix "$WINE_TEMPLATE" "$WINEPREFIX"
FAILURES=0

finish() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$WORK"
}
trap finish EXIT

# The UI driver (see tests/tools/uidriver.cpp for its commands).
ui() { $WINE "$UIDRIVER" "$@"; }

# A Unix path as Wine sees it through drive Z:.
windows_path() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }

# A media folder: setup.exe and, when given, the text of setup.ini.
make_media() {
  local folder=$1
  mkdir -p "$folder"
  cp "$SETUP_EXE" "$folder/setup.exe"
  if [ $# -gt 1 ]; then printf '%s' "$2" > "$folder/setup.ini"; fi
}

# Starts setup.exe from a media folder in the background; SETUP_PID is the shell's job.
start_setup() {
  $WINE "$1/setup.exe" &
  SETUP_PID=$!
}

# Waits for the started setup and stores its exit code in SETUP_EXIT (fails after 60 s).
wait_setup() {
  local i
  for i in $(seq 1 600); do
    if ! kill -0 "$SETUP_PID" 2>/dev/null; then
      wait "$SETUP_PID"
      SETUP_EXIT=$?
      return 0
    fi
    sleep 0.1
  done
  fail "setup did not end within 60 s"
  kill "$SETUP_PID" 2>/dev/null
  SETUP_EXIT=999
}

fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $*"; }

expect_eq() {  # expected actual what
  if [ "$1" == "$2" ]; then pass "$3"; else fail "$3: expected [$1], got [$2]"; fi
}

expect_contains() {  # haystack needle what
  if printf '%s' "$1" | grep -qF -- "$2"; then pass "$3"; else fail "$3: [$2] not in [$1]"; fi
}

# The value of one "key=value" line of the driver's output.
field() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | tr -d '\r'; }

scenario_end() {
  if [ "$FAILURES" -eq 0 ]; then echo "$SCENARIO_NAME: all checks passed"; exit 0; fi
  echo "$SCENARIO_NAME: $FAILURES check(s) failed"
  exit 1
}

# Registry checks through Wine's reg tool: 0 when the key (and value, when given) exists.
reg_exists() {
  if [ $# -gt 1 ]; then $WINE reg query "$1" /v "$2" >/dev/null 2>&1; else $WINE reg query "$1" >/dev/null 2>&1; fi
}

# Imports a registry file written in regedit's format.
reg_import() { $WINE regedit /S "$(windows_path "$1")" >/dev/null 2>&1; }

# Waits until a file exists (fails after the given seconds, 20 by default).
wait_for_file() {
  local i
  for i in $(seq 1 $((${2:-20} * 10))); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

expect_gone() { if [ -e "$1" ]; then fail "$2: still there"; else pass "$2"; fi; }
expect_there() { if [ -e "$1" ]; then pass "$2"; else fail "$2: missing"; fi; }
