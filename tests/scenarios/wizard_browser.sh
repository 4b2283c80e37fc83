#!/usr/bin/env bash
# Leaving the Welcome page warns when a process named iexplore.exe (in any letter case) runs,
# and not for a program whose name merely ends with those letters.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"

# Runs a copy of the test child under the given name until it is killed; waits until it runs.
start_program_named() {  # name
  local folder=$WORK/programs
  mkdir -p "$folder"
  cp "$TEST_CHILD" "$folder/$1"
  rm -f "$folder/$1.started"
  $WINE "$folder/$1" record "$(windows_path "$folder/$1.started")" sleep 120000 &
  PROGRAM_PID=$!
  local i
  for i in $(seq 1 100); do [ -f "$folder/$1.started" ] && return 0; sleep 0.1; done
  fail "$1 did not start"
}

media=$WORK/media
make_wizard_media "$media" '[License]
Show=0
[Destination]
FileTypes=1'

start_program_named IEXPLORE.EXE
browser=$PROGRAM_PID
start_runner "$media" install
wait_sheet "Welcome"
ui sheet "$SHEET" next
box=$(ui answer 1 20000 | tr -d '\r')
expect_eq "Corvantis Vandrel Setup" "$(field "$box" caption)" "warning caption"
expect_eq "Setup has determined that Microsoft Internet Explorer is currently running. It is recommended that you close Microsoft Internet Explorer before Setup continues." \
  "$(field "$box" text)" "warning text"
wait_for "" "setup goes on after the warning" caption
kill "$browser" 2>/dev/null
wait "$browser" 2>/dev/null

start_program_named notiexplore.exe
press back "Welcome"
# A warning would hold the Welcome page until it is answered.
press next ""
ui sheet "$SHEET" cancel
wait_runner
expect_eq 1223 "$(result status)" "wizard cancelled"
kill "$PROGRAM_PID" 2>/dev/null
wait "$PROGRAM_PID" 2>/dev/null

scenario_end
