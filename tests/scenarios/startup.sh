#!/usr/bin/env bash
# Start-up: the minimised main window owning everything, a missing setup.ini in the system's words
# (exit 1), no second copy, and the edition the script names ("ProductName=4" under "[Vandrel]").
source "$SCENARIO_LIB"
media=$WORK/media
make_media "$media"
# No setup.ini: the debugging driver reads the main window when setup posts its quit message.
ui run-watched "$(windows_path "$media/setup.exe")" SetupWindow > "$WORK/seen" &
watcher=$!
answer 1
wait $watcher
seen=$(tr -d '\r' < "$WORK/seen")
expect_eq "Error|File not found.|SetupWindow|Corvantis Vandrel Setup" "$(field "$BOX" caption)|$(field "$BOX" text | sed 's/\\r\\n$//')|$(field "$BOX" owner_class)|$(field "$BOX" owner_title)" \
  "the system's text in an error box owned by the main window"
expect_eq "SetupWindow|Corvantis Vandrel Setup|1|1|0" "$(field "$seen" class)|$(field "$seen" title)|$(field "$seen" minimised)|$(field "$seen" exit)|$(ui count SetupWindow | tr -d '\r')" \
  "the main window: class, title, minimised; exit code 1; no window left after the run"
# A second copy: a window of class SetupWindow already exists.
ui make-window SetupWindow "Corvantis Vandrel Setup" 15000 > /dev/null &
other=$(ui wait-window SetupWindow - 10000 | tr -d '\r') || fail "the stand-in window did not appear"
start_setup "$media"
wait_setup
expect_eq "1|1" "$SETUP_EXIT|$(ui count SetupWindow | tr -d '\r')" "a second copy exits with 1 and creates no window"
ui close "$other"
ui wait-gone "$other" 5000
# The edition (the last line needs no line break; other sections and numbers leave the first).
for edition in $'[Other]\r\nProductName=4\r\n[vandrel]\r\nProductName=4|Zarn Image Viewer Setup' \
               $'[Vandrel]\r\nProductName=14\r\n[Other]\r\nProductName=4|Corvantis Vandrel Setup'; do
  make_media "$media" "${edition%|*}"
  start_setup "$media"
  sheet=$(ui wait-window "#32770" - 30000 | tr -d '\r')
  expect_eq "${edition#*|}" "$(field "$(ui info "$(ui wait-window SetupWindow - 5000 | tr -d '\r')")" title)" "the edition's title"
  ui sheet "$sheet" cancel
  wait_setup
  expect_eq 1 "$SETUP_EXIT" "Cancel on the install wizard exits with 1"
done
scenario_end
