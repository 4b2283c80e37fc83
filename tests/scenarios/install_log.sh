#!/usr/bin/env bash
# The install run's log, byte for byte: folder trees, skipped and optional entries, example files;
# an update that adds, keeps and removes entries; targets in use, replaced at restart; shortcut names.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
# 1. Trees: files depth first, inner folders before outer ones, the flags text "04" kept; an entry
#    skipped on NT and a missing optional one leave no line; examples follow, their folder logged
#    only when the run made it.
dir='C:\Apps\Prod'
mkdir -p "$DRIVE/Apps/Prod/Examples"
media=$WORK/trees
mkdir -p "$media/data/sub/deep" "$media/data/more" "$media/docs" "$media/Examples/nested"
for f in data/a.txt data/sub/b.txt data/sub/deep/d.txt data/z.txt data/more/m.txt docs/guide.txt nt9x.txt main.txt \
  Examples/one.txt Examples/two.txt Examples/nested/inner.txt; do echo "$f" > "$media/$f"; done
crlf '[InstallFiles]' 'main.txt=0' 'nt9x.txt=1' 'absent.txt=4' '' '[InstallDirs]' 'data=04' 'gone=4' 'docs=0x' > "$media/setup.ini"
install_ok "$media" "$dir" flags=4
expect_eq "Corvantis Vandrel has been successfully installed. If Internet Explorer is running it may need to be restarted to make Corvantis Vandrel available from Internet Explorer.|Corvantis Vandrel Setup|Static|1" \
  "$(field "$BOX" text)|$(field "$BOX" caption)|$(field "$BOX" owner_class)|$(field "$OUT" owner_enabled)" \
  "the success box, owned by the main window, which is enabled again"
expect_lines "$DRIVE/Apps/Prod/setup.ini" "log of trees and example files" '[UninstallFiles]' "$dir\\main.txt=0" \
  "$dir\\data\\a.txt=4" "$dir\\data\\more\\m.txt=4" "$dir\\data\\sub\\b.txt=4" "$dir\\data\\sub\\deep\\d.txt=4" \
  "$dir\\data\\z.txt=4" "$dir\\docs\\guide.txt=0" "$dir\\Examples\\one.txt=0" "$dir\\Examples\\two.txt=0" "$dir\\setup.ini=0" '' \
  '[UninstallDirs]' "$dir\\data\\more=4" "$dir\\data\\sub\\deep=4" "$dir\\data\\sub=4" "$dir\\data=04" "$dir\\docs=0x" "$dir=0" '' \
  '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
expect_eq "data/sub/deep/d.txt|gone|gone|DisplayName=REG_SZ Corvantis Vandrel (64-bit)
UninstallString=REG_SZ $dir\\setup.exe" "$(cat "$DRIVE/Apps/Prod/data/sub/deep/d.txt")|$(exists "$DRIVE/Apps/Prod/nt9x.txt")|$(exists "$DRIVE/Apps/Prod/Examples/nested")|$(reg_values "$UNINSTALL_KEY")" \
  "a file two levels down copied, not the 9x entry nor a folder among the examples; without a main program the entry holds two values"
# 2. An update: logged files keep their lines; new files and unlisted folders of a copied tree are
#    added in the order met (subfolders 0, the top 4); RemoveOnInstall's files go, with their lines.
echo new > "$media/new.txt"
mkdir -p "$media/data/added"
echo n > "$media/data/added/n.txt"
echo "a, second edition" > "$media/data/a.txt"
rm -r "$media/data/z.txt" "$media/Examples"
crlf '[InstallFiles]' 'main.txt=0' 'new.txt=8x' '' '[InstallDirs]' 'data=04' '' \
  '[RemoveOnInstall]' 'new.txt=data\z.txt|docs\guide.txt|never.txt' > "$media/setup.ini"
install_ok "$media" "$dir" update
expect_eq "Corvantis Vandrel has been successfully updated." "$(field "$BOX" text)" "the update's success text"
expect_lines "$DRIVE/Apps/Prod/setup.ini" "the update adds and removes entries and keeps the rest" '[UninstallFiles]' \
  "$dir\\main.txt=0" "$dir\\data\\a.txt=4" "$dir\\data\\more\\m.txt=4" "$dir\\data\\sub\\b.txt=4" "$dir\\data\\sub\\deep\\d.txt=4" \
  "$dir\\Examples\\one.txt=0" "$dir\\Examples\\two.txt=0" "$dir\\setup.ini=0" "$dir\\new.txt=8" "$dir\\data\\added\\n.txt=4" \
  "$dir\\data\\added=0" "$dir\\data\\more=0" "$dir\\data\\sub\\deep=0" "$dir\\data\\sub=0" "$dir\\data=4" '' \
  '[UninstallDirs]' "$dir\\data\\more=4" "$dir\\data\\sub\\deep=4" "$dir\\data\\sub=4" "$dir\\data=04" "$dir\\docs=0x" "$dir=0" '' \
  '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
