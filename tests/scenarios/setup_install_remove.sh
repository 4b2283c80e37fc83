#!/usr/bin/env bash
# setup.exe does the whole job by itself: a fresh install through the wizard, then the removal
# started from the installed folder's copy of setup.exe.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

media=$WORK/media
make_e2e_media "$media"
# The destination page asks before it creates a missing folder; this one exists already.
mkdir -p "$INSTALL_DIR_UNIX"

# The progress window takes the wizard's place with the [Progress] header; the main program
# takes its time registering, so the window can be seen.
convert -size 120x48 xc:'#1d4e89' "BMP3:$media/band.bmp"
crlf '[Progress]' 'Title=Installing Vandrel' 'headerimage=band.bmp' >> "$media/setup.ini"
echo 3000 > "$INSTALL_DIR_UNIX/vandrel.exe.sleep"

start_setup_in "$media"
walk_install_wizard
progress=$(ui wait-window "#32770" "Installing Vandrel" 30000 | tr -d '\r')
[ -n "$progress" ] && pass "the header progress window stands in the wizard's place" \
  || fail "no progress window titled from [Progress]"
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel Setup" "$(field "$box" caption)" "success box caption"
expect_contains "$(field "$box" text)" "Corvantis Vandrel has been successfully installed." "success message"
wait_setup
expect_eq 0 "$SETUP_EXIT" "a fresh install exits with 0"

for f in setup.exe vandrel.exe filters.dll data/a.txt data/sub/b.txt setup.ini; do
  expect_there "$INSTALL_DIR_UNIX/$f" "$f installed"
done
expect_gone "$INSTALL_DIR_UNIX/readme.txt" "an optional file that is missing is skipped"
expect_eq "$INSTALL_DIR\\setup.exe" "$(reg_value "$UNINSTALL_KEY" UninstallString | sed 's/^REG_SZ    //')" \
  "the uninstall entry names the installed setup"
log=$(tr -d '\r' < "$INSTALL_DIR_UNIX/setup.ini")
expect_contains "$log" "$INSTALL_DIR\\vandrel.exe=2" "the log lists the main program"
expect_contains "$log" "$INSTALL_DIR\\data\\sub=0" "the log lists the subfolder"
calls=$(tr -d '\r' < "$WORK/calls.log")
expect_contains "$calls" "\"$INSTALL_DIR\\vandrel.exe\" /RegServer /filetypes" "the main program registers itself"
expect_contains "$calls" "DllRegisterServer $INSTALL_DIR\\filters.dll" "the component is registered"
expect_there "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvantis Vandrel/Corvantis Vandrel.lnk" \
  "the program-folder shortcut is made for all users (the page's default)"

# Removal from the installed folder: no install.txt there, so the confirmation page.
start_setup_in "$INSTALL_DIR_UNIX"
wait_sheet "Welcome"
ui sheet "$SHEET" finish
# The running setup.exe is itself listed: it is left for the restart without asking.
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "no restart question for setup itself"
wait_setup
pending=$($WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
expect_contains "$pending" 'Corvantis Vandrel\setup.exe' "setup.exe waits for the restart"
expect_eq 2 "$SETUP_EXIT" "a removal exits with 2"
for f in vandrel.exe filters.dll data/a.txt data setup.ini; do
  expect_gone "$INSTALL_DIR_UNIX/$f" "$f removed"
done
reg_exists "$UNINSTALL_KEY" && fail "the uninstall entry is still there" || pass "the uninstall entry is gone"
reg_exists 'HKLM\Software\Corvantis Vandrel' && fail "the product's key is still there" || pass "the product's key is gone"
expect_gone "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvantis Vandrel" \
  "the program folder of the shortcuts is gone"
calls=$(tr -d '\r' < "$WORK/calls.log")
expect_contains "$calls" "\"$INSTALL_DIR\\vandrel.exe\" /UnregAll" "the main program unregisters all"

scenario_end
