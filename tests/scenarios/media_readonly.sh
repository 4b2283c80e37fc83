#!/usr/bin/env bash
# Installation media on a read-only mount: a fresh install (with a file in a folder of its
# own, which its log lists before the installation folder) and updates work, since nothing is
# written beside setup.exe. An update's new example files, and the program folder that an
# update over the earlier release makes, are logged, so that removal leaves nothing behind.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

mounts=()
# Wine's processes may still hold the media as their current folder: they end first.
trap 'wineserver -k; wineserver -w; for m in "${mounts[@]}"; do umount "$m" || umount -l "$m"; done; finish' EXIT

# Media of one release, seen through a read-only bind mount.
readonly_media() {  # name [extra example file]
  local source=$WORK/$1-source
  make_e2e_media "$source"
  [ $# -gt 1 ] && echo more > "$source/Examples/$2"
  mkdir -p "$source/bin"
  echo tool > "$source/bin/tool.txt"
  perl -0pi -e 's/filters\.dll=8\r\n/$&bin\\tool.txt=0\r\n/' "$source/setup.ini"
  touch "$source/install.txt"
  mkdir -p "$WORK/$1"
  mount --bind "$source" "$WORK/$1" && mount -o remount,bind,ro "$WORK/$1" \
    || fail "cannot mount the media read-only (root is needed)"
  mounts+=("$WORK/$1")
}
readonly_media v1
readonly_media v2 second.txt
touch "$WORK/v1/written" 2>/dev/null && fail "the media can be written"

# Answers setup's last box with OK and waits for its end.
end_with_box() {  # expected-text exit-code what
  local box
  box=$(ui answer 1 60000)
  wait_setup
  expect_eq "$1" "$(field "$box" text)" "$3"
  expect_eq "$2" "$SETUP_EXIT" "$3: exit code"
}

# Nothing of the product is left on the machine.
expect_no_trace() {  # what
  local left
  left=$(find "$WINEPREFIX/drive_c" -path '*Corvantis Vandrel*' | head -5)
  [ -z "$left" ] && pass "$1" || fail "$1: left [$left]"
  reg_exists "$UNINSTALL_KEY" && fail "$1: the uninstall entry is left" || pass "$1: no uninstall entry"
}

choose() {  # media button-id (105 Update, 106 Remove)
  start_setup_in "$1"
  wait_sheet "Welcome"
  ui click "$(current_page)" "$2"
}

# 1. A fresh install from read-only media.
mkdir -p "$INSTALL_DIR_UNIX"
start_setup_in "$WORK/v1"
walk_install_wizard
end_with_box "Corvantis Vandrel has been successfully installed. If Internet Explorer is running it may need to be restarted to make Corvantis Vandrel available from Internet Explorer." 0 "installed from read-only media"
expect_eq tool "$(cat "$INSTALL_DIR_UNIX/bin/tool.txt" 2>/dev/null)" "a nested file gets its folder"
dirs=$(tr -d '\r' < "$INSTALL_DIR_UNIX/setup.ini" | sed -n '/^\[UninstallDirs\]/,/^$/p' | tail -3 | head -2)
expect_eq "$INSTALL_DIR\\bin=0"$'\n'"$INSTALL_DIR=0" "$dirs" "the made folder is logged before the installation folder"

# 2. An update from read-only media with one more example file, then removal: nothing stays.
choose "$WORK/v2" 105
end_with_box "Corvantis Vandrel has been successfully updated." 0 "updated from read-only media"
expect_there "$INSTALL_DIR_UNIX/Examples/second.txt" "the new example file is copied"
choose "$WORK/v2" 106
end_with_box "Corvantis Vandrel has been successfully removed." 2 "removed after the update"
expect_no_trace "the update's removal leaves nothing"

# 3. An update over the earlier release makes the program folder under the new title; the
#    removal that follows takes it away too.
$WINE reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quernell Vandrel (64-bit)' \
  /v UninstallString /d "$INSTALL_DIR\\setup.exe" /f >/dev/null 2>&1
mkdir -p "$INSTALL_DIR_UNIX"
crlf '[UninstallFiles]' "$INSTALL_DIR\\old.exe=2" "$INSTALL_DIR\\setup.ini=0" '' '[UninstallDirs]' "$INSTALL_DIR=0" \
  > "$INSTALL_DIR_UNIX/setup.ini"
choose "$WORK/v2" 105
wait_sheet "Licence"
ui check "$(current_page)" 102 1
ui sheet "$SHEET" finish
end_with_box "Corvantis Vandrel has been successfully updated." 0 "the earlier release updated"
[ -n "$(find "$WINEPREFIX/drive_c" -type d -name 'Corvantis Vandrel (64-bit)')" ] \
  && pass "the program folder is made under the new title" || fail "no program folder under the new title"
choose "$WORK/v2" 106
end_with_box "Corvantis Vandrel has been successfully removed." 2 "removed after the earlier release's update"
expect_no_trace "the earlier release's update leaves nothing either"

scenario_end
