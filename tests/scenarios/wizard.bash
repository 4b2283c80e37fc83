# Steps shared by the wizard scenarios: media with the sheet runner, the runner's result, the
# sheet and its buttons, registry values and screen pixels. Sourced after lib.bash.

RUNNER_OUT=$WORK/runner.out

# The default installation folder exists, so that Next on the destination page moves on
# without asking to create it.
make_default_destination() { mkdir -p "$WINEPREFIX/drive_c/Program Files/Corvantis Vandrel"; }

# A media folder holding the sheet runner and setup.ini (given with LF lines, written CR LF).
make_wizard_media() {  # folder script-text
  make_default_destination
  mkdir -p "$1"
  cp "$SHEET_RUNNER" "$1/sheet_runner.exe"
  printf '%s\n' "$2" | sed 's/$/\r/' > "$1/setup.ini"
}

# Starts the runner in its media folder (images are looked up from the current folder).
start_runner() {  # folder command [arguments]
  local folder=$1
  shift
  rm -f "$RUNNER_OUT"
  (cd "$folder" && exec $WINE ./sheet_runner.exe "$@" > "$RUNNER_OUT" 2>/dev/null) &
  RUNNER_PID=$!
}

# Waits for the runner to end (60 s at most); RESULT holds its output.
wait_runner() {
  local i
  for i in $(seq 1 600); do
    if ! kill -0 "$RUNNER_PID" 2>/dev/null; then
      wait "$RUNNER_PID"
      RESULT=$(tr -d '\r' < "$RUNNER_OUT")
      return 0
    fi
    sleep 0.1
  done
  fail "the sheet runner did not end within 60 s"
  kill "$RUNNER_PID" 2>/dev/null
  RESULT=""
}

result() { field "$RESULT" "$1"; }

# Waits for a sheet (or dialog) with that caption; SHEET holds it.
wait_sheet() {  # caption
  SHEET=$(ui wait-window "#32770" "$1" 20000 | tr -d '\r')
  [ -n "$SHEET" ] || fail "no window titled [$1]"
}

# Polls a command until it prints the expected text (10 s at most).
wait_for() {  # expected what command...
  local expected=$1 what=$2 actual="" i
  shift 2
  for i in $(seq 1 50); do
    actual=$("$@" 2>/dev/null | tr -d '\r')
    if [ "$actual" == "$expected" ]; then pass "$what"; return 0; fi
    sleep 0.2
  done
  fail "$what: expected [$expected], got [$actual]"
  return 1
}

# Answers setup's message box with that button, prints its caption and text, and waits until
# it has gone, so that the next answer cannot find the same box again.
answer_box() {  # button
  local out i
  out=$(ui answer "$1" | tr -d '\r')
  for i in $(seq 1 50); do
    [ -z "$(ui windows "#32770" "Corvantis Vandrel Setup" | tr -d '\r')" ] && break
    sleep 0.1
  done
  printf '%s\n' "$out"
}

caption() { ui text "${1:-$SHEET}" 0 | tr -d '\r'; }

# A sheet control's state: "visible enabled text" (the sheet's buttons: 12323 Back,
# 12324 Next, 12325 Finish, 2 Cancel).
control_state() {  # id [window]
  ui controls "${2:-$SHEET}" | tr -d '\r' | awk -F'\t' -v id="$1" '$1 == id { print $3 " " $4 " " $5; exit }'
}

# The three wizard buttons at once: Back, Next and Finish as "visible+enabled" pairs, for
# example "11 10 00" (Back enabled, Next disabled, Finish hidden).
wizard_buttons() {
  local back next finish
  back=$(control_state 12323 | cut -c1,3)
  next=$(control_state 12324 | cut -c1,3)
  finish=$(control_state 12325 | cut -c1,3)
  echo "$back $next $finish"
}

current_page() { ui page "$SHEET" | tr -d '\r'; }

# Moves the sheet on and waits for the next page's caption.
press() {  # button expected-caption
  ui sheet "$SHEET" "$1"
  wait_for "$2" "$1 leads to [$2]" caption
}

# A string value under HKLM, or "(none)".
registry_value() {  # key value
  local line
  line=$($WINE reg query "HKLM\\$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -F "$2")
  if [ -z "$line" ]; then echo "(none)"; else echo "$line" | sed 's/.*REG_SZ[[:space:]]*//'; fi
}

set_registry_value() {  # key value data
  $WINE reg add "HKLM\\$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1
}

delete_registry_key() {  # key
  $WINE reg delete "HKLM\\$1" /f >/dev/null 2>&1 || true
}

# Screen pixels: take a screenshot, then read pixels of it as "r,g,b".
screenshot() { import -window root "$WORK/screen.png"; }
pixel() {  # x y (screen coordinates)
  convert "$WORK/screen.png" -format "%[fx:int(255*p{$1,$2}.r+.5)],%[fx:int(255*p{$1,$2}.g+.5)],%[fx:int(255*p{$1,$2}.b+.5)]" info:-
}
# A pixel of a bitmap file, likewise.
file_pixel() {  # file x y
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+.5)],%[fx:int(255*p{$2,$3}.g+.5)],%[fx:int(255*p{$2,$3}.b+.5)]" info:-
}
# A decimal colour number of the setup script (0x00BBGGRR) as "r,g,b".
colour() { echo "$(($1 & 255)),$((($1 >> 8) & 255)),$((($1 >> 16) & 255))"; }

# The client rectangle of a window in screen coordinates: CLIENT_LEFT, CLIENT_TOP, ...
client_rect() {  # window
  local r
  r=$(ui rect "$1" | tr -d '\r' | sed -n 's/^client=//p')
  IFS=, read -r CLIENT_LEFT CLIENT_TOP CLIENT_RIGHT CLIENT_BOTTOM <<< "$r"
}
