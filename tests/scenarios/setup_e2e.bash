# Steps shared by the end-to-end scenarios of setup.exe: media, the wizard walk, checks.
# Sourced after lib.bash, install.bash and wizard.bash.

INSTALL_DIR_UNIX=$WINEPREFIX/drive_c/Program\ Files/Corvantis\ Vandrel
INSTALL_DIR='C:\Program Files\Corvantis Vandrel'

# The stand-ins of the product's programs note their calls outside the prefix.
export PRODUCT_CALLS_LOG
PRODUCT_CALLS_LOG=$(windows_path "$WORK/calls.log")

# Installation media: setup.exe, the product's programs, a folder tree, example files and a
# licence; the script lists setup.exe among its files so that the installed copy can remove.
make_e2e_media() {  # folder [EULAVersion]
  local media=$1
  mkdir -p "$media/data/sub" "$media/Examples"
  cp "$SETUP_EXE" "$media/setup.exe"
  cp "$BUILD_DIR/tests/product_main.exe" "$media/vandrel.exe"
  cp "$BUILD_DIR/tests/product_library.dll" "$media/filters.dll"
  echo a > "$media/data/a.txt"
  echo b > "$media/data/sub/b.txt"
  echo example > "$media/Examples/first.txt"
  printf 'The licence terms.\r\n' > "$media/license.txt"
  crlf '[Setup]' "EULAVersion=${2:-3}" '' '[Welcome]' 'Title=Welcome to Vandrel' '' \
    '[License]' 'Show=1' 'Wizard=1' 'Title=Licence' '' \
    '[InstallFiles]' 'setup.exe=0' 'vandrel.exe=2' 'filters.dll=8' 'readme.txt=4' '' \
    '[InstallDirs]' 'data=0' '' \
    '[InstallShortcuts]' 'vandrel.exe=Corvantis Vandrel' > "$media/setup.ini"
}

# Starts setup.exe from its folder in the background.
start_setup_in() {
  (cd "$1" && exec $WINE ./setup.exe) &
  SETUP_PID=$!
}

# The whole install wizard with its defaults: Welcome, the agreement, destination, program
# folder, file types, Finish.
walk_install_wizard() {
  wait_sheet "Welcome to Vandrel"
  press next "Licence"
  ui check "$(current_page)" 102 1
  wait_for "11 11 00" "agreement accepted" wizard_buttons >/dev/null
  press next "Choose Destination Location"
  press next "Select Program Folder"
  press next "File Types"
  ui sheet "$SHEET" finish
}
