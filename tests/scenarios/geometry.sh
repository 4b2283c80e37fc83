#!/usr/bin/env bash
# Every window of setup.exe at 96, 120, 144 and 192 DPI with Wine's fonts: the install wizard of the
# example media (long product name and divider texts) and of a plain one (Welcome picture without
# rich text, no header bands, classic pages), the update sheet, the removal confirmation and both
# progress windows: every visible control inside its parent, every window on the screen, the
# licence accepted. Then absurd sizes from the script at 192 DPI.
source "$SCENARIO_LIB"
for part in install wizard setup_e2e; do source "$(dirname "$SCENARIO_LIB")/$part.bash"; done
dressed=$WORK/dressed plain=$WORK/plain
cp -a "$SOURCE_DIR/examples" "$dressed"
cp "$SETUP_EXE" "$dressed/setup.exe" && cp "$BUILD_DIR/tests/product_main.exe" "$dressed/vandrel.exe"
sed -i -e 's/^ProductName=.*/ProductName=Corvantis Vandrel Professional Imaging Suite 2024/' \
  -e "s/^DividerText=.*/DividerText=$(printf 'Corvantis Vandrel %.0s' {1..9})/" -e 's/^readme.txt=0/&\nvandrel.exe=2/' "$dressed/setup.ini"
make_media "$plain"
cp "$dressed/license.txt" "$plain/" && touch "$plain/install.txt"
convert -size 200x100 xc:'#1d4e89' "BMP3:$plain/welcome.bmp"
crlf '[Setup]' 'EULAVersion=4' '[Welcome]' 'Title=Plain Setup' 'image=welcome.bmp' 'BackColor=16777215' '[License]' 'Wizard=1' 'Title=Licence' \
  '[Destination]' 'FileTypes=0' '[InstallFileTypes]' 'tif=1TIFF image' 'png=0PNG image' > "$plain/setup.ini"
