#!/usr/bin/env bash
# The registry values of an installation and the main program's start: the uninstall entry
# from the main program's version resource, the setup's own key with the program folder, in a
# fresh install, an update and an update over the earlier release; a main program without a
# version resource stops the run.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

# 1. Fresh install with a main program (product version 4.2.1.7) and components: a library,
#    a library whose registration fails and a program that exits with 1. The failures warn,
#    owned by the progress window, and the installation goes on.
media=$WORK/media
mkdir -p "$media/bin" "$DRIVE/Vandrel/bin"
cp "$BUILD_DIR/tests/product_main.exe" "$media/bin/vandrel.exe"
cp "$SETUP_EXE" "$media/setup.exe"
cp "$BUILD_DIR/tests/product_library.dll" "$media/comp.dll"
cp "$BUILD_DIR/tests/product_library.dll" "$media/bad.dll"
cp "$BUILD_DIR/tests/product_program.exe" "$media/srv.EXE"
echo 80004005 > "$DRIVE/Vandrel/bad.dll.hresult"
echo 1 > "$DRIVE/Vandrel/srv.EXE.exitcode"
echo 1500 > "$DRIVE/Vandrel/bin/vandrel.exe.sleep"
crlf '[InstallFiles]' 'setup.exe=0' 'bin\vandrel.exe=2' 'comp.dll=8' 'srv.EXE=8' 'bad.dll=8' > "$media/setup.ini"
start_install "$media" 'C:\Vandrel' 'folder=Corvantis Vandrel' 'types=tif jpg'

# While the main program runs, the progress window says so. (The driver prints a backslash
# doubled.)
window=$(ui wait-window "#32770" "Corvantis Vandrel Setup" 20000 | tr -d '\r')
seen=""
for i in $(seq 1 100); do
  [ "$(ui text "$window" 101 | tr -d '\r')" = 'Registering bin\\vandrel.exe...' ] && { seen=1; break; }
  sleep 0.05
done
expect_eq 1 "$seen" "the progress window shows \"Registering bin\\vandrel.exe...\""

box=$(ui answer 1 30000)
expect_eq 'Warning: Could not register program "C:\\Vandrel\\srv.EXE". Verify that you have write access to the registry.' \
  "$(field "$box" text)" "a program that exits with 1 warns"
expect_eq "Corvantis Vandrel Setup" "$(field "$box" caption)" "the warning's caption"
box=$(ui answer 1 30000)
expect_eq 'Warning: Could not register DLL "C:\\Vandrel\\bad.dll". Verify that you have write access to the registry. (Error: 80004005)' \
  "$(field "$box" text)" "a library whose registration fails warns"
box=$(ui answer 1 30000)
expect_contains "$(field "$box" text)" "successfully installed" "the installation goes on"
end_install
expect_eq 0 "$(field "$OUT" code)" "warnings are no failure"
expect_eq '"C:\Vandrel\bin\vandrel.exe" /RegServer /filetypes tif jpg' \
  "$(tr -d '\r' < "$DRIVE/Vandrel/bin/calls.log")" "the main program is started once to register itself"
expect_eq 'DllRegisterServer C:\Vandrel\comp.dll
"C:\Vandrel\srv.EXE" /RegServer
DllRegisterServer C:\Vandrel\bad.dll' "$(tr -d '\r' < "$DRIVE/Vandrel/calls.log")" "components are registered in order"
expect_eq "DisplayIcon DisplayName DisplayVersion Publisher UninstallString Version VersionMajor VersionMinor" \
  "$(reg_names "$UNINSTALL_KEY" | sort | tr '\n' ' ' | sed 's/ $//')" "the uninstall entry's values"
