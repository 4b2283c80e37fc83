#!/usr/bin/env bash
# A removal started from the installed copy of setup.exe: its own file, and then the
# installation folder that holds nothing else, go at the next restart without the restart
# question, whatever the current folder; a file that another program holds open still asks.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"
source "$(dirname "$SCENARIO_LIB")/machine.bash"

media=$WORK/media
make_e2e_media "$media"

install_product() {
  mkdir -p "$INSTALL_DIR_UNIX"
  start_setup_in "$media"
  walk_install_wizard
  ui answer 1 60000 >/dev/null || fail "no message after the install"
  wait_setup
}

# Starts the installed copy in the given current folder and confirms the removal.
start_removal() {  # current-folder
  (cd "$1" && exec $WINE "$INSTALL_DIR\\setup.exe") &
  SETUP_PID=$!
  wait_sheet "Welcome"
  ui sheet "$SHEET" finish
}

# The removal ends with the success message and no question.
remove_without_question() {  # current-folder what
  start_removal "$1"
  box=$(ui answer 1 60000)
  expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "$2: no restart question"
  wait_setup
  expect_eq 2 "$SETUP_EXIT" "$2: exit code 2"
  expect_contains "$(pending_renames)" 'Corvantis Vandrel\setup.exe\0\0\??\C:\Program Files\Corvantis Vandrel\0' \
    "$2: setup.exe, then its folder, wait for the restart"
  simulate_restart
  expect_gone "$INSTALL_DIR_UNIX" "$2: after the restart the installation folder is gone"
}

install_product
remove_without_question "$INSTALL_DIR_UNIX" "current folder the installation folder"
install_product
remove_without_question "$WORK" "another current folder"

# A file held open by another program still brings the restart question.
install_product
$WINE "$BUILD_DIR/tests/product_program.exe" lock "$INSTALL_DIR\\data\\a.txt" 60 &
locker=$!
wait_for_file "$INSTALL_DIR_UNIX/data/a.txt.locked" 20 || fail "the file could not be locked"
start_removal "$WORK"
box=$(ui answer 7 60000)
expect_eq "Windows must be restarted to complete the removal. Do you want to restart Windows now?" \
  "$(field "$box" text)" "a file in use asks to restart"
ui answer 1 30000 >/dev/null || fail "no put-off note"
wait_setup
expect_eq 2 "$SETUP_EXIT" "the removal still exits with 2"
kill $locker 2>/dev/null

scenario_end
