#!/usr/bin/env bash
# The install log that the install run writes, byte for byte: one file; folder trees with
# subfolders, skipped and optional entries and example files; an update that adds, keeps and
# removes entries; program-folder and desktop shortcuts, fresh and updated.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

dir='C:\Apps\Prod'
mkdir -p "$DRIVE/Apps/Prod"

# 1. One file, no folders: the file, the log itself, the folder and the uninstall key.
media=$WORK/one
mkdir -p "$media"
echo "read me" > "$media/readme.txt"
crlf '[InstallFiles]' 'readme.txt=0' '' '[InstallDirs]' > "$media/setup.ini"
install_ok "$media" "$dir"
expect_eq "Corvantis Vandrel Setup" "$(field "$BOX" caption)" "success box caption"
expect_eq "Corvantis Vandrel has been successfully installed. If Internet Explorer is running it may need to be restarted to make Corvantis Vandrel available from Internet Explorer." \
  "$(field "$BOX" text)" "success box text"
expect_eq 1 "$(field "$OUT" owner_enabled)" "the owner is enabled again"
expect_lines "$DRIVE/Apps/Prod/setup.ini" "log of a single file" '[UninstallFiles]' "$dir\\readme.txt=0" \
  "$dir\\setup.ini=0" '' '[UninstallDirs]' "$dir=0" '' '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
expect_file "$DRIVE/Apps/Prod/readme.txt" "read me
" "the file is copied"

# 2. Trees: files depth first in listing order, inner folders before outer ones, the flags
#    text "04" kept for the folder entry; an entry skipped on the NT family and an optional
#    one whose source is missing leave no line; example files follow the trees.
rm -rf "$DRIVE/Apps/Prod"
mkdir -p "$DRIVE/Apps/Prod"
media=$WORK/trees
mkdir -p "$media/data/sub/deep" "$media/data/more" "$media/docs" "$media/Examples/nested"
echo a > "$media/data/a.txt"
echo b > "$media/data/sub/b.txt"
echo d > "$media/data/sub/deep/d.txt"
echo z > "$media/data/z.txt"
echo m > "$media/data/more/m.txt"
echo guide > "$media/docs/guide.txt"
echo skipped > "$media/nt9x.txt"
echo one > "$media/Examples/one.txt"
echo two > "$media/Examples/two.txt"
echo inner > "$media/Examples/nested/inner.txt"
crlf '[InstallFiles]' 'main.txt=0' 'nt9x.txt=1' 'absent.txt=4' '' \
  '[InstallDirs]' 'data=04' 'gone=4' 'docs=0x' > "$media/setup.ini"
echo main > "$media/main.txt"
install_ok "$media" "$dir" flags=4
expect_lines "$DRIVE/Apps/Prod/setup.ini" "log of trees and example files" '[UninstallFiles]' \
  "$dir\\main.txt=0" \
  "$dir\\data\\a.txt=4" "$dir\\data\\more\\m.txt=4" "$dir\\data\\sub\\b.txt=4" "$dir\\data\\sub\\deep\\d.txt=4" \
  "$dir\\data\\z.txt=4" "$dir\\docs\\guide.txt=0" \
  "$dir\\Examples=0" "$dir\\Examples\\one.txt=0" "$dir\\Examples\\two.txt=0" \
  "$dir\\setup.ini=0" '' \
  '[UninstallDirs]' "$dir\\data\\more=4" "$dir\\data\\sub\\deep=4" "$dir\\data\\sub=4" \
  "$dir\\data=04" "$dir\\docs=0x" "$dir=0" '' \
  '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
expect_there "$DRIVE/Apps/Prod/data/sub/deep/d.txt" "a file two levels down is copied"
expect_gone "$DRIVE/Apps/Prod/nt9x.txt" "the entry for Windows 9x is not copied"
expect_gone "$DRIVE/Apps/Prod/Examples/nested" "a folder among the example files is not copied"

# 3. An update of that installation: files already logged keep their lines; new files and
#    every folder of a copied tree that "[UninstallFiles]" does not list are added there in
#    the order they were met (subfolders with 0, the tree's top with 4); the files that
#    "RemoveOnInstall" names for an installed entry are deleted and leave the log;
#    "[UninstallDirs]" and "[UninstallRegistry]" stay as they are.
echo new > "$media/new.txt"
mkdir -p "$media/data/added"
echo n > "$media/data/added/n.txt"
echo "a, second edition" > "$media/data/a.txt"
rm "$media/data/z.txt"
crlf '[InstallFiles]' 'main.txt=0' 'new.txt=8x' '' '[InstallDirs]' 'data=04' '' \
  '[RemoveOnInstall]' 'new.txt=data\z.txt|docs\guide.txt|never.txt' > "$media/setup.ini"
