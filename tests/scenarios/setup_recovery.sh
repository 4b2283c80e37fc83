#!/usr/bin/env bash
# The driver's other roads: a failed fresh install is reported and undone by the removal run;
# an uninstall entry of the earlier release alone counts as installed, and its update always
# shows the update sheet and leaves the new release's entry in place of the old one.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

# 1. A required file is missing from the media: the run stops, the user is told, the removal
#    run takes away what it can with the same script, and setup ends with 0.
media=$WORK/broken
make_e2e_media "$media"
rm "$media/filters.dll"
mkdir -p "$INSTALL_DIR_UNIX"
start_setup_in "$media"
walk_install_wizard
box=$(ui answer 1 60000)
expect_contains "$(field "$box" text)" 'Setup cannot install Corvantis Vandrel because of an error. Setup will now exit.\nThe error was:\n' \
  "the failure is reported in one box"
expect_contains "$(field "$box" text)" "Unable to open file (" "with the file that could not be opened"
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "then the removal run ran"
wait_setup
expect_eq 0 "$SETUP_EXIT" "a removal without failure after a failed install ends with 0"
expect_gone "$INSTALL_DIR_UNIX/setup.ini" "the failed install leaves no log"
reg_exists "$UNINSTALL_KEY" && fail "an uninstall entry was left" || pass "no uninstall entry"

# 2. Only the earlier release's entry: installed; Update always shows the update sheet.
media=$WORK/media
make_e2e_media "$media"
touch "$media/install.txt"
earlier='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quernell Vandrel (64-bit)'
$WINE reg add "$earlier" /v UninstallString /d "$INSTALL_DIR\\setup.exe" /f >/dev/null 2>&1
$WINE reg add 'HKLM\Software\Corvantis Vandrel' /v EULAVersion /d 3 /f >/dev/null 2>&1
crlf '[UninstallFiles]' "$INSTALL_DIR\\old.exe=2" '' '[UninstallDirs]' "$INSTALL_DIR=0" > "$INSTALL_DIR_UNIX/setup.ini"
start_setup_in "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 105
wait_sheet "Licence"
pass "the earlier release's update shows the agreement although its version is not newer"
ui check "$(current_page)" 102 1
ui sheet "$SHEET" finish
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$box" text)" "updated"
wait_setup
expect_eq 0 "$SETUP_EXIT" "the update exits with 0"
expect_there "$INSTALL_DIR_UNIX/vandrel.exe" "the new release's files are in the installed folder"
reg_exists "$earlier" && fail "the earlier release's entry is still there" || pass "the earlier entry is gone"
reg_exists "$UNINSTALL_KEY" && pass "the new release's entry is written" || fail "no uninstall entry for the new release"

scenario_end