# LAYOUT := the driver's dump of the window; every visible control inside its parent, the window
# inside the screen, at the resolution under test.
check_layout() {  # window what
  LAYOUT=$(ui layout "$1" | tr -d '\r')
  expect_eq "" "$(awk -F'\t' -v dpi="$dpi" '
    $1 == "screen" { split($2, s, ","); if ($3 != dpi) print "at " $3 " DPI"; next }
    $1 == "window" { split($2, w, ","); if (w[1] < 0 || w[2] < 0 || w[3] > s[1] || w[4] > s[2]) print "window " $2; next }
    { split($5, r, ","); split($6, c, ","); if (r[1] < 0 || r[2] < 0 || r[3] > c[1] || r[4] > c[2]) print $3 " " $4 " " $5 " in " $6 }' <<< "$LAYOUT")" \
    "$2 at $dpi DPI: inside"
}
# L T R B, its text's width W and its parent's width PW: the first control of LAYOUT with that id
# ("-" for any) and class whose style (hex) matches the pattern.
item() {  # id class [style-pattern]
  read -r L T R B W PW <<< "$(awk -F'\t' -v id="$1" -v cls="$2" -v style="${3:-.}" '($3 == id || id == "-") && $4 == cls && $8 ~ style {
    split($5, r, ","); split($6, c, ","); print r[1], r[2], r[3], r[4], $7, c[1]; exit }' <<< "$LAYOUT")"
}
expect_le() { if [ "${1:-x}" -le "${2:-x}" ] 2>/dev/null; then pass "$3"; else fail "$3: [$1] > [$2]"; fi; }
next_page() { press next "$1"; check_layout "$SHEET" "$1"; }
# The licence box ends inside its page with the margin it has on the left; the box is accepted.
accept_licence() {  # buttons-then
  item 101 Edit
  expect_eq "$L" "$((PW - R))" "licence box at $dpi DPI: the same margin on both sides"
  ui check "$(current_page)" 102 1
  wait_for "$1" "licence accepted at $dpi DPI" wizard_buttons
}
hold() { echo > "$INSTALL_DIR_UNIX/vandrel.exe.hold"; }  # the main program, so its progress window, waits
release() { rm -f "$INSTALL_DIR_UNIX/vandrel.exe.hold"; }
for dpi in 96 120 144 192; do
  $WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
  make_default_destination
  # The plain wizard: the Welcome texts right of the picture on the page's colour; the classic
  # destination's path inside its group box, the box within the page's text column.
  start_setup_in "$plain"
  wait_sheet "Plain Setup"
  check_layout "$SHEET" "Plain Welcome"
  item 102 Static
  expect_le 200 "$L" "Welcome text right of the picture at $dpi DPI"
  if [ $dpi == 96 ]; then
    client_rect "$(current_page)"
    screenshot
    expect_eq "255,255,255" "$(pixel $((CLIENT_LEFT + R - 2)) $((CLIENT_TOP + B - 2)))" "Welcome text on white"
  fi
  next_page "Licence"
  accept_licence "11 11 00"
  next_page "Choose Destination Location"
  item - Button '7$'
  group_left=$L group_right=$R
  item 104 Edit
  expect_le "$group_left" $((L - 1)) "destination path inside its group box at $dpi DPI"
  item 101 Static
  expect_le "$group_right" $((R + 1)) "group box within the page's text column at $dpi DPI"
  next_page "Select Program Folder"
  next_page "File Types"
  ui sheet "$SHEET" cancel
  wait_setup
  # The dressed wizard: whole labels, the divider label left of the buttons; then the header
  # progress window in its place, with its divider label and band where the wizard's were.
  start_setup_in "$dressed"
  wait_sheet "Corvantis Vandrel 4.2 Setup"
  check_layout "$SHEET" "Welcome"
  next_page "Licence Agreement"
  accept_licence "11 11 00"
  next_page "Installation Options"
  for id in 101 105; do item $id Static; expect_le "$W" $((R - L)) "destination label $id shows its whole text at $dpi DPI"; done
  item 12323 Button
  buttons_left=$L
  item 0 Static '80$'
  expect_le "$R" "$buttons_left" "divider label left of the buttons at $dpi DPI"
  label_left=$L
  next_page "Program Folder"
  item 0 Static '1000$'
  band_bottom=$T
  hold
  ui sheet "$SHEET" finish
  check_layout "$(ui wait-window "#32770" "Installing Corvantis Vandrel 4.2" 30000 | tr -d '\r')" "Header progress"
  item 101 Static
  divider_right=$R
  item 0 Static '80$'
  expect_eq "$label_left" "$L" "progress divider label where the wizard's was at $dpi DPI"
  expect_le "$R" "$divider_right" "progress divider label within the divider line at $dpi DPI"
  item 0 Static '1000$'
  expect_eq "$band_bottom" "$T" "progress band as high as the wizard's at $dpi DPI"
  release
  answer 1
  wait_setup
  # The update sheet from the plain media: the agreement page alone.
  start_setup_in "$plain"
  wait_sheet "Welcome"
  check_layout "$SHEET" "Update or remove"
  ui click "$(current_page)" 105
  wait_sheet "Licence"
  check_layout "$SHEET" "Update sheet"
  accept_licence "10 00 11"
  ui sheet "$SHEET" cancel
  wait_setup
  # The removal confirmation, then the plain progress window; only the final message follows,
  # although the installed copy runs (from another folder): it and its folder go at the restart.
  hold
  (cd "$WORK" && exec $WINE "$INSTALL_DIR\\setup.exe") & SETUP_PID=$!
  wait_sheet "Welcome"
  check_layout "$SHEET" "Removal confirmation"
  ui sheet "$SHEET" finish
  check_layout "$(ui wait-window "#32770" "Corvantis Vandrel Setup" 30000 | tr -d '\r')" "Plain progress window"
  release
  answer 1
  wait_setup
  expect_contains "$(pending_renames)" 'Corvantis Vandrel\setup.exe\0\0\??\C:\Program Files\Corvantis Vandrel\0' "setup.exe, then its folder, wait for the restart"
done
# Absurd sizes: a Welcome picture 4000 pixels wide, a strip and margins far beyond the screen.
convert -size 4000x60 xc:'#1d4e89' "BMP3:$dressed/huge.bmp"
sed -i -e 's/^image.*=.*/image=huge.bmp/' -e 's/^headerlineheight=.*/headerlineheight=999999999/' \
  -e 's/^HeaderRTFMargins=.*/HeaderRTFMargins=99999,99999,99999,99999/' "$dressed/setup.ini"
start_setup_in "$dressed"
wait_sheet "Corvantis Vandrel 4.2 Setup"
check_layout "$SHEET" "Absurd Welcome"
next_page "Licence Agreement"
accept_licence "11 11 00"
next_page "Installation Options"
ui sheet "$SHEET" cancel
wait_setup
scenario_end
