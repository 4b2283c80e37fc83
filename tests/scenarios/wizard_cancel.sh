#!/usr/bin/env bash
# Cancel on every page of the install wizard ends it with 1223 and writes nothing; the removal
# confirmation and the update-or-remove sheets end as their buttons say.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"
product_key='Software\Corvantis Vandrel'

media=$WORK/media
make_wizard_media "$media" '[Setup]
EULAVersion=7
[Welcome]
Title=Page One
[License]
Wizard=1
Title=Page Two'
printf 'Terms.\r\n' > "$media/license.txt"
captions=("Page One" "Page Two" "Choose Destination Location" "Select Program Folder" "File Types")
for last in 0 1 2 3 4; do
  start_runner "$media" install
  wait_sheet "Page One"
  for ((i = 1; i <= last; i++)); do
    if [ "$i" -eq 2 ]; then
      ui check "$(current_page)" 102 1
      wait_for "11 11 00" "agreement accepted" wizard_buttons >/dev/null
    fi
    ui sheet "$SHEET" next
    wait_for "${captions[$i]}" "on to page $((i + 1))" caption >/dev/null
  done
  expect_eq "${captions[$last]}" "$(caption)" "page $((last + 1)) reached"
  ui sheet "$SHEET" cancel
  wait_runner
  expect_eq 1223 "$(result status)" "Cancel on [${captions[$last]}] gives 1223"
done
expect_eq "(none)" "$(registry_value "$product_key" EULAVersion)" "no Cancel wrote the registry"

# Removal confirmation: Finish only; Finish succeeds, Cancel gives 1223.
start_runner "$media" removal
wait_sheet "Welcome"
wait_for "10 00 11" "removal confirmation: Finish" wizard_buttons
page=$(current_page)
expect_eq "To remove Corvantis Vandrel from your computer now, click Finish or press Enter." \
  "$(ui text "$page" 102 | tr -d '\r')" "removal text formatted"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "Finish confirms the removal"
start_runner "$media" removal
wait_sheet "Welcome"
ui sheet "$SHEET" cancel
wait_runner
expect_eq 1223 "$(result status)" "Cancel on the removal confirmation"

# Update or remove: Finish stays disabled; the two buttons choose and end the sheet.
start_runner "$media" choice
wait_sheet "Welcome"
wait_for "10 00 10" "update-or-remove: Finish disabled" wizard_buttons
page=$(current_page)
expect_eq "To exit Setup without updating or removing Corvantis Vandrel, click Cancel." \
  "$(ui text "$page" 104 | tr -d '\r')" "choice texts formatted"
ui click "$page" 105
wait_runner
expect_eq "0 0" "$(result status) $(result choice)" "Update chooses 0"
start_runner "$media" choice
wait_sheet "Welcome"
ui click "$(current_page)" 106
wait_runner
expect_eq "0 1" "$(result status) $(result choice)" "Remove chooses 1"
start_runner "$media" choice
wait_sheet "Welcome"
ui sheet "$SHEET" cancel
wait_runner
expect_eq "1223 7" "$(result status) $(result choice)" "Cancel leaves the choice unchanged"

scenario_end
