#!/usr/bin/env bash
# The removal run on real files, registry and shortcuts, read from an install log: what is
# listed goes, in the right order, and what is not listed stays.
source "$SCENARIO_LIB"

runner=$BUILD_DIR/tests/removal_runner.exe
drive=$WINEPREFIX/drive_c
inst=$drive/Program\ Files/Corvantis\ Vandrel
win='C:\Program Files\Corvantis Vandrel'
menu=$drive/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Corvantis\ Vandrel
winmenu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Corvantis Vandrel'

mkdir -p "$inst/docs/deep" "$inst/keep" "$menu"
cp "$BUILD_DIR/tests/product_program.exe" "$inst/main.exe"
cp "$BUILD_DIR/tests/product_library.dll" "$inst/comp.dll"
echo 1500 > "$inst/main.exe.sleep"
echo "read me" > "$inst/readme.txt"
chmod a-w "$inst/readme.txt"
echo guide > "$inst/docs/guide.txt"
echo notes > "$inst/docs/deep/notes.txt"
echo mine > "$inst/keep/user.txt"
echo link > "$menu/Corvantis Vandrel.lnk"

cat > "$WORK/registry.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Corvantis Test\Tree\Sub\Deeper]
"Leaf"="1"

[HKEY_LOCAL_MACHINE\Software\Corvantis Test\Values]
"Keep"="yes"
".tif"="Vandrel.Image"

[HKEY_CURRENT_USER\Software\Corvantis Test]
"Stay"="1"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)]
"DisplayName"="Corvantis Vandrel"

[HKEY_LOCAL_MACHINE\Software\Corvantis Vandrel]
"EULAVersion"="3"
REG
reg_import "$WORK/registry.reg"
reg_exists 'HKLM\Software\Corvantis Vandrel' EULAVersion || fail "the registry was not prepared"

# Only the leading digits of a flags value count: "10x" is main program and component.
cat > "$inst/setup.ini" <<LOG
[UninstallFiles]
$win\\main.exe=10x
$win\\comp.dll=8
$win\\readme.txt=0
$win\\docs\\guide.txt=0
$win\\docs\\deep\\notes.txt=0
$win\\missing.txt=0

[UninstallDirs]
$win\\docs\\deep=
$win\\docs=
$win\\keep=
$win=

[UninstallRegistry]
HKLM\\Software\\Corvantis Test\\Tree\\=0
1(64)HKLM\\Software\\Corvantis Test\\Values=.tif
HKCU\\Software\\Corvantis Test=0

[UninstallShortcuts]
$winmenu\\Corvantis Vandrel.lnk=
$winmenu=
LOG

$WINE "$runner" "$win\\setup.ini" > "$WORK/out" 2>&1 &
run=$!

# While the main program runs with /UnregAll, the plain window says so.
window=$(ui wait-window "#32770" "Corvantis Vandrel Setup" 20000 | tr -d '\r')
seen=""
for i in $(seq 1 100); do
  text=$(ui text "$window" 101 | tr -d '\r')
  [ "$text" = "Unregistering main.exe..." ] && { seen=1; break; }
  sleep 0.05
done
expect_eq 1 "$seen" "the progress window shows \"Unregistering main.exe...\""
expect_eq "0" "$(ui controls "$window" | awk -F'\t' '$1 == 102 { print $3 }' | tr -d '\r')" "the progress bar is hidden"

box=$(ui answer 1 30000)
expect_eq "Corvantis Vandrel Setup" "$(field "$box" caption)" "success box caption"
expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$box" text)" "success box text"
wait $run
out=$(cat "$WORK/out")
expect_eq 0 "$(field "$out" result)" "no restart asked"
expect_eq 0 "$(field "$out" code)" "no failure"
expect_eq 1 "$(field "$out" owner_enabled)" "the owner is enabled again"

calls=$(tr -d '\r' < "$inst/calls.log")
expected="\"$win\\main.exe\" /UnregAll
\"$win\\main.exe\" /UnRegServer
DllUnregisterServer $win\\comp.dll"
expect_eq "$expected" "$calls" "main program, then its unregistration, then the library's"

for f in main.exe comp.dll readme.txt docs/guide.txt docs/deep/notes.txt docs/deep docs; do
  expect_gone "$inst/$f" "$f removed"
done
expect_there "$inst/keep/user.txt" "an unlisted file stays"
expect_there "$inst" "a folder that still holds files stays"
expect_gone "$menu" "the shortcut and its folder are gone"

reg_exists 'HKLM\Software\Corvantis Test\Tree' && fail "a whole key entry leaves the key" || pass "whole key deleted"
reg_exists 'HKLM\Software\Corvantis Test\Values' .tif && fail "the value .tif is still there" || pass "value deleted"
reg_exists 'HKLM\Software\Corvantis Test\Values' Keep && pass "other values of the key stay" || fail "value Keep went too"
reg_exists 'HKCU\Software\Corvantis Test' && pass "entries under other roots are passed over" || fail "HKCU key deleted"
reg_exists 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)' \
  && fail "uninstall entry still there" || pass "uninstall entry deleted"
reg_exists 'HKLM\Software\Corvantis Vandrel' && fail "product key still there" || pass "product key deleted"

scenario_end