rm -rf "$media/Examples"
install_ok "$media" "$dir" update
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$BOX" text)" "update's success text"
expect_lines "$DRIVE/Apps/Prod/setup.ini" "the update adds and removes entries and keeps the rest" '[UninstallFiles]' \
  "$dir\\main.txt=0" \
  "$dir\\data\\a.txt=4" "$dir\\data\\more\\m.txt=4" "$dir\\data\\sub\\b.txt=4" "$dir\\data\\sub\\deep\\d.txt=4" \
  "$dir\\Examples=0" "$dir\\Examples\\one.txt=0" "$dir\\Examples\\two.txt=0" \
  "$dir\\setup.ini=0" \
  "$dir\\new.txt=8" "$dir\\data\\added\\n.txt=4" "$dir\\data\\added=0" "$dir\\data\\more=0" \
  "$dir\\data\\sub\\deep=0" "$dir\\data\\sub=0" "$dir\\data=4" '' \
  '[UninstallDirs]' "$dir\\data\\more=4" "$dir\\data\\sub\\deep=4" "$dir\\data\\sub=4" \
  "$dir\\data=04" "$dir\\docs=0x" "$dir=0" '' \
  '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
expect_file "$DRIVE/Apps/Prod/data/a.txt" "a, second edition
" "the update replaces files"
expect_gone "$DRIVE/Apps/Prod/data/z.txt" "a file named by RemoveOnInstall is deleted"
expect_gone "$DRIVE/Apps/Prod/docs/guide.txt" "so is the second one"

# 4. Shortcuts: the program folder, its shortcuts and the desktop shortcut follow the registry
#    section; an update sets the shortcuts it saves to 4 and makes no desktop shortcut.
links=$WORK/links
mkdir -p "$links" "$DRIVE/Apps/Links"
echo main > "$links/main.exe"
echo "read me" > "$links/readme.txt"
crlf '[InstallFiles]' 'main.exe=0' 'readme.txt=0' '' '[InstallShortcuts]' 'main.exe=Vandrel' 'readme.txt=Read Me' '' \
  '[Destination]' 'DesktopShortcut=main.exe' 'DesktopShortcutDescription=Vandrel Desktop' > "$links/setup.ini"
ldir='C:\Apps\Links'
install_ok "$links" "$ldir" flags=2 'folder=Corvantis Vandrel'
programs=$(field "$OUT" programs)
desktop=$(field "$OUT" desktop)
expect_lines "$DRIVE/Apps/Links/setup.ini" "log with program-folder and desktop shortcuts" '[UninstallFiles]' \
  "$ldir\\main.exe=0" "$ldir\\readme.txt=0" "$ldir\\setup.ini=0" '' \
  '[UninstallDirs]' "$ldir=0" '' '[UninstallRegistry]' "$LOG_REGISTRY_LINE" '' \
  '[UninstallShortcuts]' "$programs\\Corvantis Vandrel=0" "$programs\\Corvantis Vandrel\\Vandrel.lnk=0" \
  "$programs\\Corvantis Vandrel\\Read Me.lnk=0" "$desktop\\Vandrel Desktop.lnk=0"
unix_path() { local p=${1#C:}; printf '%s%s' "$DRIVE" "${p//\\//}"; }
expect_there "$(unix_path "$programs")/Corvantis Vandrel/Read Me.lnk" "the program-folder shortcut is made"
expect_there "$(unix_path "$desktop")/Vandrel Desktop.lnk" "the desktop shortcut is made"

rm "$(unix_path "$desktop")/Vandrel Desktop.lnk"
install_ok "$links" "$ldir" update flags=2 'folder=Corvantis Vandrel'
expect_lines "$DRIVE/Apps/Links/setup.ini" "an update's shortcuts are logged with 4" '[UninstallFiles]' \
  "$ldir\\main.exe=0" "$ldir\\readme.txt=0" "$ldir\\setup.ini=0" '' \
  '[UninstallDirs]' "$ldir=0" '' '[UninstallRegistry]' "$LOG_REGISTRY_LINE" '' \
  '[UninstallShortcuts]' "$programs\\Corvantis Vandrel=0" "$programs\\Corvantis Vandrel\\Vandrel.lnk=4" \
  "$programs\\Corvantis Vandrel\\Read Me.lnk=4" "$desktop\\Vandrel Desktop.lnk=0"
expect_gone "$(unix_path "$desktop")/Vandrel Desktop.lnk" "a plain update makes no desktop shortcut"

# 5. No program folder: the section starts with the desktop shortcut's line.
mkdir -p "$DRIVE/Apps/Desk"
install_ok "$links" 'C:\Apps\Desk' flags=2
expect_lines "$DRIVE/Apps/Desk/setup.ini" "log with the desktop shortcut only" '[UninstallFiles]' \
  'C:\Apps\Desk\main.exe=0' 'C:\Apps\Desk\readme.txt=0' 'C:\Apps\Desk\setup.ini=0' '' \
  '[UninstallDirs]' 'C:\Apps\Desk=0' '' '[UninstallRegistry]' "$LOG_REGISTRY_LINE" '' \
  '[UninstallShortcuts]' "$desktop\\Vandrel Desktop.lnk=0"

scenario_end
