#!/usr/bin/env bash
# The main program's start and the components' registration, whose failures warn, owned by the
# progress window; the uninstall entry and the program folder in a fresh install, an update and
# without a main program; a main program without a version resource stops the run.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

media=$WORK/media
mkdir -p "$media/bin" "$DRIVE/Vandrel/bin"
cp "$BUILD_DIR/tests/product_main.exe" "$media/bin/vandrel.exe"
cp "$BUILD_DIR/tests/product_library.dll" "$media/comp.dll"
cp "$BUILD_DIR/tests/product_library.dll" "$media/bad.dll"
cp "$BUILD_DIR/tests/product_program.exe" "$media/srv.EXE"
echo 80004005 > "$DRIVE/Vandrel/bad.dll.hresult"
echo 1 > "$DRIVE/Vandrel/srv.EXE.exitcode"
echo 1500 > "$DRIVE/Vandrel/bin/vandrel.exe.sleep"
crlf '[InstallFiles]' 'bin\vandrel.exe=2' 'comp.dll=8' 'srv.EXE=8' 'bad.dll=8' > "$media/setup.ini"
start_install "$media" 'C:\Vandrel' 'folder=Corvantis Vandrel' 'types=tif jpg'
# While the main program runs, the progress window says so (the driver doubles a backslash).
window=$(ui wait-window "#32770" "Corvantis Vandrel Setup" 20000 | tr -d '\r')
wait_for 'Registering bin\\vandrel.exe...' "the progress window shows the main program's registration" ui text "$window" 101
answer 1
expect_eq 'Warning: Could not register program "C:\\Vandrel\\srv.EXE". Verify that you have write access to the registry.' \
  "$BOX_TEXT" "a program that exits with 1 warns"
expect_eq "Corvantis Vandrel Setup|#32770" "$(field "$BOX" caption)|$(field "$BOX" owner_class)" "owned by the progress window"
answer 1
expect_eq 'Warning: Could not register DLL "C:\\Vandrel\\bad.dll". Verify that you have write access to the registry. (Error: 80004005)' \
  "$BOX_TEXT" "a library whose registration fails warns"
expect_eq "#32770" "$(field "$BOX" owner_class)" "owned by the progress window"
expect_contains "$(box_text 1)" "successfully installed" "the installation goes on"
end_install
expect_eq 0 "$(field "$OUT" code)" "warnings are no failure"
expect_eq '"C:\Vandrel\bin\vandrel.exe" /RegServer /filetypes tif jpg' "$(tr -d '\r' < "$DRIVE/Vandrel/bin/calls.log")" \
  "the main program is started once with the file types"
expect_eq 'DllRegisterServer C:\Vandrel\comp.dll
"C:\Vandrel\srv.EXE" /RegServer
DllRegisterServer C:\Vandrel\bad.dll' "$(tr -d '\r' < "$DRIVE/Vandrel/calls.log")" "components are registered in order"
expect_eq 'REG_SZ    C:\Vandrel\bin\vandrel.exe|REG_SZ    Corvantis Vandrel' \
  "$(reg_value "$UNINSTALL_KEY" DisplayIcon)|$(reg_value "$SETUP_KEY" "Program Folder")" "the main program's icon, the program folder"

# An update writes the entry again, and leaves the program folder value as it was.
$WINE reg delete "$UNINSTALL_KEY" /v Publisher /f >/dev/null 2>&1
rm "$DRIVE/Vandrel/bad.dll.hresult" "$DRIVE/Vandrel/srv.EXE.exitcode" "$DRIVE/Vandrel/bin/vandrel.exe.sleep"
install_ok "$media" 'C:\Vandrel' update 'folder=Elsewhere'
expect_eq "REG_SZ    Corvantis Corporation Limited|REG_SZ    Corvantis Vandrel" \
  "$(reg_value "$UNINSTALL_KEY" Publisher)|$(reg_value "$SETUP_KEY" "Program Folder")" "the entry written again, the folder kept"

# Without a main program the entry holds only its name and the uninstall command.
$WINE reg delete "$UNINSTALL_KEY" /f >/dev/null 2>&1
plain=$WORK/plain
mkdir -p "$plain" "$DRIVE/Plain"
echo text > "$plain/readme.txt"
crlf '[InstallFiles]' 'readme.txt=0' > "$plain/setup.ini"
install_ok "$plain" 'C:\Plain'
expect_eq 'DisplayName=REG_SZ Corvantis Vandrel (64-bit)
UninstallString=REG_SZ C:\Plain\setup.exe' "$(reg_values "$UNINSTALL_KEY")" "no main program: two values only"

# A main program without a version resource stops the run after copying: the failure names
# the file, no box is shown, and the failed install leaves no log.
mkdir -p "$WORK/broken" "$DRIVE/Broken"
cp "$BUILD_DIR/tests/product_program.exe" "$WORK/broken/main.exe"
crlf '[InstallFiles]' 'main.exe=2' > "$WORK/broken/setup.ini"
start_install "$WORK/broken" 'C:\Broken'
end_install
expect_eq "GetFileVersionInfoSize($(windows_path "$WORK/broken")\\main.exe) failed|0|1" \
  "$(field "$OUT" text | sed 's/.*\\n//')|$(field "$OUT" result)|$(field "$OUT" owner_enabled)" "the version failure names the source"
expect_gone "$DRIVE/Broken/setup.ini" "the failed install deleted its log"
expect_there "$DRIVE/Broken/main.exe" "what was copied stays"
scenario_end
