#!/usr/bin/env bash
# The removal through setup.exe with damaged, hand-edited or missing install logs and registry:
# each run ends (a hang fails the wait), removes what the install made and leaves every other
# file, key and shortcut in place. The uninstall command is quoted, as another tool may write it.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
media=$DRIVE/Media prod=$DRIVE/Prod
menu=$DRIVE/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Corvantis\ Vandrel
winmenu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Corvantis Vandrel'
make_media "$media"
# What the install made, and what others own beside it; a subkey of the product's key is named in
# characters that the ANSI code page cannot hold.
prepare() {
  mkdir -p "$prod" "$DRIVE/Other/Empty" "$menu"
  for f in "$prod/a.dll" "$prod/b.dll" "$prod/live.txt" "$DRIVE/Other/keep.dll" "$DRIVE/Other/link.lnk" "$menu/Corvantis Vandrel.lnk"; do echo x > "$f"; done
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } > "$WORK/keys.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Corvantis Vandrel\日本\inner]
"v"="1"

[HKEY_LOCAL_MACHINE\Software\VandrelMine]
"v"="1"

[HKEY_LOCAL_MACHINE\Software\VandrelOther\Sub]
"v"="1"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)]
"UninstallString"="\"C:\\Prod\\setup.exe\""
REG
  reg_import "$WORK/keys.reg"
}
# Confirms the removal of what the entry names; BOX_TEXT and SETUP_EXIT tell how it ended.
remove() { start_setup_in "$media"; wait_sheet "Welcome"; ui sheet "$SHEET" finish; answer 1 60000; wait_setup; [ "$SETUP_EXIT" != 999 ] || wineserver -k; }
removed() {  # what
  expect_eq "Corvantis Vandrel has been successfully removed.|2|gone gone|gone gone" "$BOX_TEXT|$SETUP_EXIT|$(key_state "$UNINSTALL_KEY") $(
    key_state 'HKLM\Software\Corvantis Vandrel')|$(exists "$prod/a.dll") $(exists "$prod/b.dll")" "$1: removed, the entry, the product's key and the files gone"
  expect_eq "there there there there|there there there there" "$(for f in Other/keep.dll Other/link.lnk Other/Empty Prod/live.txt; do exists "$DRIVE/$f"; done | paste -sd' ')|$(
    for key in VandrelOther\\Sub Microsoft\\Windows\\CurrentVersion\\Run Microsoft\\Windows\\CurrentVersion\\Uninstall Classes\\CLSID; do key_state "HKLM\\Software\\$key"; done | paste -sd' ')" \
    "$1: others' files and keys stay"
}
# 1. Entries that the install cannot have made, an empty key amid the files, whole keys that others
#    share, a wide-named subkey.
prepare
crlf '[UninstallFiles]' 'C:\Prod\a.dll=0' '=0' 'C:\Prod\b.dll=0' 'C:\Other\keep.dll=0' 'C:\Prod\..\Other\keep.dll=0' 'C:\Prod\*.txt=0' '' \
  '[UninstallDirs]' 'C:\Other\Empty=0' 'C:\Prod=0' '' '[UninstallRegistry]' 'HKLM\=0' '(64)HKLM\=0' 'HKLM\Software=0' 'HKLM\Software\Classes\=0' \
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Run=0' 'HKLM\Software\Vandrel*=0' 'HKLM\Software\VandrelMine=0' '' \
  '[UninstallShortcuts]' 'C:\Other\link.lnk=0' "$winmenu\\Corvantis Vandrel.lnk=0" "$winmenu=0" > "$prod/setup.ini"
remove
removed "hand-edited log"
expect_eq "gone gone" "$(exists "$menu") $(key_state 'HKLM\Software\VandrelMine')" "the shortcut, its folder and the logged key go"
# 2. The log saved again as UTF-16 by an editor: still read.
prepare
crlf '[UninstallFiles]' 'C:\Prod\a.dll=0' 'C:\Prod\b.dll=0' | iconv -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$prod/setup.ini"
remove
removed "log in UTF-16"
# 3. An installed folder so deep that its "setup.ini" does not fit a path: a failure that names the
#    whole path, and nothing is removed.
prepare
deep='C:\'$(printf 'd%.0s' $(seq 1 248))
$WINE reg add "$UNINSTALL_KEY" /v UninstallString /d "\"$deep\\s.exe\"" /f >/dev/null 2>&1
remove
expect_eq "1|there there" "$SETUP_EXIT|$(key_state "$UNINSTALL_KEY") $(key_state 'HKLM\Software\Corvantis Vandrel')" "deep folder: the removal fails, the entry and key stay"
expect_contains "$BOX_TEXT" "$(escaped "$deep")\\\\setup.ini" "deep folder: the failure names the whole path"
# 4. Cancel on the confirmation removes nothing; an entry naming a folder without a log (error 2)
#    or a missing one (3) is removed all the same.
start_setup_in "$media"
wait_sheet "Welcome"
ui sheet "$SHEET" cancel
wait_setup
expect_eq "1|there" "$SETUP_EXIT|$(key_state "$UNINSTALL_KEY")" "Cancel on the removal confirmation exits with 1 and removes nothing"
for folder in 'C:\Other\Empty' 'C:\Gone'; do
  $WINE reg add "$UNINSTALL_KEY" /v UninstallString /d "$folder\\setup.exe" /f >/dev/null 2>&1
  remove
  expect_eq "Corvantis Vandrel has been successfully removed.|2|gone" "$BOX_TEXT|$SETUP_EXIT|$(key_state "$UNINSTALL_KEY")" "$folder: no log, the entry removed"
done
scenario_end
