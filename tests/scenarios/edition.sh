#!/usr/bin/env bash
# The product edition named by the setup script: "ProductName=4" under "[Vandrel]" gives the
# second edition's title; other values, or a script that is missing or cannot be read, leave the
# first, and start-up reports nothing about the script.
source "$SCENARIO_LIB"

# Runs setup from a media folder and reads its main window's title (TITLE) while the install
# wizard is up; Cancel ends it with 1. Without a readable script the driver reports the
# failure instead, so the title is read while that box is up.
run_for_title() {
  start_setup "$1"
  local sheet main
  sheet=$(ui wait-window "#32770" - 30000 | tr -d '\r')
  main=$(ui wait-window SetupWindow - 5000 | tr -d '\r')
  TITLE=$(field "$(ui info "$main")" title | tr -d '\r')
  if [ -n "$(ui text "$sheet" 65535 2>/dev/null)" ]; then ui answer 1 5000 >/dev/null; else ui sheet "$sheet" cancel; fi
  wait_setup
  expect_eq 1 "$SETUP_EXIT" "setup from $(basename "$1") ends with 1"
}

make_media "$WORK/second" $'; the second edition\r\n[Other]\r\nProductName=1\r\n[vandrel]\r\nProductName=4\r\n'
run_for_title "$WORK/second"
expect_eq "Zarn Image Viewer Setup" "$TITLE" "ProductName=4 selects the second edition"

make_media "$WORK/lastline" $'[Vandrel]\nProductName=4'
run_for_title "$WORK/lastline"
expect_eq "Zarn Image Viewer Setup" "$TITLE" "a last line without a line break counts"

make_media "$WORK/fourteen" $'[Vandrel]\r\nProductName=14\r\n'
run_for_title "$WORK/fourteen"
expect_eq "Corvantis Vandrel Setup" "$TITLE" "ProductName=14 keeps the first edition"

make_media "$WORK/elsewhere" $'[Other]\r\nProductName=4\r\n'
run_for_title "$WORK/elsewhere"
expect_eq "Corvantis Vandrel Setup" "$TITLE" "the key in another section does not count"

make_media "$WORK/missing"
run_for_title "$WORK/missing"
expect_eq "Corvantis Vandrel Setup" "$TITLE" "a missing script keeps the first edition"

# A folder where the script should be: the file cannot be opened.
make_media "$WORK/unreadable"
mkdir "$WORK/unreadable/setup.ini"
run_for_title "$WORK/unreadable"
expect_eq "Corvantis Vandrel Setup" "$TITLE" "an unreadable script keeps the first edition"

scenario_end
