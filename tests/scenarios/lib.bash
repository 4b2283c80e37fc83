# Shared steps of the scenario tests: a fresh Wine prefix, media, the UI driver, waits and checks.
set -u
source "$SOURCE_DIR/scripts/wine-env.bash"
SCENARIO_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vandrel-$SCENARIO_NAME.XXXXXX")
export WINEPREFIX=$WORK/prefix
copy_wine_prefix "$WINE_TEMPLATE" "$WINEPREFIX"
DRIVE=$WINEPREFIX/drive_c
FAILURES=0
# Each scenario has a virtual display of its own: on a shared one, another test's new window
# takes the input focus, which cancels a click that a driver is making on this test's window.
start_xvfb force || { echo "FAIL: no display of its own"; rm -rf "$WORK"; exit 1; }
finish() { wineserver -k >/dev/null 2>&1; stop_xvfb; rm -rf "$WORK"; }
trap finish EXIT
ui() { $WINE "$UIDRIVER" "$@"; }  # the UI driver (see tests/tools/uidriver.cpp for its commands)
windows_path() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }  # a Unix path as Wine sees it through Z:
c_path() { local p=${1#$DRIVE}; printf 'C:%s' "${p//\//\\}"; }  # a path under drive C as Windows names it
escaped() { printf '%s' "${1//\\/\\\\}"; }  # backslashes doubled, as the driver prints texts
crlf() { printf '%s\r\n' "$@"; }  # text lines, each ended by CR LF
field() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | tr -d '\r'; }  # the value of one "key=value" line
# A media folder: setup.exe and, when given, the text of setup.ini.
make_media() { mkdir -p "$1"; cp "$SETUP_EXE" "$1/setup.exe"; [ $# -lt 2 ] || printf '%s' "$2" > "$1/setup.ini"; }
# Starts setup.exe in the background (SETUP_PID), with start_setup_in from its own folder.
start_setup() { $WINE "$1/setup.exe" & SETUP_PID=$!; }
start_setup_in() { (cd "$1" && exec $WINE ./setup.exe) & SETUP_PID=$!; }
# Waits for a process of this shell (60 s at most) and stores its exit code in the variable.
wait_pid() {  # pid variable
  local i
  for i in $(seq 1 600); do kill -0 "$1" 2>/dev/null || { wait "$1"; printf -v "$2" '%s' $?; return 0; }; sleep 0.1; done
  fail "process $1 did not end within 60 s"; kill "$1" 2>/dev/null; printf -v "$2" 999
}
wait_setup() { wait_pid "$SETUP_PID" SETUP_EXIT; }
fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $*"; }
expect_eq() { if [ "$1" == "$2" ]; then pass "$3"; else fail "$3: expected [$1], got [$2]"; fi; }  # expected actual what
expect_contains() { if printf '%s' "$1" | grep -qF -- "$2"; then pass "$3"; else fail "$3: [$2] not in [$1]"; fi; }
exists() { [ -e "$1" ] && echo there || echo gone; }  # whether a path is there, for combined checks
expect_gone() { if [ -e "$1" ]; then fail "$2: still there"; else pass "$2"; fi; }
expect_there() { if [ -e "$1" ]; then pass "$2"; else fail "$2: missing"; fi; }
scenario_end() { echo "$SCENARIO_NAME: $FAILURES check(s) failed"; [ "$FAILURES" -eq 0 ]; exit; }
# Polls a command until it prints the expected text (10 s at most).
wait_for() {  # expected what command...
  local expected=$1 what=$2 actual="" i
  shift 2
  for i in $(seq 1 50); do actual=$("$@" 2>/dev/null | tr -d '\r'); [ "$actual" == "$expected" ] && { pass "$what"; return 0; }; sleep 0.2; done
  fail "$what: expected [$expected], got [$actual]"
}
wait_for_file() { local i; for i in $(seq 1 $((${2:-20} * 10))); do [ -e "$1" ] && return 0; sleep 0.1; done; return 1; }
# The registry: 0 when the key (and value) exists; a key there or gone; a file in regedit's format.
# A failure other than "Unable to find" (a Wine server that was just ending) is asked again.
reg_exists() {
  local i out
  for i in 1 2 3; do
    out=$($WINE reg query "$1" ${2:+/v "$2"} 2>&1) && return 0
    case $out in *"Unable to find"*) return 1 ;; esac
    sleep 0.2
  done
  return 1
}
key_state() { reg_exists "$1" "${2:-}" && echo there || echo gone; }  # key [value]
reg_import() { $WINE regedit /S "$(windows_path "$1")" >/dev/null 2>&1; }
pending_renames() { $WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r'; }
# Answers setup's message box with that button; BOX is what the driver said of it, BOX_TEXT its text.
answer() {  # button [timeout-ms]
  BOX=$(ui answer "$1" "${2:-30000}" | tr -d '\r') || fail "no message box to answer with $1"
  BOX_TEXT=$(field "$BOX" text)
  ui wait-gone "$(field "$BOX" window)" 10000 >/dev/null
}
box_text() { answer "$@"; printf '%s' "$BOX_TEXT"; }
