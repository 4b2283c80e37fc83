#!/usr/bin/env bash
# Start-up of the real setup.exe: the minimised main window that owns everything, a missing
# setup script reported in the system's words with exit code 1, and the refusal to run beside
# another copy.
source "$SCENARIO_LIB"

media=$WORK/media
make_media "$media"

# No setup.ini: the driver reports the system's text for a missing file. The debugging driver
# reads the main window when setup posts its quit message.
ui run-watched "$(windows_path "$media/setup.exe")" SetupWindow > "$WORK/seen" &
watcher=$!
box=$(ui answer 1 30000)
wait $watcher
seen=$(cat "$WORK/seen")
expect_eq "Error" "$(field "$box" caption)" "the failure box has the system's caption"
[ -n "$(field "$box" text)" ] && pass "the failure is described" || fail "empty failure text"
expect_eq "SetupWindow" "$(field "$seen" class)" "main window class"
expect_eq "Corvantis Vandrel Setup" "$(field "$seen" title)" "main window title"
expect_eq "1" "$(field "$seen" minimised)" "main window shown minimised"
expect_eq 1 "$(field "$seen" exit)" "a failure exits with 1"
expect_eq 0 "$(ui count SetupWindow | tr -d '\r')" "no window is left after the run"

# A second copy: a window of class SetupWindow already exists.
ui make-window SetupWindow "Corvantis Vandrel Setup" 15000 > "$WORK/other" &
other=$!
ui wait-window SetupWindow - 10000 >/dev/null || fail "the stand-in window did not appear"
start_setup "$media"
wait_setup
expect_eq 1 "$SETUP_EXIT" "a second copy exits with 1"
expect_eq 1 "$(ui count SetupWindow | tr -d '\r')" "the second copy created no window"
kill "$other" 2>/dev/null; wait "$other" 2>/dev/null

scenario_end
