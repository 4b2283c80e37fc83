#!/usr/bin/env bash
# The licence agreement: the stand-alone dialog (only its buttons end it), the update sheet's
# page, and the version stored after Finish only.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
product_key='Software\Corvantis Vandrel'
stored() { registry_value "$product_key" EULAVersion; }
media=$WORK/dialog
make_wizard_media "$media" $'[Setup]\nEULAVersion=4\n[License]\nWizard=0\n[Destination]\nFileTypes=1'
printf 'Terms for %%s users.\r\nSecond line.\r\n' > "$media/license.txt"
# Starts the install wizard and leaves Welcome; DIALOG is the agreement that then opens.
open_dialog() {
  start_runner "$media" install
  wait_sheet "Welcome"
  ui sheet "$SHEET" next
  DIALOG=$(ui wait-window "#32770" "Software License Agreement" 20000 | tr -d '\r')
}
open_dialog
expect_eq 'Terms for %s users.\r\nSecond line.\r\n' "$(ui text "$DIALOG" 26 | tr -d '\r')" "the licence text shown unchanged"
expect_contains "$(ui text "$DIALOG" 102)" "To install Corvantis Vandrel you must accept this agreement." "the question formatted"
ui key "$DIALOG" 26 0x1B
ui close "$DIALOG"
ui wait-gone "$DIALOG" 1500 && fail "Escape or the close box ended the dialog" || pass "only the buttons end the dialog"
expect_eq "Welcome" "$(caption)" "the sheet stays on Welcome while the dialog is up"
ui click "$DIALOG" 7
wait_runner
expect_eq "1223 (none)" "$(result status) $(stored)" "I Decline cancels the wizard and stores nothing"
open_dialog
ui click "$DIALOG" 6
wait_for "" "I Accept goes on to the destination page" caption
press back "Welcome"
press next ""
press next "Select Program Folder"
ui sheet "$SHEET" finish
wait_runner
expect_eq "0 4" "$(result status) $(stored)" "Accept is not asked again; Finish stores the version"
# Without license.txt the dialog is skipped, and an agreement never shown is not recorded.
delete_registry_key "$product_key"
rm "$media/license.txt"
start_runner "$media" install
wait_sheet "Welcome"
press next ""
press next "Select Program Folder"
ui sheet "$SHEET" finish
wait_runner
expect_eq "0 (none)" "$(result status) $(stored)" "no licence file: no dialog, nothing stored"
# The update sheet: the agreement page alone, no Back, Finish only while accepted.
delete_registry_key "$product_key"
media=$WORK/update
make_wizard_media "$media" $'[Setup]\nEULAVersion=5\n[License]\nWizard=0\nTitle=Updated Terms\nNextText=Never Shown'
printf 'New terms.\r\n' > "$media/license.txt"
for end in "cancel 1223|(none)" "finish 0|5"; do
  start_runner "$media" update 1 1
  wait_sheet "Updated Terms"
  wait_for "10 00 10" "the update sheet: no Back, Finish disabled" wizard_buttons
  ui check "$(current_page)" 102 1
  wait_for "10 00 11" "checking the box enables Finish" wizard_buttons
  ui sheet "$SHEET" "${end%% *}"
  wait_runner
  expect_eq "${end#* }" "$(result status)|$(stored)" "${end%% *} on the update sheet"
done
# Nothing to show (Show=0): no sheet, success, nothing stored.
set_registry_value "$product_key" EULAVersion 2
printf '[Setup]\r\nEULAVersion=5\r\n[License]\r\nShow=0\r\n' > "$media/setup.ini"
start_runner "$media" update 1
wait_runner
expect_eq "0 2" "$(result status) $(stored)" "no sheet, nothing stored"
scenario_end
