#!/usr/bin/env bash
# The combined destination page: its texts and boxes from the setup script, the refusal of
# each unusable folder, the create question, Back without a check, the 259-character limit and
# what a whole run leaves in the setup context.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"

# Presses Next with that path and expects the refusal text; the page stays.
refused() {  # path expected-text what
  local page
  page=$(current_page)
  ui set-text "$page" 106 "$1"
  ui sheet "$SHEET" next
  expect_eq "$2" "$(field "$(answer_box 1 | tr -d '\r')" text)" "$3"
}

INVALID="The destination folder that you have entered is invalid. Please choose or enter another folder."
NO_DRIVE="That file system is invalid. Please choose or enter another folder."
READ_ONLY="That file system is write-protected. Please choose or enter another folder."
A_FILE="There is already a file using that folder name. Please choose or enter another folder."

media=$WORK/combined
make_wizard_media "$media" '[Setup]
ProductName=Vandrel Studio
[License]
Show=0
[Destination]
FileTypes=1
DesktopShortcut=0
DesktopShortcutDefault=0'
mkdir -p "$WINEPREFIX/drive_c/taken"
printf 'x' > "$WINEPREFIX/drive_c/taken/afile"

start_runner "$media" install 1
wait_sheet "Welcome"
press next ""
page=$(current_page)
expect_eq "Install Vandrel Studio for:" "$(ui text "$page" 101 | tr -d '\r')" "ProductName in the first label"
expect_eq "Install Vandrel Studio to:" "$(ui text "$page" 105 | tr -d '\r')" "ProductName in the path label"
expect_eq "Only for &me ($($WINE cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r'))" "$(ui text "$page" 103 | tr -d '\r')" \
  "the user's name on the per-user choice"
expect_eq "1 1" "$(control_state 111 "$page" | cut -c1-3)" "examples box shown when examples exist"
expect_eq "1 1" "$(control_state 108 "$page" | cut -c1-3)" "DesktopShortcut=0 still shows the desktop box"

refused "" "$INVALID" "empty path refused as invalid"
refused 'C:\Vandrel\' "$INVALID" "trailing backslash refused as invalid"
refused 'Q:\Vandrel' "$NO_DRIVE" "missing drive refused"
refused 'C:\taken\afile' "$A_FILE" "a file in the way refused"
refused 'R:\Vandrel' "$READ_ONLY" "CD-ROM drive refused as write-protected"

# No to the create question: nothing made, no further message, the page stays.
ui set-text "$page" 106 'C:\Deep\Er\Still'
ui sheet "$SHEET" next
question=$(answer_box 7 | tr -d '\r')
expect_contains "$question" 'The folder\nC:\\Deep\\Er\\Still\ndoes not exist. Do you want the folder to be created?' "the create question names the folder"
expect_gone "$WINEPREFIX/drive_c/Deep" "No creates nothing"

# Back keeps the edited path without a check (a check would ask about the missing folder).
ui set-text "$page" 106 'C:\Edited\On\Back'
press back "Welcome"
press next ""
expect_eq 'C:\\Edited\\On\\Back' "$(ui text "$(current_page)" 106 | tr -d '\r')" "Back keeps the edited path"
expect_gone "$WINEPREFIX/drive_c/Edited" "Back creates nothing"

# Typing stops at 259 characters.
ui set-text "$page" 106 ""
long=$(printf 'a%.0s' $(seq 1 300))
ui type "$page" 106 "$long"
path_length() { ui text "$page" 106 | tr -d '\r\n' | wc -c; }
wait_for 259 "the path takes at most 259 characters" path_length

# Yes creates every level; the desktop box is ticked, examples untouched, all users.
ui set-text "$page" 106 'C:\Deep\Er\Still'
ui check "$page" 108 1
ui sheet "$SHEET" next
expect_contains "$(answer_box 6 | tr -d '\r')" "does not exist" "asked again"
wait_for "Select Program Folder" "Yes moves on" caption
expect_there "$WINEPREFIX/drive_c/Deep/Er/Still" "Yes creates all levels"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "combined run finished"
expect_eq 'C:\Deep\Er\Still' "$(result installDir)" "installDir stored"
expect_eq "all" "$(result fileTypes)" "all file types"
expect_eq 7 "$(result flags)" "all users, desktop shortcut and examples"

# No DesktopShortcut and no examples: both boxes hidden, and a hidden box stores nothing even
# when the default asks for it; only for me.
media=$WORK/plain
make_wizard_media "$media" '[License]
Show=0
[Destination]
FileTypes=1
DesktopShortcutDefault=1'
start_runner "$media" install 0
wait_sheet "Welcome"
press next ""
page=$(current_page)
expect_eq "Install Corvantis Vandrel for:" "$(ui text "$page" 101 | tr -d '\r')" "product name without ProductName"
expect_eq "0" "$(control_state 111 "$page" | cut -c1)" "examples box hidden without examples"
expect_eq "0" "$(control_state 108 "$page" | cut -c1)" "desktop box hidden without DesktopShortcut"
ui check "$page" 103 1

# Browse opens on the edit's folder: OK at once gives that folder back; Cancel changes nothing.
ui set-text "$page" 106 'C:\taken'
ui click "$page" 107
browse=$(ui wait-window "#32770" "Browse for Folder" 20000 | tr -d '\r')
browse_title() { ui controls "$browse" | grep -c 'Please choose the installation folder\.'; }
wait_for 1 "Browse shows the title text" browse_title
ui set-text "$page" 106 'C:\Program Files'
ui click "$browse" 1
ui wait-gone "$browse" 10000 || fail "Browse did not close"
wait_for 'C:\\taken' "Browse starts at the path read when it opened" ui text "$page" 106
ui click "$page" 107
browse=$(ui wait-window "#32770" "Browse for Folder" 20000 | tr -d '\r')
ui click "$browse" 2
ui wait-gone "$browse" 10000 || fail "Browse did not close on Cancel"
expect_eq 'C:\\taken' "$(ui text "$page" 106 | tr -d '\r')" "Cancel leaves the path"
press next "Select Program Folder"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "second run finished"
expect_eq 'C:\taken' "$(result installDir)" "an existing folder is taken without a question"
expect_eq 0 "$(result flags)" "only for me, no examples, no desktop shortcut"

scenario_end
