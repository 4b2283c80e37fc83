#!/usr/bin/env bash
# The classic destination page, the program-folder page and the file-types page in whole runs:
# the folders offered for each all-users choice, the empty-name refusal, the file-type rows,
# their buttons and the stored choice.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"

# The rows of a list box, as "text|checked" lines (checked: bit 31 of the item data).
rows() {  # page id
  ui items "$1" "$2" | tr -d '\r' | awk -F'\t' '{ printf "%s|%d\n", $3, (substr($2, 1, 1) >= "8") }'
}
last_row() { rows "$1" 102 | tail -1; }
# The three file-type buttons' enabled states, for example "1 0 1".
type_buttons() {  # page
  echo "$(control_state 103 "$1" | cut -c3) $(control_state 104 "$1" | cut -c3) $(control_state 105 "$1" | cut -c3)"
}

# Folders in both Start-menu programs folders, and a file that must not be listed.
user_programs=$(find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' -not -path '*/Public/*' | head -1)
common_programs="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
[ -n "$user_programs" ] || fail "no user Start-menu programs folder in the prefix"
mkdir -p "$user_programs/Zeta Tools" "$user_programs/alpha apps" "$common_programs/Common Only"
printf 'x' > "$user_programs/Loose File.lnk"
mkdir -p "$WINEPREFIX/drive_c/target"

media=$WORK/classic
make_wizard_media "$media" '[License]
Show=0
[InstallFileTypes]
zzz=1Alpha Documents
aaa=0Zulu Images
mmm=1Middle Things
empty='

start_runner "$media" install 1
wait_sheet "Welcome"
press next "Choose Destination Location"
page=$(current_page)
expect_eq "You can install Corvantis Vandrel in the following folder." "$(ui text "$page" 101 | tr -d '\r')" "classic text formatted"
expect_eq "1 1" "$(control_state 105 "$page" | cut -c1-3)" "classic examples box shown"
ui check "$page" 105 0
ui check "$page" 109 1
ui set-text "$page" 104 'C:\taken\'
ui sheet "$SHEET" next
expect_eq "The destination folder that you have entered is invalid. Please choose or enter another folder." \
  "$(field "$(answer_box 1 | tr -d '\r')" text)" "the classic page checks the folder too"
ui set-text "$page" 104 'C:\target'
press next "Select Program Folder"

# Only for me: the user's folders, sorted, without files or the shared folder's entries.
folders=$(current_page)
ours() { ui items "$folders" 102 | tr -d '\r' | cut -f3 | grep -E '^(alpha apps|Zeta Tools|Common Only|Loose File.lnk)$' | paste -sd,; }
expect_eq "alpha apps,Zeta Tools" "$(ours)" "the user's folders listed, sorted, no files"
row=$(ui items "$folders" 102 | tr -d '\r' | awk -F'\t' '$3 == "Zeta Tools" { print $1 }')
ui select "$folders" 102 "$row"
wait_for "Zeta Tools" "a selected folder goes into the edit" ui text "$folders" 101

# Back, all users, forward again: the shared folder's list.
press back "Choose Destination Location"
ui check "$page" 108 1
press next "Select Program Folder"
expect_eq "Common Only" "$(ours)" "the shared folders after choosing all users"
expect_eq "Zeta Tools" "$(ui text "$folders" 101 | tr -d '\r')" "the edit keeps the chosen name"

ui set-text "$folders" 101 ""
ui sheet "$SHEET" next
expect_eq "Please select a program folder" "$(field "$(answer_box 1 | tr -d '\r')" text)" "an empty name refused"
ui set-text "$folders" 101 "   "
press next "File Types"

# The rows sorted by their texts, checked by the values' first characters.
types=$(current_page)
expect_eq "|0
Alpha Documents|1
Middle Things|1
Zulu Images|0" "$(rows "$types" 102)" "file-type rows and their defaults"
wait_for "1 1 0" "defaults: Default disabled" type_buttons "$types"
ui click-row "$types" 102 3 100
ui click-row "$types" 102 3 8
wait_for "Zulu Images|1" "a click on the box toggles, on the text not" last_row "$types"
wait_for "1 1 1" "off the defaults: all three enabled" type_buttons "$types"
ui click "$types" 103
wait_for "0 1 1" "Select All: Select All disabled" type_buttons "$types"
ui click "$types" 104
wait_for "1 0 1" "Clear All: Clear All disabled" type_buttons "$types"
ui click "$types" 105
wait_for "1 1 0" "Default: Default disabled" type_buttons "$types"
expect_eq "|0
Alpha Documents|1
Middle Things|1
Zulu Images|0" "$(rows "$types" 102)" "Default restores the script's checks"

# Checked in script order zzz, aaa, mmm become Middle then Zulu: stored as shown.
ui click-row "$types" 102 1 8
ui click-row "$types" 102 3 8
wait_for "Zulu Images|1" "Zulu checked" last_row "$types"
ui sheet "$SHEET" finish
wait_runner
expect_eq 0 "$(result status)" "classic run finished"
expect_eq 'C:\target' "$(result installDir)" "installDir"
expect_eq "   " "$(result programFolder)" "a name of blanks accepted"
expect_eq "mmm aaa" "$(result fileTypes)" "checked names in the order shown"
expect_eq 1 "$(result flags)" "all users, no examples"

# Without the NT family there is no per-user choice; no examples; nothing checked is "none".
export SHEET_RUNNER_9X=1
start_runner "$media" install 0
unset SHEET_RUNNER_9X
wait_sheet "Welcome"
press next "Choose Destination Location"
page=$(current_page)
expect_eq "" "$(ui controls "$page" | tr -d '\r' | awk -F'\t' '$1 == 108 || $1 == 109')" "no all-users choice without NT"
expect_eq "0" "$(control_state 105 "$page" | cut -c1)" "examples box hidden"
ui set-text "$page" 104 'C:\target'
press next "Select Program Folder"
press next "File Types"
types=$(current_page)
ui click "$types" 104
wait_for "1 0 1" "all cleared" type_buttons "$types"
ui sheet "$SHEET" finish
wait_runner
expect_eq "none" "$(result fileTypes)" "nothing checked stores none"
expect_eq 0 "$(result flags)" "no all users without NT, no examples"

scenario_end
