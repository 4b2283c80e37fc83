#!/usr/bin/env bash
# Cancelling the update sheet ends setup with exit code 1 and nothing shown, not even the
# warning about a running web browser that an update gives when it goes on.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"

media=$WORK/media
make_media "$media"
printf '[Setup]\r\nEULAVersion=2\r\n[License]\r\nTitle=Licence\r\n' > "$media/setup.ini"
touch "$media/install.txt"
$WINE reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)' \
  /v UninstallString /d 'C:\Apps\Prod\setup.exe' /f >/dev/null 2>&1
cp "$TEST_CHILD" "$WORK/iexplore.exe"
$WINE "$WORK/iexplore.exe" record "$(windows_path "$WORK/started")" sleep 120000 &
wait_for_file "$WORK/started" || fail "the browser stand-in did not start"

start_setup "$media"
wait_sheet "Welcome"
ui click "$(current_page)" 105
wait_sheet "Licence"
ui sheet "$SHEET" cancel
for i in $(seq 1 300); do
  kill -0 "$SETUP_PID" 2>/dev/null || break
  if box=$(ui answer 1 200); then fail "a message after the cancel: $(field "$box" text | tr -d '\r')"; fi
done
wait_setup
expect_eq 1 "$SETUP_EXIT" "a cancelled update exits with 1"

scenario_end
