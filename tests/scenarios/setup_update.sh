#!/usr/bin/env bash
# Installs and updates from read-only media, since nothing is written beside setup.exe. A fresh
# install whose licence cannot be read records no agreement; an update replaces a hidden, system
# and read-only file at once and records the agreement it shows; one whose main program is held
# open stages it beside itself for the restart. The update-or-remove choice: Cancel, a failed
# update with No and with Yes, Remove. The earlier release's entry: its update always shows the
# agreement, whose Cancel warns of nothing, and makes the program folder under the new title.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
source=$WORK/source media=$WORK/media
make_e2e_media "$source"
mkdir -p "$source/bin" "$media" "$INSTALL_DIR_UNIX"
echo tool > "$source/bin/tool.txt"
perl -0pi -e 's/filters\.dll=8\r\n/$&bin\\tool.txt=0\r\n/' "$source/setup.ini"
mount --bind "$source" "$media" && mount -o remount,bind,ro "$media" || fail "cannot mount the media read-only (root is needed)"
# Wine's processes may hold the media as their current folder: they end first.
trap 'wineserver -k; wineserver -w; umount "$media" || umount -l "$media"; finish' EXIT
touch "$media/written" 2>/dev/null && fail "the media can be written"
updated="Corvantis Vandrel has been successfully updated."
removed="Corvantis Vandrel has been successfully removed."
attributes() { $WINE cmd /c attrib "$1" 2>/dev/null | tr -d '\r' | cut -c1-8 | tr -d ' '; }  # "ASHR", "A"
choose() { start_setup_in "$media"; wait_sheet "Welcome"; ui click "$(current_page)" "$1"; }  # 105 Update, 106 Remove
accept_update() { wait_sheet "Licence"; ui check "$(current_page)" 102 1; ui sheet "$SHEET" finish; }
# Nothing of the product is left on the machine.
expect_no_trace() { expect_eq "|gone" "$(find "$DRIVE" -path '*Corvantis Vandrel*' | head -3)|$(key_state "$UNINSTALL_KEY")" "$1: no trace left"; }
# 1. The agreement page cannot read license.txt: it says so, and a box checked under no text
#    accepts nothing. A file in a folder of its own gets that folder, logged before the
#    installation folder.
lock_file "$source/license.txt"
start_setup_in "$media"
wait_sheet "Welcome to Vandrel"
ui sheet "$SHEET" next
expect_eq "Unknown error (32)" "$(box_text 1 20000)" "the sharing violation is reported"
wait_for "Licence" "the agreement page opens all the same" caption
ui check "$(current_page)" 102 1
for page in "Choose Destination Location" "Select Program Folder" "File Types"; do press next "$page"; done
ui sheet "$SHEET" finish
expect_contains "$(box_text 1 60000)" "successfully installed" "installed from read-only media"
wait_setup
kill "${LOCKERS[@]}"
expect_eq "0|tool|(none)|$INSTALL_DIR\\bin=0 $INSTALL_DIR=0" "$SETUP_EXIT|$(cat "$INSTALL_DIR_UNIX/bin/tool.txt")|$(registry_value 'Software\Corvantis Vandrel' EULAVersion)|$(
  tr -d '\r' < "$INSTALL_DIR_UNIX/setup.ini" | sed -n '/^\[UninstallDirs\]/,/^$/p' | tail -3 | head -2 | paste -sd' ')" \
  "exit 0; no agreement recorded; the made folder logged before the installation folder"
# 2. The new release: data\a.txt replaced at once although hidden, system and read-only, keeping
#    the archive attribute alone, and so is the hidden, read-only log; extra.txt replaces the
#    read-only old.txt; a new example file.
#    The agreement, never accepted, is shown and recorded now; the main program is not registered
#    again.
hidden="$INSTALL_DIR\\data\\a.txt"
for flag in +h +s +r; do $WINE cmd /c attrib $flag "$hidden" >/dev/null 2>&1; done
$WINE cmd /c attrib +h +r "$INSTALL_DIR\\setup.ini" >/dev/null 2>&1
before=$(attributes "$hidden")
echo old > "$INSTALL_DIR_UNIX/old.txt" && chmod a-w "$INSTALL_DIR_UNIX/old.txt"
echo 2 > "$source/data/a.txt" && echo extra > "$source/extra.txt" && echo more > "$source/Examples/second.txt" && touch "$source/install.txt"
crlf '[Setup]' 'EULAVersion=3' '' '[License]' 'Show=1' 'Wizard=1' 'Title=Licence' '' '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' \
  'filters.dll=8' 'extra.txt=0' '' '[InstallDirs]' 'data=0' '' '[InstallShortcuts]' 'vandrel.exe=Corvantis Vandrel' '' \
  '[RemoveOnInstall]' 'extra.txt=old.txt' > "$source/setup.ini"
choose 105
accept_update
expect_eq "$updated" "$(box_text 1 60000)" "updated without a restart"
wait_setup
expect_eq "0|2|ASHR|A A|gone|there|1|REG_SZ    Corvantis Vandrel|3" "$SETUP_EXIT|$(tr -d '\r\n' < "$INSTALL_DIR_UNIX/data/a.txt")|$before|$(attributes "$hidden") $(attributes "$INSTALL_DIR\\setup.ini")|$(
  exists "$INSTALL_DIR_UNIX/old.txt")|$(exists "$INSTALL_DIR_UNIX/Examples/second.txt")|$(grep -c 'RegServer' "$WORK/calls.log")|$(
  reg_value "$SETUP_KEY" "Program Folder")|$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" \
  "the hidden file and log replaced, archive only; RemoveOnInstall; the new example; not registered, the program folder not written again; the agreement recorded"
