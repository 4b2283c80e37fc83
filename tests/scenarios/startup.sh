#!/usr/bin/env bash
# Start-up of the real setup.exe: the minimised main window, the exit code of a normal run,
# and the refusal to run beside another copy.
source "$SCENARIO_LIB"

media=$WORK/media
make_media "$media" ""

# The main window lives only while setup runs; the driver stops setup at its quit message and
# reads the window then.
seen=$(ui run-watched "$(windows_path "$media/setup.exe")" SetupWindow)
expect_eq "SetupWindow" "$(field "$seen" class)" "main window class"
expect_eq "Corvantis Vandrel Setup" "$(field "$seen" title)" "main window title"
expect_eq "1" "$(field "$seen" minimised)" "main window shown minimised"
expect_eq 0 "$(field "$seen" exit)" "exit code under the driver"

start_setup "$media"
wait_setup
expect_eq 0 "$SETUP_EXIT" "a normal run exits with 0"
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
