#!/usr/bin/env bash
# The combined destination page: texts and boxes from the script, unusable folders refused (the
# setup program's own among them), the create question, Back without a check, the 259-character
# limit, Browse, the stored choices.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
media=$WORK/combined
make_wizard_media "$media" $'[Setup]\nProductName=Vandrel Studio\n[License]\nShow=0\n[Destination]\nFileTypes=1\nDesktopShortcut=0\nDesktopShortcutDefault=0'
mkdir -p "$DRIVE/taken" "$media/data/deep" "${media}2" && printf 'x' > "$DRIVE/taken/afile"
win=$(windows_path "$media")
start_runner "$media" install 1
wait_sheet "Welcome"
press next ""
page=$(current_page)
wait_for "Install Vandrel Studio for:|Install Vandrel Studio to:|Only for &me ($($WINE cmd /c echo %USERNAME% 2>/dev/null | tr -d '\r'))" \
  "ProductName in the labels, the user's name on the per-user choice" eval 'echo "$(page_text 101)|$(page_text 105)|$(page_text 103)"'
expect_eq "1 1 1|1 1 0" "$(control_state 111 "$page" | cut -c1-3) $(ui checked "$page" 111 | tr -d '\r')|$(control_state 108 "$page" | cut -c1-3) $(ui checked "$page" 108 | tr -d '\r')" \
  "the examples box shown and checked when examples exist; DesktopShortcut=0 still shows the desktop box, unchecked"
# Next with an unusable folder explains, and the page stays. The folder that holds the setup
# program (here the runner), and all inside it, however written, is refused before anything is made.
invalid="The destination folder that you have entered is invalid. Please choose or enter another folder."
while IFS='|' read -r path text; do
  ui set-text "$page" 106 "$path"
  ui sheet "$SHEET" next
  expect_eq "${text:-$invalid}|" "$(box_text 1)|$(caption)" "[$path] refused"
done <<CASES
|
C:\Vandrel\|
Q:\Vandrel|That file system is invalid. Please choose or enter another folder.
C:\taken\afile|There is already a file using that folder name. Please choose or enter another folder.
R:\Vandrel|That file system is write-protected. Please choose or enter another folder.
$win|
$win\data\deep|
${win,,}\new\deeper|
$win\data\..|
CASES
# No to the create question: nothing made, no further message, the page stays.
ui set-text "$page" 106 'C:\Deep\Er\Still'
ui sheet "$SHEET" next
expect_contains "$(box_text 7)" 'The folder\nC:\\Deep\\Er\\Still\ndoes not exist. Do you want the folder to be created?' "the create question names the folder"
# Back keeps the edited path without a check (a check would ask about the missing folder).
ui set-text "$page" 106 'C:\Edited\On\Back'
press back "Welcome"
press next ""
expect_eq 'C:\\Edited\\On\\Back|gone|gone' "$(page_text 106)|$(exists "$DRIVE/Deep")|$(exists "$DRIVE/Edited")" "No and Back create nothing; Back keeps the edited path"
ui set-text "$page" 106 ""
ui type "$page" 106 "$(printf 'a%.0s' $(seq 1 300))"
wait_for 259 "the path takes at most 259 characters" sh -c "$WINE $UIDRIVER text $page 106 | tr -d '\r\n' | wc -c"
# Yes creates every level; the desktop box ticked, examples untouched, all users.
ui set-text "$page" 106 'C:\Deep\Er\Still'
ui check "$page" 108 1
ui sheet "$SHEET" next
expect_contains "$(box_text 6)" "does not exist" "asked again"
wait_for "Select Program Folder" "Yes moves on" caption
ui sheet "$SHEET" finish
wait_runner
expect_eq "0|C:\Deep\Er\Still|all|7|there" "$(result status)|$(result installDir)|$(result fileTypes)|$(result flags)|$(exists "$DRIVE/Deep/Er/Still")" \
  "Yes creates all levels; all users, desktop shortcut and examples"
# No examples: the box hidden; DesktopShortcutDefault=1 ticks the desktop box; only for me.
make_wizard_media "$media" $'[License]\nShow=0\n[Destination]\nFileTypes=1\nDesktopShortcut=app.exe\nDesktopShortcutDefault=1'
start_runner "$media" install 0
wait_sheet "Welcome"
press next ""
page=$(current_page)
wait_for "Install Corvantis Vandrel for:|0|1 1 1" "the product name without ProductName, the examples box hidden, the desktop box checked by default" \
  eval 'echo "$(page_text 101)|$(control_state 111 "$page" | cut -c1)|$(control_state 108 "$page" | cut -c1-3) $(ui checked "$page" 108)"'
ui check "$page" 103 1
# Browse opens on the edit's folder: OK at once gives that folder back; Cancel changes nothing.
ui set-text "$page" 106 'C:\taken'
for button in '1 C:\\taken' '2 C:\\Program Files'; do
  ui click "$page" 107
  browse=$(ui wait-window "#32770" "Browse for Folder" 20000 | tr -d '\r')
  wait_for 1 "Browse shows the title text" sh -c "$WINE $UIDRIVER controls $browse | grep -c 'Please choose the installation folder\.'"
  ui set-text "$page" 106 'C:\Program Files'
  ui click "$browse" "${button%% *}"
  wait_for "${button#* }" "Browse, button ${button%% *}" page_text 106
done
ui set-text "$page" 106 "${win}2"
press next "Select Program Folder"
ui sheet "$SHEET" finish
wait_runner
expect_eq "0|${win}2|2|gone" "$(result status)|$(result installDir)|$(result flags)|$(exists "$media/new")" \
  "the media folder's sibling is taken, existing, without a question; only for me, the desktop shortcut; nothing made in the media"
scenario_end
