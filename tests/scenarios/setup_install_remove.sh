#!/usr/bin/env bash
# setup.exe alone: a fresh install through the wizard (header progress window, a failing component),
# then the removal from the installed copy, which leaves itself and its folder for the restart
# without asking, whatever the current folder; after the restart the machine is as before, but
# for the setup's own key. A file held open still asks, and Yes restarts.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
media=$WORK/media
make_e2e_media "$media"
convert -size 120x48 xc:'#1d4e89' "BMP3:$media/band.bmp"
crlf '[Progress]' 'Title=Installing Vandrel' 'headerimage=band.bmp' 'HeaderBackColor=255' >> "$media/setup.ini"
machine_snapshot "$WORK/before"
# The folder exists (no create question); the main program registers slowly, so the window shows.
mkdir -p "$INSTALL_DIR_UNIX"
echo 3000 > "$INSTALL_DIR_UNIX/vandrel.exe.sleep"
echo 80004005 > "$INSTALL_DIR_UNIX/filters.dll.hresult"
start_setup_in "$media"
walk_install_wizard
progress=$(ui wait-window "#32770" "Installing Vandrel" 30000 | tr -d '\r')
wait_for "Registering vandrel.exe..." "the header progress window takes the wizard's place and shows the step" ui text "$progress" 102
client_rect "$progress"
band() { screenshot; echo "$(pixel $((CLIENT_RIGHT - 2)) $((CLIENT_TOP + 2))) $(pixel $((CLIENT_RIGHT - 124)) $((CLIENT_TOP + 2)))"; }
wait_for "29,78,137 255,0,0" "its header band: the image at the top right, the back colour to its left" band
answer 1 60000
expect_eq "$(escaped "Warning: Could not register DLL \"$INSTALL_DIR\\filters.dll\". Verify that you have write access to the registry. (Error: 80004005)")|#32770" \
  "$BOX_TEXT|$(field "$BOX" owner_class)" "a failed registration warns, owned by the progress window"
expect_eq "Corvantis Vandrel has been successfully installed. If Internet Explorer is running it may need to be restarted to make Corvantis Vandrel available from Internet Explorer." \
  "$(box_text 1 60000)" "the success message"
wait_setup
expect_eq "0|there|there|there" "$SETUP_EXIT|$(exists "$INSTALL_DIR_UNIX/data/sub/b.txt")|$(exists "$INSTALL_DIR_UNIX/Examples/first.txt")|$(exists "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvantis Vandrel/Corvantis Vandrel.lnk")" \
  "a fresh install exits with 0; a tree, the examples and the shortcut installed"
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Corvantis Vandrel'
expect_lines "$INSTALL_DIR_UNIX/setup.ini" "the install log" '[UninstallFiles]' "$INSTALL_DIR\\setup.exe=0" \
  "$INSTALL_DIR\\vandrel.exe=2" "$INSTALL_DIR\\filters.dll=8" "$INSTALL_DIR\\data\\a.txt=0" "$INSTALL_DIR\\data\\sub\\b.txt=0" \
  "$INSTALL_DIR\\Examples=0" "$INSTALL_DIR\\Examples\\first.txt=0" "$INSTALL_DIR\\setup.ini=0" '' \
  '[UninstallDirs]' "$INSTALL_DIR\\data\\sub=0" "$INSTALL_DIR\\data=0" "$INSTALL_DIR=0" '' \
  '[UninstallRegistry]' "$LOG_REGISTRY_LINE" '' '[UninstallShortcuts]' "$menu=0" "$menu\\Corvantis Vandrel.lnk=0"
expect_eq "\"$INSTALL_DIR\\vandrel.exe\" /RegServer /filetypes none
DllRegisterServer $INSTALL_DIR\\filters.dll" "$(calls)" "the main program registers itself, then the component"
expect_eq "DisplayIcon=REG_SZ $INSTALL_DIR\\vandrel.exe
DisplayName=REG_SZ Corvantis Vandrel (64-bit)
DisplayVersion=REG_SZ 4.2.263
Publisher=REG_SZ Corvantis Corporation Limited
UninstallString=REG_SZ $INSTALL_DIR\\setup.exe
Version=REG_DWORD 0x4020107
VersionMajor=REG_DWORD 0x4
VersionMinor=REG_DWORD 0x2|Program Folder=REG_SZ Corvantis Vandrel|EULAVersion=REG_SZ 3" \
  "$(reg_values "$UNINSTALL_KEY")|$(reg_values "$SETUP_KEY")|$(reg_values 'HKLM\Software\Corvantis Vandrel')" \
  "the uninstall entry from the main program's version, the program folder and the accepted agreement"
# Removal from the installed copy, its folder current: no restart question although the running
# setup.exe is listed; it goes at the restart, and then its folder, which holds nothing else.
rm "$INSTALL_DIR_UNIX"/*.sleep "$INSTALL_DIR_UNIX"/*.hresult
start_setup_in "$INSTALL_DIR_UNIX"
wait_sheet "Welcome"
wait_for "10 00 11" "the removal confirmation: Finish only" wizard_buttons
expect_eq "To remove Corvantis Vandrel from your computer now, click Finish or press Enter." "$(page_text 102)" "its text"
ui sheet "$SHEET" finish
expect_eq "Corvantis Vandrel has been successfully removed." "$(box_text 1 60000)" "no restart question for setup itself"
wait_setup
expect_eq 2 "$SETUP_EXIT" "a removal exits with 2"
expect_contains "$(pending_renames)" 'Corvantis Vandrel\setup.exe\0\0\??\C:\Program Files\Corvantis Vandrel\0' "setup.exe, then its folder, wait for the restart"
expect_eq "\"$INSTALL_DIR\\vandrel.exe\" /UnregAll
DllUnregisterServer $INSTALL_DIR\\filters.dll|Program Folder=REG_SZ Corvantis Vandrel" "$(calls | sed 1,2d)|$(reg_values "$SETUP_KEY")" \
  "the main program and the component unregistered; the setup's own key stays"
$WINE reg delete 'HKLM\Software\Quernell' /f >/dev/null 2>&1
simulate_restart
expect_machine_as "$WORK/before" "after the restart the machine is as before"
# Started from another folder with a file held open: the restart question; Yes ends the session
# once setup quits, and the restart deletes setup.exe.
mkdir -p "$INSTALL_DIR_UNIX"
start_setup_in "$media"
walk_install_wizard
answer 1 60000
wait_setup
lock_file "$INSTALL_DIR_UNIX/data/a.txt"
ui make-window SessionWatch "Session watch" 60000 > "$WORK/session" &
(cd "$WORK" && exec $WINE "$INSTALL_DIR\\setup.exe") & SETUP_PID=$!
wait_sheet "Welcome"
ui sheet "$SHEET" finish
expect_eq "Windows must be restarted to complete the removal. Do you want to restart Windows now?" "$(box_text 6 60000)" "a file in use asks to restart"
wait_setup
expect_eq 2 "$SETUP_EXIT" "the removal still exits with 2"
wait_for "session-end" "Yes restarts Windows" grep -o session-end "$WORK/session"
wait_for gone "the restart deletes the setup that was in use" sh -c "[ -e '$INSTALL_DIR_UNIX/setup.exe' ] && echo there || echo gone"
scenario_end
