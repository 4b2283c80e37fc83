#!/usr/bin/env bash
# The install wizard's page order, titles and buttons for the [License] and [Destination]
# choices of the setup script, and what it leaves in the setup context and the registry.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"

# Agreement as a page (Show empty keeps its default), FileTypes=yes counts as false: Welcome,
# agreement, classic destination, program folder, file types.
media=$WORK/classic
make_wizard_media "$media" '[Setup]
EULAVersion=3
[Welcome]
Title=Welcome Aboard
[License]
Show=
Wizard=1
Title=The Agreement
NextText=I &Agree
[Destination]
FileTypes=yes
Title=Never Shown
[ProgFolder]
Title=Where the Icons Go'
printf 'The licence text.\r\n' > "$media/license.txt"
start_runner "$media" install
wait_sheet "Welcome Aboard"
wait_for "10 11 00" "Welcome: Next only" wizard_buttons
expect_eq "Welcome to Corvantis Vandrel Setup." "$(ui text "$(current_page)" 101 | tr -d '\r')" "Welcome text formatted with the product name"

press next "The Agreement"
wait_for "11 10 00" "agreement page: Back, and Next disabled while unchecked" wizard_buttons
expect_eq "1 0 I &Agree" "$(control_state 12324)" "NextText on the agreement page"
expect_eq "The licence text.\r\n" "$(ui text "$(current_page)" 101 | tr -d '\r')" "licence text loaded"
agreement=$(current_page)
ui check "$agreement" 102 1
wait_for "11 11 00" "checking the box enables Next" wizard_buttons
ui check "$agreement" 102 0
wait_for "11 10 00" "unchecking it disables Next again" wizard_buttons
ui check "$agreement" 102 1
wait_for "11 11 00" "checked again" wizard_buttons

press next "Choose Destination Location"
wait_for "1 1 &Next >" "the usual Next caption after the agreement page" control_state 12324
wait_for "11 11 00" "classic destination: Back and Next" wizard_buttons
press back "The Agreement"
wait_for "1 1 I &Agree" "NextText again, the box still checked" control_state 12324
press next "Choose Destination Location"
press next "Where the Icons Go"
wait_for "11 11 00" "program folder: Back and Next" wizard_buttons
press next "File Types"
wait_for "11 00 11" "file types: Back and Finish" wizard_buttons
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "Finish: status clear"
expect_eq 'C:\Program Files\Corvantis Vandrel' "$(result installDir)" "default installation folder"
expect_eq "Corvantis Vandrel" "$(result programFolder)" "default program folder"
# The runner presets 1,2,3,4; the wizard empties it and records the sheet's place on Finish.
IFS=, read -r left top right bottom <<< "$(result wizardRect)"
if [ $((right - left)) -gt 300 ] && [ $((bottom - top)) -gt 200 ]; then pass "Finish records where the wizard stood"
else fail "wizardRect after Finish: $(result wizardRect)"; fi
expect_eq "3" "$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" "accepted version stored after Finish"

# No agreement, the combined destination page, no titles: template captions, the program
# folder page last with Finish, fileTypes "all", nothing stored.
delete_registry_key 'Software\Corvantis Vandrel'
media=$WORK/combined
make_wizard_media "$media" '[License]
Show=0
Wizard=1
[Destination]
FileTypes=1'
printf 'The licence text.\r\n' > "$media/license.txt"
start_runner "$media" install 1
wait_sheet "Welcome"
press next ""
expect_eq "" "$(ui windows "#32770" "Software License Agreement" | tr -d '\r')" "no stand-alone agreement with Show=0"
wait_for "11 11 00" "combined destination: Back and Next" wizard_buttons
expect_eq "Install Corvantis Vandrel for:" "$(ui text "$(current_page)" 101 | tr -d '\r')" "combined page text formatted"
press next "Select Program Folder"
wait_for "11 00 11" "program folder as the last page: Back and Finish" wizard_buttons
ui set-text "$(current_page)" 101 "My Tools"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "Finish on the program folder page"
expect_eq "all" "$(result fileTypes)" "combined page chooses all file types"
expect_eq "My Tools" "$(result programFolder)" "program folder stored on Finish"
expect_eq "(none)" "$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" "no version stored with Show=0"

# Without "ProgramFilesDir" the destination starts empty.
$WINE reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /f >/dev/null 2>&1
start_runner "$media" install
wait_sheet "Welcome"
press next ""
expect_eq "" "$(ui text "$(current_page)" 106 | tr -d '\r')" "empty destination without ProgramFilesDir"
ui sheet "$SHEET" cancel
wait_runner
expect_eq 1223 "$(result status)" "Cancel"
expect_eq "" "$(result installDir)" "no installation folder without ProgramFilesDir"

scenario_end
