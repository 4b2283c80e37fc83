#!/usr/bin/env bash
# An installation for all users, with example files, shortcuts and registered components,
# taken away again by the removal run with the log that the install wrote leaves the
# machine's files and registry as they were before, but for the setup's own key
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
crlf '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' '' '[InstallDirs]' 'data=0' '' \
  '[InstallShortcuts]' 'vandrel.exe=Corvantis Vandrel' 'data\a.txt=Notes' '' \
  '[Destination]' 'DesktopShortcut=vandrel.exe' > "$media/setup.ini"

# Files with their sizes, and the registry's machine and user software keys.
snapshot() {  # name
  (cd "$DRIVE" && find . -printf '%p %s\n' | sort) > "$WORK/$1.files"
  $WINE reg export 'HKLM\Software' "$(windows_path "$WORK/$1.machine")" /y >/dev/null 2>&1
  $WINE reg export 'HKCU\Software' "$(windows_path "$WORK/$1.user")" /y >/dev/null 2>&1
}

snapshot before
# The destination page of the wizard creates the installation folder.
mkdir -p "$DRIVE/Vandrel"
install_ok "$media" 'C:\Vandrel' flags=7 'folder=Corvantis Vandrel'
expect_there "$DRIVE/Vandrel/data/sub/b.txt" "the installation is in place"
expect_there "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvantis Vandrel/Notes.lnk" \
  "the shortcuts are in place"

$WINE "$BUILD_DIR/tests/removal_runner.exe" 'C:\Vandrel\setup.ini' > "$WORK/removal.out" 2>&1 &
removal=$!
box=$(ui answer 1 30000)
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "the removal ends with success"
wait $removal
expect_eq 0 "$(field "$(tr -d '\r' < "$WORK/removal.out")" code)" "the removal succeeds"

expect_eq '"C:\Vandrel\vandrel.exe" /RegServer /filetypes all
DllRegisterServer C:\Vandrel\filters.dll
"C:\Vandrel\vandrel.exe" /UnregAll
DllUnregisterServer C:\Vandrel\filters.dll' \
  "$(tr -d '\r' < "$WORK/calls.log")" "the main program and the component were registered, then unregistered"

snapshot after
expect_eq "" "$(diff "$WORK/before.files" "$WORK/after.files")" "the files are as before"
# reg export writes UTF-16. Wine's own settings (Software\Wine) change as Wine likes.
registry_text() {  # file
  iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r' | grep -v '^$' |
    awk '/^\[/ { wine = index($0, "\\Software\\Wine\\") || substr($0, length($0) - 14) == "\\Software\\Wine]" } !wine'
}
registry_diff() {  # name
  diff <(registry_text "$WORK/before.$1") <(registry_text "$WORK/after.$1") | grep '^[<>]'
}
expect_eq "" "$(registry_diff user)" "the user's registry is as before"
expect_eq '> [HKEY_LOCAL_MACHINE\Software\Quernell]
> [HKEY_LOCAL_MACHINE\Software\Quernell\Vandrel Setup]
> [HKEY_LOCAL_MACHINE\Software\Quernell\Vandrel Setup\1.0]
> "Program Folder"="Corvantis Vandrel"' \
  "$(registry_diff machine)" \
  "the machine's registry is as before but for the setup's own key"

scenario_end
