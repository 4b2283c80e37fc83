#!/usr/bin/env bash
# Cancel at the disk-space warning, with sizes past 4 GiB: setup ends with no message and exit
# code 1, and the machine is as it was before setup started, the folder that the destination
# page made and the accepted agreement version included; an update over the earlier release
# keeps that release's uninstall entry. The installation goes to drive D:, a small RAM disk,
# so that a run that missed the warning would stop at once rather than fill the host's disk.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"
source "$(dirname "$SCENARIO_LIB")/machine.bash"

small=$WORK/small
mkdir -p "$small"
mount -t tmpfs -o size=64m tmpfs "$small" || fail "cannot mount a RAM disk (root is needed)"
trap 'umount "$small" 2>/dev/null; finish' EXIT
ln -sfn "$small" "$WINEPREFIX/dosdevices/d:"
$WINE reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d hd /f >/dev/null 2>&1

# 4 GiB and 10 MB: summed in 32 bits they would seem to fit in the 64 MB.
media=$WORK/media
make_e2e_media "$media"
truncate -s $(((4 << 30) + (10 << 20))) "$media/data/huge.bin"
touch "$media/install.txt"

# Answers the warning with Cancel; setup must then end by itself with 1.
cancel_warning() {
  local box required
  box=$(ui answer 2 60000)
  expect_eq "Warning" "$(field "$box" caption)" "$1: the disk-space warning"
  required=$(field "$box" text | sed -n 's/.*Space required: \([0-9]*\) KB.*/\1/p')
  [ "${required:-0}" -gt $((4 << 20)) ] && pass "$1: more than 4 GiB required" || fail "$1: required [$required] KB"
  wait_setup
  expect_eq 1 "$SETUP_EXIT" "$1: exit code 1 and no message"
}

# 1. Fresh install into a folder that the destination page makes after asking.
machine_snapshot "$WORK/before" "$small"
start_setup_in "$media"
wait_sheet "Welcome to Vandrel"
press next "Licence"
ui check "$(current_page)" 102 1
wait_for "11 11 00" "agreement accepted" wizard_buttons >/dev/null
press next "Choose Destination Location"
ui set-text "$(current_page)" 104 'D:\Vandrel\App'
ui sheet "$SHEET" next
ui answer 6 20000 >/dev/null || fail "no question before the folder is made"
wait_for "Select Program Folder" "the folder is made" caption
press next "File Types"
ui sheet "$SHEET" finish
cancel_warning "fresh install"
expect_machine_as "$WORK/before" "the machine is as before, without the made folder" "$small"

# 2. An update over the earlier release: its entry and its log stay, the agreement the update
#    sheet stored goes back to the version accepted before.
mkdir -p "$small/Old"
earlier='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quernell Vandrel (64-bit)'
$WINE reg add "$earlier" /v UninstallString /d 'D:\Old\setup.exe' /f >/dev/null 2>&1
$WINE reg add 'HKLM\Software\Corvantis Vandrel' /v EULAVersion /d 2 /f >/dev/null 2>&1
crlf '[UninstallFiles]' 'D:\Old\old.exe=2' '' '[UninstallDirs]' 'D:\Old=0' > "$small/Old/setup.ini"
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
