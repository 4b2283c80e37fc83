#!/usr/bin/env bash
# The licence agreement: the stand-alone dialog after Welcome (only its buttons end it,
# Decline cancels the wizard silently, Accept is not asked again), the update sheet's page,
# the version stored after Finish and AgreementVersionIsNewer against stored values.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"
product_key='Software\Corvantis Vandrel'

media=$WORK/dialog
make_wizard_media "$media" '[Setup]
EULAVersion=4
[License]
Wizard=0
[Destination]
FileTypes=1'
printf 'Terms for %%s users.\r\nSecond line.\r\n' > "$media/license.txt"

# Decline: the whole wizard ends as cancelled, without a message and without a stored version.
start_runner "$media" install
wait_sheet "Welcome"
wait_for "10 11 00" "Welcome: Next" wizard_buttons
ui sheet "$SHEET" next
dialog=$(ui wait-window "#32770" "Software License Agreement" 20000 | tr -d '\r')
[ -n "$dialog" ] || fail "the stand-alone agreement did not open"
expect_eq 'Terms for %s users.\r\nSecond line.\r\n' "$(ui text "$dialog" 26 | tr -d '\r')" "licence text shown unchanged"
expect_contains "$(ui text "$dialog" 102)" "To install Corvantis Vandrel you must accept this agreement." "question formatted"
ui key "$dialog" 26 0x1B
ui close "$dialog"
if ui wait-gone "$dialog" 1500; then fail "Escape or the close box ended the dialog"; else pass "only the buttons end the dialog"; fi
expect_eq "Welcome" "$(caption)" "the sheet stays on Welcome while the dialog is up"
ui click "$dialog" 7
wait_runner
expect_eq 1223 "$(result status)" "I Decline cancels the wizard"
expect_eq "(none)" "$(registry_value "$product_key" EULAVersion)" "nothing stored after Decline"

# Accept: on to the next page; Back and Next again do not ask again; Finish stores version 4.
start_runner "$media" install
wait_sheet "Welcome"
ui sheet "$SHEET" next
dialog=$(ui wait-window "#32770" "Software License Agreement" 20000 | tr -d '\r')
ui click "$dialog" 6
wait_for "" "I Accept goes on to the destination page" caption
press back "Welcome"
press next ""
press next "Select Program Folder"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "Finish after accepting"
expect_eq 4 "$(registry_value "$product_key" EULAVersion)" "accepted version stored"

# Without license.txt the dialog is skipped; an agreement never shown is not recorded.
delete_registry_key "$product_key"
rm "$media/license.txt"
sed -i 's/^EULAVersion=4/EULA=4/' "$media/setup.ini"
start_runner "$media" install
wait_sheet "Welcome"
press next ""
press next "Select Program Folder"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "Finish without a licence file"
expect_eq "(none)" "$(registry_value "$product_key" EULAVersion)" "no version stored"

# The update sheet: the agreement page alone, no Back, Finish only while accepted.
delete_registry_key "$product_key"
media=$WORK/update
make_wizard_media "$media" '[Setup]
EULAVersion=5
[License]
Wizard=0
Title=Updated Terms
NextText=Never Shown'
printf 'New terms.\r\n' > "$media/license.txt"
start_runner "$media" update 1
wait_sheet "Updated Terms"
wait_for "10 00 10" "update sheet: no Back, Finish disabled" wizard_buttons
ui check "$(current_page)" 102 1
wait_for "10 00 11" "checking the box enables Finish" wizard_buttons
ui check "$(current_page)" 102 0
wait_for "10 00 10" "unchecking disables Finish" wizard_buttons
ui sheet "$SHEET" cancel
wait_runner
expect_eq 1223 "$(result status)" "Cancel on the update sheet"
expect_eq "(none)" "$(registry_value "$product_key" EULAVersion)" "nothing stored after Cancel"

start_runner "$media" update 1 1
wait_sheet "Updated Terms"
ui check "$(current_page)" 102 1
wait_for "10 00 11" "Finish enabled again" wizard_buttons
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "Finish on the update sheet"
expect_eq 'C:\Program Files\Corvantis Vandrel' "$(result installDir)" "update sheet sets the default folder"
expect_eq 5 "$(registry_value "$product_key" EULAVersion)" "update stores the new version"

# Nothing to show: no sheet, success, nothing written.
set_registry_value "$product_key" EULAVersion 2
start_runner "$media" update 0 1
wait_runner
expect_eq 0 "$(result status)" "update without the show-agreement flag succeeds"
printf '[Setup]\r\nEULAVersion=5\r\n[License]\r\nShow=0\r\n' > "$media/setup.ini"
start_runner "$media" update 1
wait_runner
expect_eq 0 "$(result status)" "update with Show=0 succeeds"
expect_eq 2 "$(registry_value "$product_key" EULAVersion)" "no sheet, nothing stored"

# AgreementVersionIsNewer: script version against the stored one.
newer() {  # script-version stored-value-or-"-" expected what
  printf '[Setup]\r\nEULAVersion=%s\r\n' "$1" > "$media/setup.ini"
  if [ "$2" == "-" ]; then delete_registry_key "$product_key"; else set_registry_value "$product_key" EULAVersion "$2"; fi
  start_runner "$media" eula-newer
  wait_runner
  expect_eq "$3 0" "$(result newer) $(result status)" "$4"
}
newer 3 - 1 "no key: the agreement must be shown"
newer 3 no 1 "stored no"
newer 3 none 1 "stored none holds no"
newer 3 3 0 "3 over 3 is accepted"
newer 4 3 1 "4 over 3 is newer"
newer 9 10 0 "9 under 10 is accepted"
newer "" 3 0 "no script version"
newer 3 "" 1 "an empty stored value is older"

scenario_end
