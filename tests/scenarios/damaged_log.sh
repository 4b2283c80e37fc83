#!/usr/bin/env bash
# The removal through setup.exe with damaged or hand-edited install logs and registry: each run
# ends (a hang fails the wait), removes what the install made, and leaves every other file, key
# and shortcut in place. The uninstall command is quoted, as another tool may write it.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

drive=$WINEPREFIX/drive_c
media=$drive/Media
prod=$drive/Prod
menu=$drive/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Corvantis\ Vandrel
winmenu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Corvantis Vandrel'
make_media "$media"

# What the install made, and what others own beside it.
prepare() {
  mkdir -p "$prod" "$drive/Other/Empty" "$menu"
  for f in "$prod/a.dll" "$prod/b.dll" "$prod/live.txt" "$drive/Other/keep.dll" "$drive/Other/link.lnk" \
    "$menu/Corvantis Vandrel.lnk"; do echo x > "$f"; done
  printf '\xff\xfe' > "$WORK/keys.reg"
  iconv -f UTF-8 -t UTF-16LE >> "$WORK/keys.reg" <<'REG'
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

# Runs the removal on the log in $prod/setup.ini; BOX and SETUP_EXIT tell how it ended.
remove() {
  start_setup_in "$media"
  wait_sheet "Welcome"
  ui sheet "$SHEET" finish
  BOX=$(ui answer 1 60000)
  wait_setup
  [ "$SETUP_EXIT" = 999 ] && wineserver -k
}

removed() {  # what
  expect_eq "Corvantis Vandrel has been successfully removed." "$(field "$BOX" text)" "$1: the removal ends"
  expect_eq 2 "$SETUP_EXIT" "$1: exit code"
  reg_exists "$UNINSTALL_KEY" && fail "$1: the uninstall entry stays" || pass "$1: the uninstall entry is gone"
  reg_exists 'HKLM\Software\Corvantis Vandrel' && fail "$1: the product key stays" || pass "$1: the product key is gone"
}

others_stay() {  # what
  for f in Other/keep.dll Other/link.lnk Other/Empty Prod/live.txt; do expect_there "$drive/$f" "$1: $f stays"; done
  for key in 'HKLM\Software\VandrelOther\Sub' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 'HKLM\Software\Classes\CLSID'; do
    reg_exists "$key" && pass "$1: $key stays" || fail "$1: $key was deleted"
  done
}

# 1. Entries that the install cannot have made, an empty key amid the files, and a product key
#    whose subkey's name the ANSI code page cannot hold.
prepare
crlf '[UninstallFiles]' 'C:\Prod\a.dll=0' '=0' 'C:\Prod\b.dll=0' 'C:\Other\keep.dll=0' \
  'C:\Prod\..\Other\keep.dll=0' 'C:\Prod\*.txt=0' '' \
  '[UninstallDirs]' 'C:\Other\Empty=0' 'C:\Prod=0' '' \
  '[UninstallRegistry]' 'HKLM\=0' '(64)HKLM\=0' 'HKLM\Software=0' 'HKLM\Software\Classes\=0' \
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Run=0' 'HKLM\Software\Vandrel*=0' 'HKLM\Software\VandrelMine=0' '' \
  '[UninstallShortcuts]' 'C:\Other\link.lnk=0' "$winmenu\\Corvantis Vandrel.lnk=0" "$winmenu=0" > "$prod/setup.ini"
remove
removed "hand-edited log"
others_stay "hand-edited log"
expect_gone "$prod/a.dll" "the file before the empty key goes"
expect_gone "$prod/b.dll" "the file after the empty key goes"
expect_gone "$menu" "the shortcut and its folder go"
reg_exists 'HKLM\Software\VandrelMine' && fail "the logged key stays" || pass "the logged key goes"

# 2. The log saved again as UTF-16 by an editor: still read, so the files go.
prepare
crlf '[UninstallFiles]' 'C:\Prod\a.dll=0' 'C:\Prod\b.dll=0' | iconv -t UTF-16LE | { printf '\xff\xfe'; cat; } \
  > "$prod/setup.ini"
remove
removed "log in UTF-16"
others_stay "log in UTF-16"
expect_gone "$prod/a.dll" "a.dll goes with a UTF-16 log"
expect_gone "$prod/b.dll" "b.dll goes with a UTF-16 log"

# 3. An installed folder so deep that its "setup.ini" does not fit a path: a failure that names
#    the path, and nothing is removed.
prepare
deep='C:\'$(printf 'd%.0s' $(seq 1 248))
$WINE reg add "$(printf '%s' "$UNINSTALL_KEY")" /v UninstallString /d "\"$deep\\s.exe\"" /f >/dev/null 2>&1
remove
expect_eq 1 "$SETUP_EXIT" "deep folder: the removal fails"
# The driver writes a backslash of a box's text as two.
expect_contains "$(field "$BOX" text)" "${deep//\\/\\\\}\\\\setup.ini" "deep folder: the failure names the whole path"
reg_exists "$UNINSTALL_KEY" && pass "deep folder: the uninstall entry stays" || fail "deep folder: entry deleted"
reg_exists 'HKLM\Software\Corvantis Vandrel' && pass "deep folder: the product key stays" || fail "deep folder: key deleted"

scenario_end
