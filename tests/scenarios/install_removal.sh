#!/usr/bin/env bash
# An installation taken away again by the removal run with the log that the install wrote
# leaves the machine's files and registry as they were before, but for the setup's own key
# with the program folder, which is kept for the next installation.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

# The stand-ins of the product's programs note their calls outside the prefix.
export PRODUCT_CALLS_LOG
PRODUCT_CALLS_LOG=$(windows_path "$WORK/calls.log")

media=$WORK/media
mkdir -p "$media/data/sub" "$media/Examples"
cp "$SETUP_EXE" "$media/setup.exe"
cp "$BUILD_DIR/tests/product_main.exe" "$media/vandrel.exe"
cp "$BUILD_DIR/tests/product_library.dll" "$media/filters.dll"
echo a > "$media/data/a.txt"
echo b > "$media/data/sub/b.txt"
echo example > "$media/Examples/first.txt"
crlf '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' '' '[InstallDirs]' 'data=0' \
  > "$media/setup.ini"

# Files with their sizes, and the registry's machine and user software keys.
snapshot() {  # name
  (cd "$DRIVE" && find . -printf '%p %s\n' | sort) > "$WORK/$1.files"
  $WINE reg export 'HKLM\Software' "$(windows_path "$WORK/$1.machine")" /y >/dev/null 2>&1
  $WINE reg export 'HKCU\Software' "$(windows_path "$WORK/$1.user")" /y >/dev/null 2>&1
}

snapshot before
# The destination page of the wizard creates the installation folder.
mkdir -p "$DRIVE/Vandrel"
install_ok "$media" 'C:\Vandrel' flags=4 'folder=Corvantis Vandrel'
expect_there "$DRIVE/Vandrel/data/sub/b.txt" "the installation is in place"

$WINE "$BUILD_DIR/tests/removal_runner.exe" 'C:\Vandrel\setup.ini' > "$WORK/removal.out" 2>&1 &
removal=$!
box=$(ui answer 1 30000)
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "the removal ends with success"
wait $removal
expect_eq 0 "$(field "$(tr -d '\r' < "$WORK/removal.out")" code)" "the removal succeeds"

expect_eq '"C:\Vandrel\vandrel.exe" /RegServer /filetypes all
"C:\Vandrel\vandrel.exe" /UnregAll' \
  "$(tr -d '\r' < "$WORK/calls.log" | grep -v DllRegisterServer | grep -v DllUnregisterServer)" \
  "the main program registered itself and was unregistered"

snapshot after
expect_eq "" "$(diff "$WORK/before.files" "$WORK/after.files")" "the files are as before"
expect_eq "" "$(diff "$WORK/before.user" "$WORK/after.user")" "the user's registry is as before"
expect_eq '> [HKEY_LOCAL_MACHINE\Software\Quernell]
> [HKEY_LOCAL_MACHINE\Software\Quernell\Vandrel Setup]
> [HKEY_LOCAL_MACHINE\Software\Quernell\Vandrel Setup\1.0]
> "Program Folder"="Corvantis Vandrel"' \
  "$(diff <(iconv -f UTF-16LE -t UTF-8 "$WORK/before.machine" | tr -d '\r' | grep -v '^$') \
         <(iconv -f UTF-16LE -t UTF-8 "$WORK/after.machine" | tr -d '\r' | grep -v '^$') | grep '^[<>]')" \
  "the machine's registry is as before but for the setup's own key"

scenario_end
