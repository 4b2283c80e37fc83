#!/usr/bin/env bash
# The install wizard's pages, titles, texts and buttons for the [License] and [Destination] choices,
# what it stores, and the warning about a running browser when the user leaves Welcome.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
# Agreement as a page ("Show" empty keeps its default), "FileTypes=yes" counts as false: Welcome,
# agreement, classic destination, program folder, file types. A title expands the version macro.
media=$WORK/classic
make_wizard_media "$media" $'[Setup]\nEULAVersion=3\n[Welcome]\nTitle=Welcome to %productversion(vandrel.exe)%\n[License]\nShow=\nWizard=1
Title=The Agreement\nNextText=I &Agree\n[Destination]\nFileTypes=yes\nTitle=Never Shown\n[ProgFolder]\nTitle=Where the Icons Go'
cp "$BUILD_DIR/tests/product_main.exe" "$media/vandrel.exe"
printf 'The licence text.\r\n' > "$media/license.txt"
start_program_named IEXPLORE.EXE
browser=$PROGRAM_PID
start_runner "$media" install
wait_sheet "Welcome to 4.2.1.7"
wait_for "10 11 00" "Welcome: Next only" wizard_buttons
expect_eq "Welcome to Corvantis Vandrel Setup." "$(page_text 101)" "Welcome text formatted with the product name"
ui sheet "$SHEET" next
answer 1
expect_eq "Corvantis Vandrel Setup|Setup has determined that Microsoft Internet Explorer is currently running. It is recommended that you close Microsoft Internet Explorer before Setup continues." \
  "$(field "$BOX" caption)|$BOX_TEXT" "leaving Welcome warns of the running browser"
kill "$browser"
wait_for "The Agreement" "setup goes on after the warning" caption
wait_for "11 10 00" "agreement page: Back, and Next disabled while unchecked" wizard_buttons
expect_eq "1 0 I &Agree|The licence text.\r\n" "$(control_state 12324)|$(page_text 101)" "NextText and the licence text"
for check in 1 0 1; do
  ui check "$(current_page)" 102 $check
  wait_for "11 1$check 00" "the box checked $check: Next follows" wizard_buttons
done
press next "Choose Destination Location" "11 11 00"
wait_for "1 1 &Next >" "the usual Next caption after the agreement page" control_state 12324
press back "The Agreement"
wait_for "1 1 I &Agree" "NextText again, the box still checked" control_state 12324
press next "Choose Destination Location"
press next "Where the Icons Go" "11 11 00"
press next "File Types" "11 00 11"
ui sheet "$SHEET" finish
wait_runner
expect_eq "0|C:\Program Files\Corvantis Vandrel|Corvantis Vandrel|3" "$(result status)|$(result installDir)|$(result programFolder)|$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" \
  "Finish: the default folders; the accepted version stored"
# No agreement, the combined page (empty without "ProgramFilesDir"), the program folder page last
# with Finish, which refuses an empty name. A name merely ending with the browser's draws no warning.
delete_registry_key 'Software\Corvantis Vandrel'
$WINE reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /f >/dev/null 2>&1
start_program_named notiexplore.exe
media=$WORK/combined
make_wizard_media "$media" $'[License]\nShow=0\nWizard=1\n[Destination]\nFileTypes=1'
cp "$WORK/classic/license.txt" "$media"
start_runner "$media" install 1
wait_sheet "Welcome"
press next "" "11 11 00"
wait_for "||Install Corvantis Vandrel for:" "no stand-alone agreement with Show=0, no default folder, the combined page's text formatted" \
  eval 'echo "$(ui windows "#32770" "Software License Agreement")|$(page_text 106)|$(page_text 101)"'
ui set-text "$(current_page)" 106 'C:\Program Files\Corvantis Vandrel'
press next "Select Program Folder" "11 00 11"
ui set-text "$(current_page)" 101 ""
ui sheet "$SHEET" finish
expect_eq "Please select a program folder|Select Program Folder" "$(box_text 1)|$(caption)" "Finish refuses an empty name"
ui set-text "$(current_page)" 101 "My Tools"
ui sheet "$SHEET" finish
wait_runner
expect_eq "0|all|My Tools|(none)" "$(result status)|$(result fileTypes)|$(result programFolder)|$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" \
  "Finish on the program folder page stores the name"
kill "$PROGRAM_PID"
scenario_end
