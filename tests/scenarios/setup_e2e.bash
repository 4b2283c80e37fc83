# Steps of the end-to-end scenarios of setup.exe. Sourced after lib.bash, install.bash, wizard.bash.
INSTALL_DIR_UNIX=$DRIVE/Program\ Files/Corvantis\ Vandrel
INSTALL_DIR='C:\Program Files\Corvantis Vandrel'
EARLIER_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quernell Vandrel (64-bit)'
# The stand-ins of the product's programs note their calls outside the prefix.
export PRODUCT_CALLS_LOG
PRODUCT_CALLS_LOG=$(windows_path "$WORK/calls.log")
calls() { tr -d '\r' < "$WORK/calls.log"; }
# Media: setup.exe (listed, so that the installed copy can remove), the product's programs, a
# tree, examples and a licence.
make_e2e_media() {  # folder [EULAVersion]
  mkdir -p "$1/data/sub" "$1/Examples"
  cp "$SETUP_EXE" "$1/setup.exe" && cp "$BUILD_DIR/tests/product_main.exe" "$1/vandrel.exe" && cp "$BUILD_DIR/tests/product_library.dll" "$1/filters.dll"
  echo a > "$1/data/a.txt" && echo b > "$1/data/sub/b.txt" && echo example > "$1/Examples/first.txt"
  printf 'The licence terms.\r\n' > "$1/license.txt"
  crlf '[Setup]' "EULAVersion=${2:-3}" '' '[Welcome]' 'Title=Welcome to Vandrel' '' '[License]' 'Show=1' 'Wizard=1' 'Title=Licence' '' \
    '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' 'readme.txt=4' '' '[InstallDirs]' 'data=0' '' \
    '[InstallShortcuts]' 'vandrel.exe=Corvantis Vandrel' > "$1/setup.ini"
}
# The whole install wizard with its defaults.
walk_install_wizard() {
  wait_sheet "Welcome to Vandrel"
  press next "Licence"
  ui check "$(current_page)" 102 1
  wait_for "11 11 00" "agreement accepted" wizard_buttons >/dev/null
  for page in "Choose Destination Location" "Select Program Folder" "File Types"; do press next "$page"; done
  ui sheet "$SHEET" finish
}
# An installed copy: the entry (of this release or the given key), the log and a file it names.
make_installed() {
  mkdir -p "$INSTALL_DIR_UNIX"
  echo old > "$INSTALL_DIR_UNIX/old.exe"
  $WINE reg add "${1:-$UNINSTALL_KEY}" /v UninstallString /d "$INSTALL_DIR\\setup.exe" /f >/dev/null 2>&1
  crlf '[UninstallFiles]' "$INSTALL_DIR\\old.exe=2" "$INSTALL_DIR\\setup.ini=0" '' '[UninstallDirs]' "$INSTALL_DIR=0" > "$INSTALL_DIR_UNIX/setup.ini"
}
# A restart as far as setup's work goes: every program of the prefix ends, then a new session
# applies the pending renames and deletions.
simulate_restart() { wineserver -w; $WINE wineboot -r >/dev/null 2>&1; wineserver -w; }
# What a user could find changed: every path under drive C and in the folders given, with sizes,
# and the registry; not Wine's times nor what it writes anew each session (device classes,
# network cards, console settings) or for a crash of any program (its debugger's settings; a
# crash of setup shows in its exit code).
machine_snapshot() {  # file [folder...]
  local file=$1 folder
  shift
  wineserver -w
  { (cd "$DRIVE" && find . -path ./windows/temp -prune -o -printf '%p %s\n' | LC_ALL=C sort)
    for folder in "$@"; do (cd "$folder" && find . -printf "$folder/%p %s\n" | LC_ALL=C sort); done
    sed -e 's/^\(\[.*\]\) [0-9]*$/\1/' -e '/^#time=/d' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" |
      awk '/^\[/ { skip = $0 ~ /^\[(System\\\\CurrentControlSet\\\\Control\\\\Class|Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\NetworkCards|Console|Software\\\\Wine\\\\WineDbg)/ } !skip'
  } > "$file"
}
expect_machine_as() {  # snapshot-file what [folder...]
  local before=$1 what=$2
  shift 2
  machine_snapshot "$WORK/after" "$@"
  if diff "$before" "$WORK/after" > "$WORK/changes"; then pass "$what"; else fail "$what"; head -20 "$WORK/changes"; fi
}
