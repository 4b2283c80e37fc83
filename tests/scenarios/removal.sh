#!/usr/bin/env bash
# The removal run from an install log: what is listed goes, in order, the rest stays; failed
# unregistrations warn, owned by the progress window; a failure keeps all after it, the uninstall
# entry and the shortcuts included; files in use wait for the restart.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
inst=$DRIVE/Program\ Files/Corvantis\ Vandrel
win='C:\Program Files\Corvantis Vandrel'
menu=$DRIVE/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Corvantis\ Vandrel
winmenu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Corvantis Vandrel'
mkdir -p "$inst/docs/deep" "$inst/keep" "$menu"
cp "$BUILD_DIR/tests/product_program.exe" "$inst/main.exe"
cp "$BUILD_DIR/tests/product_library.dll" "$inst/comp.dll"
cp "$BUILD_DIR/tests/product_program.exe" "$inst/tool.exe"  # unregisters itself without a fault
for stand_in in main.exe.sleep=1500 main.exe.exitcode=1 comp.dll.hresult=80004005; do echo "${stand_in#*=}" > "$inst/${stand_in%=*}"; done
for f in readme.txt docs/guide.txt docs/deep/notes.txt keep/user.txt; do echo "$f" > "$inst/$f"; done
chmod a-w "$inst/readme.txt"
echo link > "$menu/Corvantis Vandrel.lnk"
registry() {  # the keys and values that the logs below name
  crlf 'Windows Registry Editor Version 5.00' '' '[HKEY_LOCAL_MACHINE\Software\Corvantis Test\Tree\Sub\Deeper]' '"Leaf"="1"' '' \
    '[HKEY_LOCAL_MACHINE\Software\Corvantis Test\Values]' '"Keep"="yes"' '".tif"="Vandrel.Image"' '' \
    '[HKEY_CURRENT_USER\Software\Corvantis Test]' '"Stay"="1"' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)]' '"DisplayName"="x"' '' \
    '[HKEY_LOCAL_MACHINE\Software\Corvantis Vandrel]' '"EULAVersion"="3"' > "$WORK/registry.reg"
  reg_import "$WORK/registry.reg"
}
registry
# Only the leading digits of a flags value count: "10x" is main program and component.
crlf '[UninstallFiles]' "$win\\main.exe=10x" "$win\\comp.dll=8" "$win\\tool.exe=8" "$win\\readme.txt=0" "$win\\docs\\guide.txt=0" \
  "$win\\docs\\deep\\notes.txt=0" "$win\\missing.txt=0" '' '[UninstallDirs]' "$win\\docs\\deep=" "$win\\docs=" "$win\\keep=" "$win=" '' \
  '[UninstallRegistry]' 'HKLM\Software\Corvantis Test\Tree\=0' '1(64)HKLM\Software\Corvantis Test\Values=.tif' \
  'HKCU\Software\Corvantis Test=0' '' '[UninstallShortcuts]' "$winmenu\\Corvantis Vandrel.lnk=" "$winmenu=" > "$inst/setup.ini"
start_removal "$inst/setup.ini"
window=$(ui wait-window "#32770" "Corvantis Vandrel Setup" 20000 | tr -d '\r')
wait_for "Unregistering main.exe..." "the progress window shows the main program's unregistration" ui text "$window" 101
expect_eq "0" "$(ui controls "$window" | awk -F'\t' '$1 == 102 { print $3 }' | tr -d '\r')" "the progress bar is hidden"
for warning in "Warning: Could not unregister program \"$win\\main.exe\". Verify that you have write access to the registry." \
  "Warning: Could not register DLL \"$win\\comp.dll\". Verify that you have write access to the registry. (Error: 80004005)"; do
  answer 1
  expect_eq "$(escaped "$warning")|#32770" "$BOX_TEXT|$(field "$BOX" owner_class)" "a failed unregistration warns, owned by the progress window"
