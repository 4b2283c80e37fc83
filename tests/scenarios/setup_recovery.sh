#!/usr/bin/env bash
# Runs that end without the product and leave the machine as it was: a fresh install that fails
# part-way through the copy is taken back by the removal of what it recorded; Cancel at the
# disk-space warning, with sizes past 4 GiB, after the destination page made its folder, and in
# an update over the earlier release (whose entry, log and accepted agreement stay). Those go to
# D:, a small RAM disk, so that a run that missed the warning stops at once, not filling the host.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
small=$WORK/small
mkdir -p "$small"
mount -t tmpfs -o size=64m tmpfs "$small" || fail "cannot mount a RAM disk (root is needed)"
trap 'umount "$small" 2>/dev/null; finish' EXIT
ln -sfn "$small" "$WINEPREFIX/dosdevices/d:"
$WINE reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d hd /f >/dev/null 2>&1
# 1. Files, one in a folder the run makes, two trees; the second tree's file is held open by
#    another program once the main program has started, after the size step has read it.
media=$WORK/media
make_e2e_media "$media"
mkdir -p "$media/bin" "$media/more"
echo tool > "$media/bin/tool.txt" && echo z > "$media/more/z.txt"
perl -0pi -e 's/readme\.txt=4/bin\\tool.txt=0/; s/data=0/data=0\r\nmore=0/' "$media/setup.ini"
mkdir -p "$INSTALL_DIR_UNIX"
echo mine > "$INSTALL_DIR_UNIX/notes.txt"
echo 5000 > "$INSTALL_DIR_UNIX/vandrel.exe.sleep"
machine_snapshot "$WORK/before" "$small"
start_setup_in "$media"
walk_install_wizard
for i in $(seq 1 200); do grep -qs '/RegServer' "$WORK/calls.log" && break; sleep 0.1; done
lock_file "$media/more/z.txt"
expect_eq 'Setup cannot install Corvantis Vandrel because of an error. Setup will now exit.\nThe error was:\nUnknown error (32)' "$(box_text 1 60000)" \
  "the failure, a file in use, is reported in one box"
expect_eq "Corvantis Vandrel has been successfully removed." "$(box_text 1 60000)" "then the run is taken back"
wait_setup
kill "${LOCKERS[@]}"
expect_eq 0 "$SETUP_EXIT" "a removal without failure after a failed install ends with 0"
expect_contains "$(calls)" "\"$INSTALL_DIR\\vandrel.exe\" /UnregAll" "the main program that was copied unregisters"
expect_machine_as "$WORK/before" "the machine is as before setup started" "$small"
# 2. 4 GiB and 10 MB, which summed in 32 bits would seem to fit in the 64 MB. Cancel at the
#    warning ends setup with 1 and no message.
truncate -s $(((4 << 30) + (10 << 20))) "$media/data/huge.bin"
cancel_warning() {  # what
  local box required
  box=$(ui answer 2 60000)
  required=$(field "$box" text | sed -n 's/.*Space required: \([0-9]*\) KB.*/\1/p')
  expect_eq "Warning|more" "$(field "$box" caption)|$([ "${required:-0}" -gt $((4 << 20)) ] && echo more)" "$1: the disk-space warning, more than 4 GiB required"
  wait_setup
  expect_eq 1 "$SETUP_EXIT" "$1: exit code 1 and no message"
}
machine_snapshot "$WORK/before" "$small"
start_setup_in "$media"
wait_sheet "Welcome to Vandrel"
press next "Licence"
ui check "$(current_page)" 102 1
wait_for "11 11 00" "agreement accepted" wizard_buttons >/dev/null
press next "Choose Destination Location"
ui set-text "$(current_page)" 104 'D:\Vandrel\App'
ui sheet "$SHEET" next
answer 6 20000
wait_for "Select Program Folder" "Yes makes the folder and moves on" caption
press next "File Types"
ui sheet "$SHEET" finish
cancel_warning "fresh install"
expect_machine_as "$WORK/before" "the machine is as before, without the made folder and the agreement" "$small"
# 3. An update over the earlier release: its entry and its log stay, and the agreement goes back
#    to the version accepted before.
mkdir -p "$small/Old"
$WINE reg add "$EARLIER_KEY" /v UninstallString /d 'D:\Old\setup.exe' /f >/dev/null 2>&1
set_registry_value 'Software\Corvantis Vandrel' EULAVersion 2
crlf '[UninstallFiles]' 'D:\Old\old.exe=2' '' '[UninstallDirs]' 'D:\Old=0' > "$small/Old/setup.ini"
touch "$media/install.txt"
machine_snapshot "$WORK/before" "$small"
start_setup_in "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 105
wait_sheet "Licence"
ui check "$(current_page)" 102 1
ui sheet "$SHEET" finish
cancel_warning "earlier release's update"
expect_machine_as "$WORK/before" "the update left the machine as before" "$small"
scenario_end