expect_eq "a, second edition|gone|gone" "$(cat "$DRIVE/Apps/Prod/data/a.txt")|$(exists "$DRIVE/Apps/Prod/data/z.txt")|$(exists "$DRIVE/Apps/Prod/docs/guide.txt")" \
  "the update replaces files and deletes those that RemoveOnInstall names"
# 3. Targets held open are replaced at restart and logged like the others; No to the restart
#    question gives the mode's put-off text.
dir='C:\Busy'
media=$WORK/busy
mkdir -p "$media/tree" "$DRIVE/Busy/tree"
for f in busy.txt free.txt tree/inner.txt; do echo "new $f" > "$media/$f"; echo "old $f" > "$DRIVE/Busy/$f"; done
crlf '[InstallFiles]' 'busy.txt=0' 'free.txt=0' '' '[InstallDirs]' 'tree=0' > "$media/setup.ini"
for f in busy.txt tree/inner.txt; do lock_file "$DRIVE/Busy/$f"; done
for mode in installation update; do
  start_install "$media" "$dir" $([ $mode == update ] && echo update)
  expect_eq "Windows must be restarted to complete the $mode. Do you want to restart Windows now?" "$(box_text 7)" "the $mode's restart question"
  expect_eq "You have chosen to end setup without restarting Windows. The $mode will be completed next time Windows is restarted." \
    "$(box_text 1)" "the $mode's put-off text"
  end_install
  expect_eq "0 0" "$(field "$OUT" result) $(field "$OUT" code)" "No answers 0, and a file in use is no failure"
done
expect_eq "old busy.txt|new free.txt" "$(cat "$DRIVE/Busy/busy.txt")|$(cat "$DRIVE/Busy/free.txt")" "the busy file waits, the free one is copied"
for f in 'Busy\busy.txt' 'Busy\tree\inner.txt'; do expect_contains "$(pending_renames)" "$f" "$f is replaced at restart"; done
expect_lines "$DRIVE/Busy/setup.ini" "the busy files are logged like the others" '[UninstallFiles]' \
  "$dir\\busy.txt=0" "$dir\\free.txt=0" "$dir\\tree\\inner.txt=0" "$dir\\setup.ini=0" "$dir\\tree=4" '' \
  '[UninstallDirs]' "$dir\\tree=0" "$dir=0" '' '[UninstallRegistry]' "$LOG_REGISTRY_LINE"
kill "${LOCKERS[@]}" 2>/dev/null
# 4. Shortcut names: one too long for its folder is cut so that the whole path fits; the desktop
#    shortcut without a target points at the installation folder, and an empty description is
#    the name as it stands (only a missing one falls back to the target's name).
media=$WORK/names
mkdir -p "$media" "$DRIVE/Apps/Long" "$DRIVE/Apps/Empty"
echo main > "$media/main.exe"
folder=$(printf 'Vandrel Tools %.0s' {1..9})Vandrel name=$(printf 'Corvantis Vandrel %.0s' {1..8})Corvantis
unix_path() { local p=${1#C:}; printf '%s%s' "$DRIVE" "${p//\\//}"; }
shortcuts() { sed -n '/^\[UninstallShortcuts\]/,$p' "$1" | tr -d '\r'; }
crlf '[InstallFiles]' 'main.exe=0' '' '[InstallShortcuts]' "main.exe=$name" > "$media/setup.ini"
install_ok "$media" 'C:\Apps\Long' flags=2 "folder=$folder"
desktop=$(field "$OUT" desktop) group="$(field "$OUT" programs)\\$folder"
cut=${name:0:$((259 - ${#group} - 5))}
expect_eq "[UninstallShortcuts]
$group=0
$group\\$cut.lnk=0
$desktop\\.lnk=0|there" "$(shortcuts "$DRIVE/Apps/Long/setup.ini")|$(exists "$(unix_path "$group")/$cut.lnk")" "the long name cut to fit; the desktop shortcut without a target"
grep -aq 'C:\\Apps\\Long' "$(unix_path "$desktop")/.lnk" && pass "it points at the installation folder" || fail "the desktop shortcut does not point at the installation folder"
rm -f "$(unix_path "$desktop")/.lnk"
crlf '[InstallFiles]' 'main.exe=0' '' '[Destination]' 'DesktopShortcut=main.exe' 'DesktopShortcutDescription=' > "$media/setup.ini"
install_ok "$media" 'C:\Apps\Empty' flags=2
expect_eq "[UninstallShortcuts]
$desktop\\.lnk=0|gone" "$(shortcuts "$DRIVE/Apps/Empty/setup.ini")|$(exists "$(unix_path "$desktop")/main.exe.lnk")" "an empty description is not replaced by the target's name"
scenario_end