done
answer 1
expect_eq "Corvantis Vandrel has been successfully removed.|Corvantis Vandrel Setup|Static" \
  "$BOX_TEXT|$(field "$BOX" caption)|$(field "$BOX" owner_class)" "the success box, owned by the main window"
end_removal
expect_eq "0 0 1" "$(field "$OUT" result) $(field "$OUT" code) $(field "$OUT" owner_enabled)" "no restart, no failure, the owner enabled again"
expect_eq "\"$win\\main.exe\" /UnregAll
\"$win\\main.exe\" /UnRegServer
DllUnregisterServer $win\\comp.dll
\"$win\\tool.exe\" /UnRegServer" "$(tr -d '\r' < "$inst/calls.log")" "main program, then its unregistration, the library's, and a program's that warns of nothing"
expect_eq "calls.log comp.dll.hresult keep keep/user.txt main.exe.exitcode main.exe.sleep setup.ini" "$(cd "$inst" && find * | paste -sd' ')$([ -e "$menu" ] && echo " menu")" \
  "the listed files and folders and the shortcuts are gone; an unlisted file stays, and with it its folders"
test_key='HKLM\Software\Corvantis Test'
expect_eq "gone gone there there gone gone" "$(key_state "$test_key\Tree") $(key_state "$test_key\Values" .tif) $(key_state "$test_key\Values" Keep) $(key_state 'HKCU\Software\Corvantis Test') $(key_state "$UNINSTALL_KEY") $(key_state 'HKLM\Software\Corvantis Vandrel')" \
  "a key entry deletes the key, a value entry the value alone; other roots passed over; the uninstall entry and the product's key gone"
# A registry entry that cannot be opened stops the run: what comes after it stays.
registry
mkdir -p "$menu"
echo link > "$menu/Corvantis Vandrel.lnk"
crlf '[UninstallRegistry]' 'HKLM\Software\Corvantis Test\Values=.tif' 'HKLM\\Software\Broken=0' 'HKLM\Software\Corvantis Test\Tree=0' \
  '[UninstallShortcuts]' "$winmenu\\Corvantis Vandrel.lnk=" "$winmenu=" > "$inst/broken.ini"
start_removal "$inst/broken.ini"
end_removal
expect_eq "161 0" "$(field "$OUT" code) $(field "$OUT" result)" "the failure is in the status, and no box is shown"
expect_contains "$(field "$OUT" text)" 'Unable to open registry key (\Software\Broken)' "with the key"
expect_eq "gone there there there" "$(key_state "$test_key\Values" .tif) $(key_state "$test_key\Tree") $(key_state "$UNINSTALL_KEY") $(exists "$menu/Corvantis Vandrel.lnk")" \
  "the entry before the failure is done; the entry after it, the uninstall entry and the shortcuts stay"
# A file in use: deletion at restart, the question, No and the put-off note.
dir=$DRIVE/Vandrel
mkdir -p "$dir"
echo busy > "$dir/busy1.txt"
echo later > "$dir/later.txt"
lock_file "$dir/busy1.txt"
crlf '[UninstallFiles]' 'C:\Vandrel\busy1.txt=0' 'C:\Vandrel\later.txt=0' > "$dir/busy.ini"
start_removal "$dir/busy.ini"
expect_eq "Windows must be restarted to complete the removal. Do you want to restart Windows now?" "$(box_text 7)" "the restart question"
expect_eq "You have chosen to end setup without restarting Windows. The removal will be completed next time Windows is restarted." \
  "$(box_text 1)" "the put-off note after No"
end_removal
expect_eq "0 0" "$(field "$OUT" result) $(field "$OUT" code)" "No gives false, and no failure"
expect_eq "later.txt gone|busy1.txt there" "$([ -e "$dir/later.txt" ] || echo later.txt gone)|$([ -e "$dir/busy1.txt" ] && echo busy1.txt there)" \
  "the free file is deleted, the busy one waits for the restart"
expect_contains "$(pending_renames)" 'Vandrel\busy1.txt' "the busy file is listed for deletion at restart"
kill "${LOCKERS[@]}" 2>/dev/null
scenario_end
