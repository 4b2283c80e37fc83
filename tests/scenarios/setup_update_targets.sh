#!/usr/bin/env bash
# An install whose license.txt cannot be read records no EULAVersion. Its updates replace a
# hidden, system and read-only file at once, without a restart, and stage the main program
# held open beside itself in the installation folder, so that the move at restart stays on
# its volume; a new session puts the program in place and leaves no staged copy.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

media=$WORK/media
make_e2e_media "$media"
mkdir -p "$INSTALL_DIR_UNIX"

hold_open() {  # unix-path: another program holds it without sharing until LOCKER is killed
  rm -f "$1.locked"
  $WINE "$BUILD_DIR/tests/product_program.exe" lock "$(windows_path "$1")" 120 &
  LOCKER=$!
  wait_for_file "$1.locked" 20 || fail "$1 could not be held open"
  rm -f "$1.locked"
}

# The letters that attrib shows for a file ("ASHR", "A"); Update on the media's choice page.
attributes() { $WINE cmd /c attrib "$1" 2>/dev/null | tr -d '\r' | cut -c1-8 | tr -d ' '; }
start_update() { start_setup_in "$media"; wait_sheet "Welcome"; ui click "$(current_page)" 105; }

# 1. The agreement page cannot read license.txt: it says so and shows no text, and a checked
#    box under no text accepts nothing.
hold_open "$media/license.txt"
start_setup_in "$media"
wait_sheet "Welcome to Vandrel"
ui sheet "$SHEET" next
ui answer 1 20000 >/dev/null || fail "no message about the unreadable license.txt"
wait_for "Licence" "the agreement page opens all the same" caption
ui check "$(current_page)" 102 1
for page in "Choose Destination Location" "Select Program Folder" "File Types"; do press next "$page"; done
ui sheet "$SHEET" finish
ui answer 1 60000 >/dev/null || fail "no message after the install"
wait_setup
expect_eq "(none)" "$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" "no EULAVersion without the agreement"
kill $LOCKER
touch "$media/install.txt"

# 2. A hidden, system and read-only target: replaced at once, with the copy's attributes. The
#    update shows the agreement that was never accepted, and records it this time.
hidden="$INSTALL_DIR\\data\\a.txt"
for flag in +h +s +r; do $WINE cmd /c attrib $flag "$hidden" >/dev/null 2>&1; done
expect_eq "ASHR" "$(attributes "$hidden")" "the target is hidden, system and read-only"
echo "release 2" > "$media/data/a.txt"
start_update
wait_sheet "Licence"
ui check "$(current_page)" 102 1
ui sheet "$SHEET" finish
box=$(ui answer 1 60000)
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$box" text)" "no restart is asked for"
wait_setup
expect_eq "release 2" "$(tr -d '\r' < "$INSTALL_DIR_UNIX/data/a.txt")" "the hidden file is replaced"
expect_eq "A" "$(attributes "$hidden")" "the new file carries the archive attribute only"
expect_eq 3 "$(registry_value 'Software\Corvantis Vandrel' EULAVersion)" "the accepted agreement is recorded"

# 3. The main program held open: staged in the installation folder, the restart put off.
printf 'release 2' >> "$media/vandrel.exe"
hold_open "$INSTALL_DIR_UNIX/vandrel.exe"
start_update
box=$(ui answer 7 60000)
expect_eq "Windows must be restarted to complete the update. Do you want to restart Windows now?" \
  "$(field "$box" text)" "the update asks to restart"
ui answer 1 30000 >/dev/null || fail "no put-off note"
wait_setup
staged=($(ls "$INSTALL_DIR_UNIX" | grep -i '^vds.*\.tmp$'))
expect_eq 1 "${#staged[@]}" "one staged copy beside the main program"
cmp -s "$media/vandrel.exe" "$INSTALL_DIR_UNIX/${staged[0]:-none}" && pass "the staged copy is the new program" \
  || fail "the staged copy is not the new program"
pending=$($WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations)
expect_contains "$pending" "$INSTALL_DIR\\${staged[0]:-none}" "the rename's source is in the installation folder"

# The restart: the holder ends with the session; a new session applies the pending renames.
kill $LOCKER
wineserver -k >/dev/null 2>&1
$WINE wineboot -r >/dev/null 2>&1
wineserver -w
cmp -s "$media/vandrel.exe" "$INSTALL_DIR_UNIX/vandrel.exe" && pass "the new program is in place after the restart" \
  || fail "the old program is still in place after the restart"
expect_eq 0 "$(ls "$INSTALL_DIR_UNIX" | grep -ci '^vds.*\.tmp$')" "no staged copy is left"

scenario_end
