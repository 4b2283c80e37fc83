#!/usr/bin/env bash
# The example media on screen at 96 and 144 DPI, by pixels: the Welcome picture and background, the
# pages' header bands. With SCREENSHOT_DIR set, the pictures are kept there. The media checker
# passes them first.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
media=$WORK/media
cp -a "$SOURCE_DIR/examples" "$media"
$WINE "$BUILD_DIR/mediacheck.exe" "$(windows_path "$media")" > "$WORK/report.txt"
expect_eq "0|0 errors, 0 warnings|media: 12 files, 1 folders" "$?|$(head -1 "$WORK/report.txt" | tr -d '\r')|$(grep -o '^media: [0-9]* files, [0-9]* folders' "$WORK/report.txt")" \
  "mediacheck.exe, the checker's Windows build, passes the example media"
cp "$SHEET_RUNNER" "$media/sheet_runner.exe"
make_default_destination
value() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" "$media/setup.ini" | tr -d '\r' | head -1; }
line=$(colour "$(value Setup headerlinecolor)")
white=$(colour "$(value Welcome BackColor)")
# The current page's client rectangle in L T R.
locate() { client_rect "$(current_page)"; L=$CLIENT_LEFT T=$CLIENT_TOP R=$CLIENT_RIGHT; }
# With SCREENSHOT_DIR set, keeps the sheet of the last screenshot there under that name.
keep() {  # name
  [ -z "${SCREENSHOT_DIR:-}" ] || { mkdir -p "$SCREENSHOT_DIR"; IFS=, read -r l t r b <<< "$(ui rect "$SHEET" | tr -d '\r' | sed -n 's/^window=//p')"
    convert "$WORK/screen.png" -crop $((r - l))x$((b - t))+$l+$t +repage "$SCREENSHOT_DIR/$1.png"; }
}
# A new screenshot, then the pixels at the "X,Y" points given: a page shown a moment ago may not
# be painted yet, so the checks below take screenshots until the pixels are the expected ones.
pixels_at() { local at out=(); screenshot; for at in "$@"; do out+=("$(pixel "${at%,*}" "${at#*,}")"); done; echo "${out[*]}"; }
# The darkest intensity (0 to 100) in a rectangle of the screenshot: text makes it low.
darkest() { convert "$WORK/screen.png" -crop "$3x$4+$1+$2" -format '%[fx:int(100*minima.intensity)]' info:-; }
# Whether a new screenshot shows dark text in the band of check_band below.
rich_text_shown() { screenshot; [ "$(darkest $((L + 20)) $((T + strip + 4)) 150 $((height - 10)))" -lt 50 ] && echo yes; }
# The header band: the strip, the band colour, the image at the right, the etched line below, rich text.
check_band() {  # section strip-height image what
  local back strip=$2 image=$media/$3 width height band
  back=$(colour "$(value "$1" HeaderBackColor)")
  read -r width height <<< "$(identify -format '%w %h' "$image")"
  locate
  band=$((T + strip + height))
  wait_for "$line $line $line $back $back $(file_pixel "$image" $((width - 1)) 0) $(file_pixel "$image" 0 $((height - 1)))" \
    "$4: the strip $strip pixels high, the band colour, the image at the right" pixels_at $((L + 1)),$T $((L + 1)),$((T + strip - 1)) \
    $((R - 1)),$((T + strip - 1)) $((L + 1)),$((T + strip)) $((L + 1)),$((band - 1)) $((R - 1)),$((T + strip)) $((R - width)),$((band - 1))
  keep "$4"
  [ "$(pixel $((L + 1)) $band)" != "$back" ] && [ "$(pixel $((L + 1)) $((band + 6)))" != "$back" ] \
    && pass "$4: the etched line and no band colour below the band" || fail "$4: band colour below the band"
  # The rich text is a control of its own, painted after the band.
  wait_for yes "$4: rich text in the band" rich_text_shown
}
walk() {  # suffix (empty or 144) strip-height
  start_runner "$media" install
  wait_sheet "$(value Welcome Title)"
  wait_for "10 11 00" "Welcome shown" wizard_buttons
  # Welcome: the picture at the corner, the back colour to the edges and the divider line.
  local picture=$media/welcome$1.bmp pw ph last
  read -r pw ph <<< "$(identify -format '%w %h' "$picture")"
  IFS=, read -r dl dt dr db <<< "$(ui rect "$SHEET" 12326 | tr -d '\r')"
  client_rect "$SHEET"
  local sl=$CLIENT_LEFT st=$CLIENT_TOP sr=$CLIENT_RIGHT
  last=$((dt - 1 < ph - 1 ? dt - 1 : ph - 1))
  expect_eq "0 $((sr - sl))" "$dl $dr" "Welcome$1: the divider spans the sheet"
  wait_for "$(file_pixel "$picture" 1 1) $(file_pixel "$picture" $((pw - 1)) $last) $white $white" \
    "Welcome$1: the picture at the corner at full size, the back colour to the edges" \
    pixels_at $((sl + 1)),$((st + 1)) $((sl + pw - 1)),$((st + last)) $((sl + pw + 2)),$((st + dt - 2)) $((sr - 2)),$((st + 2))
  keep "welcome$1"
  [ "$(pixel $((sl + 2)) $((st + dt + 8)))" != "$white" ] && pass "Welcome$1: no back colour below the divider" || fail "Welcome$1: colour below the divider"
  press next "$(value License Title)" "11 10 00"
  check_band License "$2" "header$1.bmp" "agreement$1"
  ui check "$(current_page)" 102 1
  wait_for "11 11 00" "agreement accepted" wizard_buttons
  press next "$(value Destination Title)" "11 11 00"
  check_band Destination "$2" "header$1.bmp" "destination$1"
  press next "$(value ProgFolder Title)" "11 00 11"
  check_band ProgFolder "$2" "header$1.bmp" "program-folder$1"
  ui sheet "$SHEET" cancel
  wait_runner
  expect_eq "1223 1" "$(result status) $(result richEdit)" "cancelled; the rich-text library was loaded"
}
walk "" 3  # 96 DPI: a strip of 2.5 pixels rounds to 3
# 144 DPI: the 144 variants of the images, and a strip of 2.5 * 1.5 = 3.75 pixels, so 4.
$WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1; wineserver -w
walk 144 4
scenario_end
