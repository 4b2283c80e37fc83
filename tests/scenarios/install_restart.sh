#!/usr/bin/env bash
# A target held open by another program: it is replaced at the next restart, the run goes on
# and asks to restart Windows; No gives the mode's put-off text, Yes answers 1.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

program=$BUILD_DIR/tests/product_program.exe
dir='C:\Busy'
media=$WORK/media
mkdir -p "$media/tree" "$DRIVE/Busy/tree"
echo "new busy" > "$media/busy.txt"
echo "new free" > "$media/free.txt"
echo "new inner" > "$media/tree/inner.txt"
crlf '[InstallFiles]' 'busy.txt=0' 'free.txt=0' '' '[InstallDirs]' 'tree=0' > "$media/setup.ini"
echo "old busy" > "$DRIVE/Busy/busy.txt"
echo "old inner" > "$DRIVE/Busy/tree/inner.txt"

lockers=()
lock_file() {  # unix-path windows-path
  rm -f "$1.locked"
  $WINE "$program" lock "$2" 120 &
  lockers+=($!)
  wait_for_file "$1.locked" 20 || fail "the file could not be locked"
}
lock_file "$DRIVE/Busy/busy.txt" "$dir\\busy.txt"
lock_file "$DRIVE/Busy/tree/inner.txt" "$dir\\tree\\inner.txt"

pending() {
  $WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r'
}

# 1. Fresh install: the question, No, the installation's put-off text.
start_install "$media" "$dir"
box=$(ui answer 7 30000)
expect_eq "Corvantis Vandrel Setup" "$(field "$box" caption)" "restart question's caption"
expect_eq "Windows must be restarted to complete the installation. Do you want to restart Windows now?" \
  "$(field "$box" text)" "the installation's restart question"
box=$(ui answer 1 30000)
expect_eq "You have chosen to end setup without restarting Windows. The installation will be completed next time Windows is restarted." \
  "$(field "$box" text)" "the installation's put-off text"
end_install
expect_eq 0 "$(field "$OUT" result)" "No answers 0"
expect_eq 0 "$(field "$OUT" code)" "a file in use is no failure"
expect_eq "old busy" "$(cat "$DRIVE/Busy/busy.txt")" "the busy file waits for the restart"
expect_eq "new free" "$(cat "$DRIVE/Busy/free.txt")" "the free file is copied"
expect_contains "$(pending)" 'Busy\busy.txt' "the busy file is replaced at restart"
expect_contains "$(pending)" 'Busy\tree\inner.txt' "a busy file of a tree is replaced at restart"
expect_lines "$DRIVE/Busy/setup.ini" "the busy files are logged like the others" '[UninstallFiles]' \
  "$dir\\busy.txt=0" "$dir\\free.txt=0" "$dir\\tree\\inner.txt=0" "$dir\\setup.ini=0" '' \
  '[UninstallDirs]' "$dir\\tree=0" "$dir=0" '' '[UninstallRegistry]' "$LOG_REGISTRY_LINE"

# 2. Update: the update's question and put-off text.
start_install "$media" "$dir" update
box=$(ui answer 7 30000)
expect_eq "Windows must be restarted to complete the update. Do you want to restart Windows now?" \
  "$(field "$box" text)" "the update's restart question"
box=$(ui answer 1 30000)
expect_eq "You have chosen to end setup without restarting Windows. The update will be completed next time Windows is restarted." \
  "$(field "$box" text)" "the update's put-off text"
end_install
expect_eq 0 "$(field "$OUT" result)" "No answers 0 in an update"

# 3. Yes: the run answers 1 and shows nothing more.
start_install "$media" "$dir" update
ui answer 6 30000 >/dev/null || fail "no restart question"
end_install
expect_eq 1 "$(field "$OUT" result)" "Yes answers 1"
expect_eq 1 "$(field "$OUT" owner_enabled)" "the owner is enabled again"

kill "${lockers[@]}" 2>/dev/null
scenario_end
