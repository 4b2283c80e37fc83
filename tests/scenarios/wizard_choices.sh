#!/usr/bin/env bash
# The classic destination, program-folder and file-types pages: the folders for each all-users
# choice, the empty-name refusal, the file-type rows, their buttons and the stored choice.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
# The rows of a list box as "text|checked" lines (checked: bit 31 of the item data).
rows() { ui items "$1" 102 | tr -d '\r' | awk -F'\t' '{ printf "%s|%d\n", $3, (substr($2, 1, 1) >= "8") }'; }
last_row() { rows "$1" | tail -1; }
# The enabled states of Select All, Clear All and Default, for example "1 0 1".
type_buttons() { ui controls "$1" | tr -d '\r' | awk -F'\t' '$1 >= 103 && $1 <= 105 { s = s $4 " " } END { print substr(s, 1, 5) }'; }
# Folders in both Start-menu programs folders, and a file that must not be listed.
user_programs=$(find "$DRIVE/users" -type d -path '*/Start Menu/Programs' -not -path '*/Public/*' | head -1)
mkdir -p "$user_programs/Zeta Tools" "$user_programs/alpha apps" "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Common Only" "$DRIVE/target"
printf 'x' > "$user_programs/Loose File.lnk"
media=$WORK/classic
make_wizard_media "$media" $'[License]\nShow=0\n[InstallFileTypes]\nzzz=1Alpha Documents\naaa=0Zulu Images\nmmm=1Middle Things\nempty='
start_runner "$media" install 1
wait_sheet "Welcome"
press next "Choose Destination Location"
page=$(current_page)
wait_for "You can install Corvantis Vandrel in the following folder.|1 1" "the classic text formatted; the examples box shown" \
  eval 'echo "$(page_text 101)|$(control_state 105 "$page" | cut -c1-3)"'
ui check "$page" 105 0
ui check "$page" 109 1
ui set-text "$page" 104 'C:\taken\'
ui sheet "$SHEET" next
expect_eq "The destination folder that you have entered is invalid. Please choose or enter another folder." "$(box_text 1)" \
  "the classic page checks the folder too"
ui set-text "$page" 104 'C:\target'
press next "Select Program Folder"
# Only for me: the user's folders, sorted, without files or the shared folder's entries.
folders=$(current_page)
ours() { ui items "$folders" 102 | tr -d '\r' | cut -f3 | grep -E '^(alpha apps|Zeta Tools|Common Only|Loose File.lnk)$' | paste -sd,; }
expect_eq "alpha apps,Zeta Tools" "$(ours)" "the user's folders listed, sorted, no files"
ui select "$folders" 102 "$(ui items "$folders" 102 | tr -d '\r' | awk -F'\t' '$3 == "Zeta Tools" { print $1 }')"
wait_for "Zeta Tools" "a selected folder goes into the edit" ui text "$folders" 101
ui set-text "$folders" 101 "Typed"
ui notify "$folders" 102 4
ui notify "$folders" 102 2
wait_for "Typed" "only a change of selection takes the folder" ui text "$folders" 101
ui set-text "$folders" 101 "Zeta Tools"
# Back, all users, forward again: the shared folder's list; the edit keeps the chosen name.
press back "Choose Destination Location"
ui check "$page" 108 1
press next "Select Program Folder"
expect_eq "Common Only|Zeta Tools" "$(ours)|$(ui text "$folders" 101 | tr -d '\r')" "the shared folders after choosing all users"
ui set-text "$folders" 101 ""
ui sheet "$SHEET" next
expect_eq "Please select a program folder" "$(box_text 1)" "an empty name refused"
ui set-text "$folders" 101 "   "
press next "File Types"
# The rows sorted by their texts, checked by the values' first characters.
types=$(current_page)
defaults=$'|0\nAlpha Documents|1\nMiddle Things|1\nZulu Images|0'
expect_eq "$defaults" "$(rows "$types")" "file-type rows and their defaults"
wait_for "1 1 0" "defaults: Default disabled" type_buttons "$types"
ui click-row "$types" 102 3 100
ui click-row "$types" 102 3 8
wait_for "Zulu Images|1" "a click on the box toggles, on the text not" last_row "$types"
wait_for "1 1 1" "off the defaults: all three enabled" type_buttons "$types"
for button in "103 0 1 1 Select All" "104 1 0 1 Clear All" "105 1 1 0 Default"; do
  ui click "$types" ${button%% *}
  wait_for "$(echo "$button" | cut -d' ' -f2-4)" "${button#* * * * }: itself disabled" type_buttons "$types"
done
expect_eq "$defaults" "$(rows "$types")" "Default restores the script's checks"
# Checked in script order zzz, aaa, mmm become Middle then Zulu: stored as shown.
ui click-row "$types" 102 1 8
ui click-row "$types" 102 3 8
wait_for "Zulu Images|1" "Zulu checked" last_row "$types"
ui sheet "$SHEET" finish
wait_runner
expect_eq "0|C:\target|   |mmm aaa|1" "$(result status)|$(result installDir)|$(result programFolder)|$(result fileTypes)|$(result flags)" \
  "a name of blanks accepted; the checked names in the order shown; all users, no examples"
scenario_end
