#!/usr/bin/env bash
# The install log that the install run writes, byte for byte: one file; folder trees with
# subfolders, skipped and optional entries and example files; an update that adds entries and
# keeps the logged ones.
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
#    the order they were met (subfolders with 0, the tree's top with 4), and "[UninstallDirs]"
#    and "[UninstallRegistry]" stay as they are.
echo new > "$media/new.txt"
mkdir -p "$media/data/added"
echo n > "$media/data/added/n.txt"
echo "a, second edition" > "$media/data/a.txt"
crlf '[InstallFiles]' 'main.txt=0' 'new.txt=8x' '' '[InstallDirs]' 'data=04' > "$media/setup.ini"
rm -rf "$media/Examples"
install_ok "$media" "$dir" update
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$BOX" text)" "update's success text"
expect_lines "$DRIVE/Apps/Prod/setup.ini" "the update adds new entries and keeps the rest" '[UninstallFiles]' \
  "$dir\\main.txt=0" \
  "$dir\\data\\a.txt=4" "$dir\\data\\more\\m.txt=4" "$dir\\data\\sub\\b.txt=4" "$dir\\data\\sub\\deep\\d.txt=4" \
  "$dir\\data\\z.txt=4" "$dir\\docs\\guide.txt=0" \
  "$dir\\Examples=0" "$dir\\Examples\\one.txt=0" "$dir\\Examples\\two.txt=0" \
  "$dir\\setup.ini=0" \
  "$dir\\new.txt=8" "$dir\\data\\added\\n.txt=4" "$dir\\data\\added=0" "$dir\\data\\more=0" \
  "$dir\\data\\sub\\deep=0" "$dir\\data\\sub=0" "$dir\\data=4" '' \
  '[UninstallDirs]' "$dir\\data\\more=4" "$dir\\data\\sub\\deep=4" "$dir\\data\\sub=4" \
  "$dir\\data=04" "$dir\\docs=0x" "$dir=0" '' \
  '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
expect_file "$DRIVE/Apps/Prod/data/a.txt" "a, second edition
" "the update replaces files"

scenario_end
