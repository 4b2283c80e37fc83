#!/usr/bin/env bash
# Media with install.txt beside setup.exe, on a machine where the product is installed: the
# update-or-remove choice. Update shows the agreement only when its version is newer, replaces
# the files, applies RemoveOnInstall and changes the log; Remove takes the product away.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

media=$WORK/media
make_e2e_media "$media"
mkdir -p "$INSTALL_DIR_UNIX"
start_setup_in "$media"
walk_install_wizard
ui answer 1 60000 >/dev/null || fail "no message after the install"
wait_setup
expect_eq 0 "$SETUP_EXIT" "the first install exits with 0"
echo old > "$INSTALL_DIR_UNIX/old.txt"

# The new release: one more file, one that replaces old.txt, the same agreement version.
echo 2 > "$media/data/a.txt"
echo extra > "$media/extra.txt"
crlf '[Setup]' 'EULAVersion=3' '' '[License]' 'Show=1' 'Wizard=1' 'Title=Licence' '' \
  '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' 'extra.txt=0' '' \
  '[InstallDirs]' 'data=0' '' '[RemoveOnInstall]' 'extra.txt=old.txt' > "$media/setup.ini"
touch "$media/install.txt"

start_setup_in "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 105
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$box" text)" "no agreement page, then updated"
wait_setup
expect_eq 0 "$SETUP_EXIT" "an update exits with 0"
expect_eq 2 "$(tr -d '\r\n' < "$INSTALL_DIR_UNIX/data/a.txt")" "files are replaced"
expect_there "$INSTALL_DIR_UNIX/extra.txt" "the new file is installed"
expect_gone "$INSTALL_DIR_UNIX/old.txt" "RemoveOnInstall deletes the replaced file"
log=$(tr -d '\r' < "$INSTALL_DIR_UNIX/setup.ini")
expect_contains "$log" "$INSTALL_DIR\\extra.txt=0" "the log gains the new file"
expect_contains "$log" "$INSTALL_DIR\\vandrel.exe=2" "the log keeps the old entries"

# A newer agreement: the update sheet shows it, Finish only once it is accepted.
sed -i 's/EULAVersion=3/EULAVersion=4/' "$media/setup.ini"
start_setup_in "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 105
wait_sheet "Licence"
ui check "$(current_page)" 102 1
ui sheet "$SHEET" finish
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$box" text)" "updated after the agreement"
wait_setup
expect_eq 0 "$SETUP_EXIT" "the update with the agreement exits with 0"

# Remove from the same choice page.
start_setup_in "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 106
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "Remove removes"
wait_setup
expect_eq 2 "$SETUP_EXIT" "a removal exits with 2"
expect_gone "$INSTALL_DIR_UNIX/vandrel.exe" "the program is gone"
reg_exists "$UNINSTALL_KEY" && fail "the uninstall entry is still there" || pass "the uninstall entry is gone"

# Cancel on the choice page: nothing happens, exit code 1, no message.
start_setup_in "$media"
wait_sheet "Welcome"
ui sheet "$SHEET" cancel
wait_setup
expect_eq 1 "$SETUP_EXIT" "with nothing installed the wizard came, and Cancel exits with 1"

scenario_end
