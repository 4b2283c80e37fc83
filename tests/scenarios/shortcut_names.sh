#!/usr/bin/env bash
# How the install run names its shortcuts: a name too long for its folder is cut so that the
# whole path fits; the desktop shortcut without a target points at the installation folder;
# an empty DesktopShortcutDescription is the name as it stands, only a missing one falls back
# to the target's name.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
unix_path() { local p=${1#C:}; printf '%s%s' "$DRIVE" "${p//\\//}"; }
shortcut_lines() { sed -n '/^\[UninstallShortcuts\]/,$p' "$1" | tr -d '\r'; }

media=$WORK/media
mkdir -p "$media" "$DRIVE/Apps/Long" "$DRIVE/Apps/Empty"
echo main > "$media/main.exe"
folder=$(printf 'Vandrel Tools %.0s' {1..9})Vandrel
name=$(printf 'Corvantis Vandrel %.0s' {1..8})Corvantis
crlf '[InstallFiles]' 'main.exe=0' '' '[InstallShortcuts]' "main.exe=$name" > "$media/setup.ini"
install_ok "$media" 'C:\Apps\Long' flags=2 "folder=$folder"
programs=$(field "$OUT" programs)
desktop=$(field "$OUT" desktop)
group="$programs\\$folder"
cut=${name:0:$((259 - ${#group} - 5))}
expect_eq "[UninstallShortcuts]
$group=0
$group\\$cut.lnk=0
$desktop\\.lnk=0" "$(shortcut_lines "$DRIVE/Apps/Long/setup.ini")" "the long name is cut to fit; the desktop shortcut without a target is logged"
expect_there "$(unix_path "$group")/$cut.lnk" "the cut shortcut is made"
if grep -aq 'C:\\Apps\\Long' "$(unix_path "$desktop")/.lnk"; then pass "it points at the installation folder"
else fail "the desktop shortcut does not point at the installation folder"; fi

rm -f "$(unix_path "$desktop")/.lnk"
crlf '[InstallFiles]' 'main.exe=0' '' '[Destination]' 'DesktopShortcut=main.exe' 'DesktopShortcutDescription=' \
  > "$media/setup.ini"
install_ok "$media" 'C:\Apps\Empty' flags=2
expect_eq "[UninstallShortcuts]
$desktop\\.lnk=0" "$(shortcut_lines "$DRIVE/Apps/Empty/setup.ini")" "an empty description is not replaced by the target's name"
expect_gone "$(unix_path "$desktop")/main.exe.lnk" "no shortcut named after the target"

scenario_end
