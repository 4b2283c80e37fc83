#!/usr/bin/env bash
# A fresh install that fails part-way through the copy is taken back: the removal reads what
# the run recorded up to the failure, so the machine ends as it was before setup started. A
# required folder tree missing from the media stops the run before anything is copied.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"
source "$(dirname "$SCENARIO_LIB")/machine.bash"

# Files, a file in a folder the run makes, two trees; the second tree's file is held open by
# another program once the main program has started, after the size step has read it.
media=$WORK/media
make_e2e_media "$media"
mkdir -p "$media/bin" "$media/more"
echo tool > "$media/bin/tool.txt"
echo z > "$media/more/z.txt"
crlf '[Setup]' 'EULAVersion=3' '' '[Welcome]' 'Title=Welcome to Vandrel' '' \
  '[License]' 'Show=1' 'Wizard=1' 'Title=Licence' '' \
  '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' 'bin\tool.txt=0' '' \
  '[InstallDirs]' 'data=0' 'more=0' '' \
  '[InstallShortcuts]' 'vandrel.exe=Corvantis Vandrel' > "$media/setup.ini"
mkdir -p "$INSTALL_DIR_UNIX"
echo mine > "$INSTALL_DIR_UNIX/notes.txt"
echo 5000 > "$INSTALL_DIR_UNIX/vandrel.exe.sleep"
machine_snapshot "$WORK/before"

start_setup_in "$media"
walk_install_wizard
for i in $(seq 1 200); do grep -qs '/RegServer' "$WORK/calls.log" && break; sleep 0.1; done
$WINE "$BUILD_DIR/tests/product_program.exe" lock "$(windows_path "$media")\\more\\z.txt" 60 &
locker=$!
wait_for_file "$media/more/z.txt.locked" 20 || fail "the tree's file could not be locked"
box=$(ui answer 1 60000)
expect_contains "$(field "$box" text)" 'Setup cannot install Corvantis Vandrel because of an error.' "the failure is reported"
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "then the run is taken back"
wait_setup
expect_eq 0 "$SETUP_EXIT" "exit code 0"
kill $locker 2>/dev/null
expect_contains "$(tr -d '\r' < "$WORK/calls.log")" "\"$INSTALL_DIR\\vandrel.exe\" /UnregAll" \
  "the main program that was copied unregisters"
expect_machine_as "$WORK/before" "the machine is as before setup started"

# A required tree that is missing stops the run in the size step, naming it, as a missing
# file does.
missing=$WORK/missing
mkdir -p "$missing" "$DRIVE/Missing"
echo first > "$missing/first.txt"
crlf '[InstallFiles]' 'first.txt=0' '' '[InstallDirs]' 'absent=0' > "$missing/setup.ini"
start_install "$missing" 'C:\Missing'
end_install
expect_eq 3 "$(field "$OUT" code)" "a missing tree stops the run"
expect_contains "$(field "$OUT" text)" "Unable to open file ($(windows_path "$missing")\\absent)" "the message names the tree"
expect_gone "$DRIVE/Missing/first.txt" "nothing is copied"
expect_gone "$DRIVE/Missing/absent" "no empty folder is made"

scenario_end
