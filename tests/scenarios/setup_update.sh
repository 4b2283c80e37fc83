#!/usr/bin/env bash
# install.txt beside setup.exe over an installed product: the update-or-remove choice. Update (no
# agreement when its version is not newer), Cancel, Remove, and a failed update offering the removal.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
media=$WORK/media
make_e2e_media "$media"
mkdir -p "$INSTALL_DIR_UNIX"
start_setup_in "$media"
walk_install_wizard
answer 1 60000
wait_setup
expect_eq 0 "$SETUP_EXIT" "the first install exits with 0"
# The new release: one more file, which replaces the read-only old.txt; the same agreement version.
echo old > "$INSTALL_DIR_UNIX/old.txt" && chmod a-w "$INSTALL_DIR_UNIX/old.txt"
echo 2 > "$media/data/a.txt"
echo extra > "$media/extra.txt"
crlf '[Setup]' 'EULAVersion=3' '' '[License]' 'Show=1' 'Wizard=1' 'Title=Licence' '' \
  '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' 'extra.txt=0' '' \
  '[InstallDirs]' 'data=0' '' '[RemoveOnInstall]' 'extra.txt=old.txt' > "$media/setup.ini"
touch "$media/install.txt"
# Runs setup from the media and clicks the choice page's button (105 Update, 106 Remove).
choose() { start_setup_in "$media"; wait_sheet "Welcome"; ui click "$(current_page)" "$1"; }
updated="Corvantis Vandrel has been successfully updated."
choose 105
expect_eq "$updated" "$(box_text 1 60000)" "no agreement page, then updated"
wait_setup
expect_eq "0|2|gone|1|REG_SZ    Corvantis Vandrel" "$SETUP_EXIT|$(tr -d '\r\n' < "$INSTALL_DIR_UNIX/data/a.txt")|$(exists "$INSTALL_DIR_UNIX/old.txt")|$(grep -c 'RegServer' "$WORK/calls.log")|$(reg_value "$SETUP_KEY" "Program Folder")" \
  "exit 0, files replaced, RemoveOnInstall applied; the main program not started, nor the program folder written again"
log=$(tr -d '\r' < "$INSTALL_DIR_UNIX/setup.ini")
expect_contains "$log" "$INSTALL_DIR\\vandrel.exe=2" "the log keeps the old entries"
expect_contains "$log" "$INSTALL_DIR\\extra.txt=0" "and gains the new file"
# Cancel on the choice page: exit code 1, no box, nothing changed.
cp "$INSTALL_DIR_UNIX/setup.ini" "$WORK/log.before"
start_setup_in "$media"
wait_sheet "Welcome"
wait_for "10 00 10" "the update-or-remove page: Finish disabled" wizard_buttons
expect_eq "To exit Setup without updating or removing Corvantis Vandrel, click Cancel." "$(page_text 104)" "its text"
ui sheet "$SHEET" cancel
wait_setup
expect_eq "1|" "$SETUP_EXIT|$(cmp "$WORK/log.before" "$INSTALL_DIR_UNIX/setup.ini")" "Cancel on the update-or-remove page exits with 1, the log unchanged"
# A failed update (a file missing from the media): No shows the error and ends as cancelled.
rm "$media/extra.txt"
choose 105
expect_eq 'Setup cannot update Corvantis Vandrel because of an error. To repair the error, it is recommended that you remove Corvantis Vandrel then run setup again to install it. Do you want to remove Corvantis Vandrel now?' \
  "$(box_text 7 60000)" "the failed update offers the removal"
text=$(box_text 1)
expect_contains "$text" 'The error was:\n' "No shows the error"
expect_contains "$text" "Unable to open file ($(escaped "$(windows_path "$media")\\extra.txt"))\\n\\nSetup will now exit." "with the file"
wait_setup
expect_eq "1|there" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/vandrel.exe")" "No ends as cancelled; the installation stays"
# Remove from the choice page.
choose 106
expect_eq "Corvantis Vandrel has been successfully removed." "$(box_text 1 60000)" "Remove removes"
wait_setup
expect_eq "2|gone|gone" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/vandrel.exe")|$(key_state "$UNINSTALL_KEY")" "a removal exits with 2; the program and the entry are gone"
# A failed update, Yes: the removal runs with the new script, so only the entry and the key go.
make_installed
set_registry_value 'Software\Corvantis Vandrel' EULAVersion 3
choose 105
answer 6 60000
expect_eq "Corvantis Vandrel has been successfully removed." "$(box_text 1 60000)" "Yes runs the removal"
wait_setup
expect_eq "0|there|gone" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/old.exe")|$(key_state "$UNINSTALL_KEY")" \
  "the removal after a failed update ends with 0; the entry goes, what the script does not name stays"
scenario_end
