#!/usr/bin/env bash
# A failed fresh install, undone by the removal run; the earlier release's entry alone counts as
# installed and its update always shows the agreement; a removal whose install log is missing.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
# 1. A required file missing from the media: one box, then the removal run with the same script.
media=$WORK/broken
make_e2e_media "$media"
rm "$media/filters.dll"
mkdir -p "$INSTALL_DIR_UNIX"
start_setup_in "$media"
walk_install_wizard
text=$(box_text 1 60000)
expect_contains "$text" 'Setup cannot install Corvantis Vandrel because of an error. Setup will now exit.\nThe error was:\n' \
  "the failure is reported in one box"
expect_contains "$text" "Unable to open file ($(escaped "$(windows_path "$media")\\filters.dll"))" "with the file"
expect_eq "Corvantis Vandrel has been successfully removed." "$(box_text 1 60000)" "then the removal run ran"
wait_setup
expect_eq "0|gone|gone" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/setup.ini")|$(key_state "$UNINSTALL_KEY")" \
  "a removal without failure after a failed install ends with 0; no log, no uninstall entry"
# 2. Only the earlier release's entry.
media=$WORK/media
make_e2e_media "$media"
touch "$media/install.txt"
make_installed "$EARLIER_KEY"
set_registry_value 'Software\Corvantis Vandrel' EULAVersion 3
start_setup_in "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 105
wait_sheet "Licence"
ui check "$(current_page)" 102 1
ui sheet "$SHEET" finish
expect_eq "Corvantis Vandrel has been successfully updated." "$(box_text 1 60000)" "the agreement although its version is not newer, then updated"
wait_setup
expect_eq "0|there|REG_SZ    Corvantis Vandrel (64-bit)" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/vandrel.exe")|$(reg_value "$SETUP_KEY" "Program Folder")" \
  "exit 0; the new release's files in the installed folder; the program folder takes the product's title"
expect_eq "gone there" "$(key_state "$EARLIER_KEY") $(key_state "$UNINSTALL_KEY")" "the earlier release's entry replaced by the new one"
# 3. The entry names a folder without a log (error 2) or a missing one (3): the confirmation, then
#    the removal takes away the entry.
rm "$media/install.txt"
mkdir -p "$DRIVE/Empty"
start_setup_in "$media"
wait_sheet "Welcome"
ui sheet "$SHEET" cancel
wait_setup
expect_eq "1|there" "$SETUP_EXIT|$(key_state "$UNINSTALL_KEY")" "Cancel on the removal confirmation exits with 1 and removes nothing"
for folder in 'C:\Empty' 'C:\Gone'; do
  $WINE reg add "$UNINSTALL_KEY" /v UninstallString /d "$folder\\setup.exe" /f >/dev/null 2>&1
  start_setup_in "$media"
  wait_sheet "Welcome"
  ui sheet "$SHEET" finish
  expect_eq "Corvantis Vandrel has been successfully removed." "$(box_text 1 60000)" "$folder: the removal runs without a log"
  wait_setup
  expect_eq "2|gone" "$SETUP_EXIT|$(key_state "$UNINSTALL_KEY")" "$folder: a removal exits with 2; the uninstall entry is gone"
done
scenario_end
