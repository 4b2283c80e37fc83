#!/usr/bin/env bash
# The dressed example media on screen: the Welcome picture and background reaching the sheet's
# edges, and the header bands of the agreement and destination pages (strip, colour, image,
# etched line, rich text, divider label), checked by pixels of screenshots at 96 and 144 DPI.
# With SCREENSHOT_DIR set, the pictures of the pages are kept there.
source "$SCENARIO_LIB"
source "$SOURCE_DIR/tests/scenarios/wizard.bash"

# A display of its own: other tests' windows on a shared one could cover the pixels read here.
start_xvfb force || { fail "no display of its own"; scenario_end; }
trap 'finish; stop_xvfb' EXIT

media=$WORK/media
cp -a "$SOURCE_DIR/examples" "$media"
cp "$SHEET_RUNNER" "$media/sheet_runner.exe"
make_default_destination
ini=$media/setup.ini
value() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" "$ini" | tr -d '\r' | head -1; }
line_rgb=$(colour "$(value Setup headerlinecolor)")
white=$(colour "$(value Welcome BackColor)")

# A crop of the sheet from the last screenshot into SCREENSHOT_DIR.
keep_screenshot() {  # name
  [ -n "${SCREENSHOT_DIR:-}" ] || return 0
  mkdir -p "$SCREENSHOT_DIR"
  local r
  r=$(ui rect "$SHEET" | tr -d '\r' | sed -n 's/^window=//p')
  IFS=, read -r l t rr b <<< "$r"
  convert "$WORK/screen.png" -crop $((rr - l))x$((b - t))+$l+$t +repage "$SCREENSHOT_DIR/$1.png"
}

# The darkest intensity (0 to 100) in a rectangle of the screenshot: text makes it low.
darkest() {  # x y width height
  convert "$WORK/screen.png" -crop "$3x$4+$1+$2" -format '%[fx:int(100*minima.intensity)]' info:-
}

# Checks the header band of the current page: strip, band colour, image at the right, the
# etched line under the band, rich text in it, and no band colour below it.
check_band() {  # section line-height image label
  local section=$1 strip=$2 image=$3 what=$4
  local back width height page
  back=$(colour "$(value "$section" HeaderBackColor)")
  width=$(identify -format %w "$media/$image")
  height=$(identify -format %h "$media/$image")
  page=$(current_page)
  client_rect "$page"
  local left=$CLIENT_LEFT top=$CLIENT_TOP right=$CLIENT_RIGHT band=$((strip + height))
  screenshot
  expect_eq "$line_rgb" "$(pixel $((left + 1)) "$top")" "$what: strip at the top"
  expect_eq "$line_rgb" "$(pixel $((left + 1)) $((top + strip - 1)))" "$what: strip $strip pixels high"
  expect_eq "$line_rgb" "$(pixel $((right - 1)) $((top + strip - 1)))" "$what: strip above the image"
  expect_eq "$back" "$(pixel $((left + 1)) $((top + strip)))" "$what: band colour below the strip"
  expect_eq "$back" "$(pixel $((left + 1)) $((top + band - 1)))" "$what: band colour down to its bottom"
  expect_eq "$(file_pixel "$media/$image" $((width - 1)) 0)" "$(pixel $((right - 1)) $((top + strip)))" "$what: image top-right corner"
  expect_eq "$(file_pixel "$media/$image" 0 $((height - 1)))" "$(pixel $((right - width)) $((top + band - 1)))" "$what: image bottom-left corner"
  if [ "$(pixel $((left + 1)) $((top + band)))" != "$back" ]; then pass "$what: etched line under the band"
  else fail "$what: no etched line at y $band"; fi
  if [ "$(pixel $((left + 1)) $((top + band + 6)))" != "$back" ]; then pass "$what: no band colour below the band"
  else fail "$what: band colour below the band"; fi
  if [ "$(darkest $((left + 20)) $((top + strip + 4)) 150 $((height - 10)))" -lt 50 ]; then pass "$what: rich text in the band"
  else fail "$what: no rich text in the band"; fi
}