for line in "vandrel.exe=2" "extra.txt=0" "Examples\\second.txt=0"; do expect_contains "$(tr -d '\r' < "$INSTALL_DIR_UNIX/setup.ini")" "$INSTALL_DIR\\$line" "the log holds $line"; done
# 3. The main program held open: no agreement (its version is not newer); the new program is
#    staged in the installation folder, so that the move at restart stays on its volume.
printf 'release 2' >> "$source/vandrel.exe"
lock_file "$INSTALL_DIR_UNIX/vandrel.exe"
choose 105
expect_eq "Windows must be restarted to complete the update. Do you want to restart Windows now?" "$(box_text 7 60000)" "the update asks to restart"
answer 1
wait_setup
staged=$(ls "$INSTALL_DIR_UNIX" | grep -i '^vds.*\.tmp$')
expect_eq "1|same" "$(wc -w <<< "$staged")|$(cmp -s "$source/vandrel.exe" "$INSTALL_DIR_UNIX/${staged:-none}" && echo same)" "one staged copy of the new program"
expect_contains "$(pending_renames)" "$INSTALL_DIR\\${staged:-none}" "the rename's source is in the installation folder"
kill "${LOCKERS[@]}" 2>/dev/null
wineserver -k
simulate_restart
expect_eq "same|" "$(cmp -s "$source/vandrel.exe" "$INSTALL_DIR_UNIX/vandrel.exe" && echo same)|$(ls "$INSTALL_DIR_UNIX" | grep -i '^vds.*\.tmp$')" \
  "after the restart the new program is in place, and no staged copy is left"
# 4. Cancel on the choice page: exit code 1, no box, nothing changed.
cp "$INSTALL_DIR_UNIX/setup.ini" "$WORK/log.before"
start_setup_in "$media"
wait_sheet "Welcome"
wait_for "10 00 10" "the update-or-remove page: Finish disabled" wizard_buttons
expect_eq "To exit Setup without updating or removing Corvantis Vandrel, click Cancel." "$(page_text 104)" "its text"
ui sheet "$SHEET" cancel
wait_setup
expect_eq "1|" "$SETUP_EXIT|$(cmp "$WORK/log.before" "$INSTALL_DIR_UNIX/setup.ini")" "Cancel on the update-or-remove page exits with 1, the log unchanged"
# 5. A failed update (a file missing from the media): No shows the error and ends as cancelled.
mv "$source/extra.txt" "$WORK"
choose 105
expect_eq 'Setup cannot update Corvantis Vandrel because of an error. To repair the error, it is recommended that you remove Corvantis Vandrel then run setup again to install it. Do you want to remove Corvantis Vandrel now?' \
  "$(box_text 7 60000)" "the failed update offers the removal"
text=$(box_text 1)
expect_contains "$text" 'The error was:\n' "No shows the error"
expect_contains "$text" "Unable to open file ($(escaped "$(windows_path "$media")\\extra.txt"))\\n\\nSetup will now exit." "with the file"
wait_setup
expect_eq "1|there" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/vandrel.exe")" "No ends as cancelled; the installation stays"
# 6. Remove from the choice page: nothing is left, the updates' files included.
choose 106
expect_eq "$removed" "$(box_text 1 60000)" "Remove removes"
wait_setup
expect_eq 2 "$SETUP_EXIT" "a removal exits with 2"
expect_no_trace "the removal after the updates"
# 7. A failed update, Yes: the removal runs with the new script, so only the entry and the key go.
make_installed
set_registry_value 'Software\Corvantis Vandrel' EULAVersion 3
choose 105
answer 6 60000
expect_eq "$removed" "$(box_text 1 60000)" "Yes runs the removal"
wait_setup
expect_eq "0|there|gone" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/old.exe")|$(key_state "$UNINSTALL_KEY")" \
  "the removal after a failed update ends with 0; the entry goes, what the script does not name stays"
# 8. Only the earlier release's entry: the agreement although its version is not newer. Cancel
#    ends with 1 and no message, not even the running browser's warning; then the update.
mv "$WORK/extra.txt" "$source"
make_installed "$EARLIER_KEY"
start_program_named iexplore.exe
choose 105
wait_sheet "Licence"
ui sheet "$SHEET" cancel
box=$(ui answer 1 5000) && fail "a message after the cancel: $(field "$box" text)"
wait_setup
expect_eq 1 "$SETUP_EXIT" "a cancelled update exits with 1"
kill "$PROGRAM_PID"
choose 105
accept_update
expect_eq "$updated" "$(box_text 1 60000)" "the earlier release updated"
wait_setup
expect_eq "0|there|REG_SZ    Corvantis Vandrel (64-bit)|gone there" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/vandrel.exe")|$(reg_value "$SETUP_KEY" "Program Folder")|$(
  key_state "$EARLIER_KEY") $(key_state "$UNINSTALL_KEY")" "exit 0; the program folder takes the product's title; the earlier entry replaced by the new one"
expect_contains "$(find "$DRIVE" -type d -name 'Corvantis Vandrel (64-bit)')" "Programs/Corvantis Vandrel (64-bit)" "the program folder is made under the new title"
choose 106
expect_eq "$removed" "$(box_text 1 60000)" "removed after the earlier release's update"
wait_setup
expect_no_trace "the earlier release's update"
scenario_end