expect_eq "REG_SZ    Corvantis Vandrel (64-bit)" "$(reg_value "$UNINSTALL_KEY" DisplayName)" "DisplayName"
expect_eq 'REG_SZ    C:\Vandrel\setup.exe' "$(reg_value "$UNINSTALL_KEY" UninstallString)" "UninstallString"
expect_eq "REG_SZ    Corvantis Corporation Limited" "$(reg_value "$UNINSTALL_KEY" Publisher)" "Publisher"
expect_eq "REG_SZ    4.2.263" "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" "DisplayVersion"
expect_eq "REG_DWORD    0x4020107" "$(reg_value "$UNINSTALL_KEY" Version)" "Version"
expect_eq "REG_DWORD    0x4" "$(reg_value "$UNINSTALL_KEY" VersionMajor)" "VersionMajor"
expect_eq "REG_DWORD    0x2" "$(reg_value "$UNINSTALL_KEY" VersionMinor)" "VersionMinor"
expect_eq 'REG_SZ    C:\Vandrel\bin\vandrel.exe' "$(reg_value "$UNINSTALL_KEY" DisplayIcon)" "DisplayIcon"
expect_eq "REG_SZ    Corvantis Vandrel" "$(reg_value "$SETUP_KEY" "Program Folder")" "the program folder is kept"

# 2. An update: the main program is copied but not started, the entry is written again, and
#    the program folder value stays as the fresh install left it.
$WINE reg delete "$UNINSTALL_KEY" /v Publisher /f >/dev/null 2>&1
rm "$DRIVE/Vandrel/bad.dll.hresult" "$DRIVE/Vandrel/srv.EXE.exitcode" "$DRIVE/Vandrel/bin/vandrel.exe.sleep"
install_ok "$media" 'C:\Vandrel' update 'folder=Elsewhere'
expect_eq 1 "$(grep -c . "$DRIVE/Vandrel/bin/calls.log")" "an update does not start the main program"
expect_eq 6 "$(grep -c . "$DRIVE/Vandrel/calls.log")" "an update registers the components again"
expect_eq "REG_SZ    Corvantis Corporation Limited" "$(reg_value "$UNINSTALL_KEY" Publisher)" \
  "the update writes the uninstall entry"
expect_eq "REG_SZ    Corvantis Vandrel" "$(reg_value "$SETUP_KEY" "Program Folder")" \
  "a plain update leaves the program folder value alone"

# 3. Without a main program the entry holds only its name and the uninstall command.
$WINE reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
plain=$WORK/plain
mkdir -p "$plain" "$DRIVE/Plain"
echo text > "$plain/readme.txt"
crlf '[InstallFiles]' 'readme.txt=0' > "$plain/setup.ini"
install_ok "$plain" 'C:\Plain'
expect_eq "DisplayName UninstallString" "$(reg_names "$UNINSTALL_KEY" | sort | tr '\n' ' ' | sed 's/ $//')" \
  "no main program: two values only"

# 4. An update over the earlier release: its entry goes, the program folder takes the
#    product's title and is written to the setup's key.
$WINE reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quernell Vandrel (64-bit)\Sub' \
  /v UninstallString /d 'C:\Plain\setup.exe' /f >/dev/null 2>&1
install_ok "$plain" 'C:\Plain' update earlier 'folder=Old Folder'
reg_exists 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quernell Vandrel (64-bit)' \
  && fail "the earlier release's entry is still there" || pass "the earlier release's entry is deleted"
expect_eq "Corvantis Vandrel (64-bit)" "$(field "$OUT" program_folder)" "the program folder becomes the product title"
expect_eq "REG_SZ    Corvantis Vandrel (64-bit)" "$(reg_value "$SETUP_KEY" "Program Folder")" \
  "the program folder value is written"

# 5. A main program without a version resource stops the run after copying: the failure
#    names the file, no box is shown, and the failed install leaves no log.
$WINE reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
broken=$WORK/broken
mkdir -p "$broken" "$DRIVE/Broken"
cp "$BUILD_DIR/tests/product_program.exe" "$broken/main.exe"
crlf '[InstallFiles]' 'main.exe=2' > "$broken/setup.ini"
start_install "$broken" 'C:\Broken'
end_install
expect_eq "GetFileVersionInfoSize($(windows_path "$broken")\\main.exe) failed" \
  "$(field "$OUT" text | sed 's/.*\\n//')" "the version failure names the source"
expect_eq 0 "$(field "$OUT" result)" "a failed run answers 0"
expect_gone "$DRIVE/Broken/setup.ini" "the failed install deleted its log"
expect_there "$DRIVE/Broken/main.exe" "what was copied stays"
expect_eq 1 "$(field "$OUT" owner_enabled)" "the owner is enabled again"

scenario_end