# The divider label: a static of the sheet with the DividerText, centred on the divider line,
# its left edge at the page's left edge in the sheet (offset -1,0).
check_label() {  # what
  local text divider label
  text=$(value Setup ProductName)
  divider=$(ui rect "$SHEET" 12326 | tr -d '\r')
  label=$(ui controls "$SHEET" | tr -d '\r' | awk -F'\t' -v t="$text" '$2 == "Static" && $5 == t && $3 == 1 { print $6; exit }')
  if [ -z "$label" ]; then fail "$1: no divider label shown"; return; fi
  IFS=, read -r dl dt dr db <<< "$divider"
  IFS=, read -r ll lt lr lb <<< "$label"
  expect_eq $((dt - (lb - lt) / 2)) "$lt" "$1: label centred on the divider line"
  if [ "$ll" -gt 0 ] && [ "$ll" -lt 40 ]; then pass "$1: label at the page's left edge"; else fail "$1: label at x $ll"; fi
}

walk() {  # dpi-suffix (empty or 144) strip
  local suffix=$1 strip=$2
  start_runner "$media" install
  wait_sheet "$(value Welcome Title)"
  wait_for "10 11 00" "Welcome shown" wizard_buttons

  # Welcome: the picture at the sheet's top-left corner, the back colour to the divider line.
  local picture=welcome$suffix.bmp pw ph divider dl dt dr
  pw=$(identify -format %w "$media/$picture")
  ph=$(identify -format %h "$media/$picture")
  client_rect "$SHEET"
  local sl=$CLIENT_LEFT st=$CLIENT_TOP sr=$CLIENT_RIGHT
  divider=$(ui rect "$SHEET" 12326 | tr -d '\r')
  IFS=, read -r dl dt dr db <<< "$divider"
  screenshot
  keep_screenshot "welcome$suffix"
  expect_eq "0 $((sr - sl))" "$dl $dr" "Welcome$suffix: the divider line spans the sheet"
  expect_eq "$(file_pixel "$media/$picture" 1 1)" "$(pixel $((sl + 1)) $((st + 1)))" "Welcome$suffix: picture at the corner"
  local last_row=$((dt - 1 < ph - 1 ? dt - 1 : ph - 1))
  expect_eq "$(file_pixel "$media/$picture" $((pw - 1)) $last_row)" "$(pixel $((sl + pw - 1)) $((st + last_row)))" "Welcome$suffix: picture at full size"
  expect_eq "$white" "$(pixel $((sl + pw + 2)) $((st + dt - 2)))" "Welcome$suffix: back colour down to the divider"
  expect_eq "$white" "$(pixel $((sr - 2)) $((st + 2)))" "Welcome$suffix: back colour to the right edge"
  if [ "$(pixel $((sl + 2)) $((st + dt + 8)))" != "$white" ]; then pass "Welcome$suffix: no back colour below the divider"
  else fail "Welcome$suffix: back colour below the divider"; fi

  press next "$(value License Title)"
  wait_for "11 10 00" "agreement page shown" wizard_buttons
  check_band License "$strip" "header$suffix.bmp" "agreement$suffix"
  check_label "agreement$suffix"
  keep_screenshot "agreement$suffix"
  ui check "$(current_page)" 102 1
  wait_for "11 11 00" "agreement accepted" wizard_buttons
  press next "$(value Destination Title)"
  wait_for "11 11 00" "destination page shown" wizard_buttons
  check_band Destination "$strip" "header$suffix.bmp" "destination$suffix"
  check_label "destination$suffix"
  keep_screenshot "destination$suffix"
  press next "$(value ProgFolder Title)"
  wait_for "11 00 11" "program folder page shown" wizard_buttons
  check_band ProgFolder "$strip" "header$suffix.bmp" "program folder$suffix"
  keep_screenshot "program-folder$suffix"
  ui sheet "$SHEET" cancel
  wait_runner
  expect_eq "1223 1" "$(result status) $(result richEdit)" "cancelled; the rich-text library was loaded"
}

# 96 DPI: a strip of 2.5 pixels rounds to 3.
walk "" 3

# 144 DPI: the 144 variants of the images, and a strip of 2.5 * 1.5 = 3.75 pixels, so 4.
$WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w
walk 144 4

scenario_end
