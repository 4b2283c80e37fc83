# Steps of the wizard scenarios (the sheet runner, the sheet, registry, pixels). Sourced after lib.bash.
RUNNER_OUT=$WORK/runner.out
# The default installation folder exists, so that Next on the destination page moves on.
make_default_destination() { mkdir -p "$DRIVE/Program Files/Corvantis Vandrel"; }
# A media folder holding the sheet runner and setup.ini (given with LF lines, written CR LF).
make_wizard_media() { make_default_destination; mkdir -p "$1"; cp "$SHEET_RUNNER" "$1/sheet_runner.exe"; printf '%s\n' "$2" | sed 's/$/\r/' > "$1/setup.ini"; }
# The runner in its media folder (see sheet_runner.cpp); wait_runner puts its output in RESULT.
start_runner() { local folder=$1; shift; (cd "$folder" && exec $WINE ./sheet_runner.exe "$@" > "$RUNNER_OUT" 2>/dev/null) & RUNNER_PID=$!; }
wait_runner() { wait_pid "$RUNNER_PID" RUNNER_EXIT; RESULT=$(tr -d '\r' < "$RUNNER_OUT"); }
result() { field "$RESULT" "$1"; }
# The sheet (or dialog) with that caption in SHEET; its caption, current page and a page's text.
wait_sheet() { SHEET=$(ui wait-window "#32770" "$1" 20000 | tr -d '\r'); [ -n "$SHEET" ] || fail "no window titled [$1]"; }
caption() { ui text "${1:-$SHEET}" 0 | tr -d '\r'; }
current_page() { ui page "$SHEET" | tr -d '\r'; }
page_text() { ui text "$(current_page)" "$1" | tr -d '\r'; }
answer_box() { answer "$1"; printf '%s\n' "$BOX"; }  # kept for the scenarios that print the whole box
# A control's "visible enabled text"; Back, Next and Finish as "visible+enabled" pairs ("11 10 00").
control_state() { ui controls "${2:-$SHEET}" | tr -d '\r' | awk -F'\t' -v id="$1" '$1 == id { print $3 " " $4 " " $5; exit }'; }
wizard_buttons() { ui controls "$SHEET" | tr -d '\r' | awk -F'\t' '$1 == 12323 { b = $3 $4 } $1 == 12324 { n = $3 $4 } $1 == 12325 { f = $3 $4 } END { print b " " n " " f }'; }
# Moves the sheet on and waits for the next page's caption and, when given, its buttons.
press() { ui sheet "$SHEET" "$1"; wait_for "$2" "$1 leads to [$2]" caption; [ $# -lt 3 ] || wait_for "$3" "[$2] shows the buttons $3" wizard_buttons; }
# A string value under HKLM, or "(none)"; set; a key deleted.
registry_value() {
  $WINE reg query "HKLM\\$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="    $2    REG_SZ" 'index($0, n) == 1 { print substr($0, length(n) + 5); f = 1 } END { if (!f) print "(none)" }'
}
# A write made as a Wine server ends can be lost, so it is made until it reads back.
set_registry_value() { for i in 1 2 3; do $WINE reg add "HKLM\\$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; [ "$(registry_value "$1" "$2")" != "$3" ] || break; done; }
delete_registry_key() { $WINE reg delete "HKLM\\$1" /f >/dev/null 2>&1 || true; }
# Screen pixels as "r,g,b": of a screenshot taken last, or of a bitmap file; a script's colour.
screenshot() { import -window root "$WORK/screen.png"; }
file_pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+.5)],%[fx:int(255*p{$2,$3}.g+.5)],%[fx:int(255*p{$2,$3}.b+.5)]" info:-; }
pixel() { file_pixel "$WORK/screen.png" "$1" "$2"; }
colour() { echo "$(($1 & 255)),$((($1 >> 8) & 255)),$((($1 >> 16) & 255))"; }
# The client rectangle of a window in screen coordinates: CLIENT_LEFT, CLIENT_TOP, ...
client_rect() { IFS=, read -r CLIENT_LEFT CLIENT_TOP CLIENT_RIGHT CLIENT_BOTTOM <<< "$(ui rect "$1" | tr -d '\r' | sed -n 's/^client=//p')"; }
# Runs a copy of the test child under that name until the scenario ends; waits until it runs.
start_program_named() {  # name
  mkdir -p "$WORK/programs" && cp "$TEST_CHILD" "$WORK/programs/$1"
  $WINE "$WORK/programs/$1" record "$(windows_path "$WORK/programs/$1.started")" sleep 120000 & PROGRAM_PID=$!
  wait_for_file "$WORK/programs/$1.started" || fail "$1 did not start"
}
