#!/usr/bin/env bash
# Files in use: left for deletion at restart, the restart question with its answers; a failure
# to schedule stops the run and keeps what comes after it.
source "$SCENARIO_LIB"

runner=$BUILD_DIR/tests/removal_runner.exe
program=$BUILD_DIR/tests/product_program.exe
dir=$WINEPREFIX/drive_c/Vandrel
win='C:\Vandrel'
mkdir -p "$dir"

run_removal() {  # log-file in the installed folder [9x]
  $WINE "$runner" "$win\\$(basename "$1")" ${2:-} > "$WORK/out" 2>&1 &
  run=$!
}

lock_file() {  # unix-path windows-path
  rm -f "$1.locked"
  $WINE "$program" lock "$2" 60 &
  locker=$!
  wait_for_file "$1.locked" 20 || fail "the file could not be locked"
}

# 1. A file held open: deletion at restart, the question, No, the put-off note.
echo busy > "$dir/busy.txt"
echo gone > "$dir/plain.txt"
printf '[UninstallFiles]\n%s\\busy.txt=0\n%s\\plain.txt=0\n' "$win" "$win" > "$dir/log1.ini"
lock_file "$dir/busy.txt" "$win\\busy.txt"
run_removal "$dir/log1.ini"
box=$(ui answer 7 30000)
expect_eq "Windows must be restarted to complete the removal. Do you want to restart Windows now?" \
  "$(field "$box" text)" "restart question"
box=$(ui answer 1 30000)
expect_eq "You have chosen to end setup without restarting Windows. The removal will be completed next time Windows is restarted." \
  "$(field "$box" text)" "put-off note after No"
wait $run
out=$(cat "$WORK/out")
expect_eq 0 "$(field "$out" result)" "No gives false"
expect_eq 0 "$(field "$out" code)" "no failure"
expect_gone "$dir/plain.txt" "the free file is deleted"
expect_there "$dir/busy.txt" "the busy file waits for the restart"
pending=$($WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
expect_contains "$pending" 'Vandrel\busy.txt' "the busy file is listed for deletion at restart"

# 2. The same with Yes: the run answers true and shows nothing more.
echo busy > "$dir/busy2.txt"
printf '[UninstallFiles]\n%s\\busy2.txt=0\n' "$win" > "$dir/log2.ini"
kill $locker 2>/dev/null
lock_file "$dir/busy2.txt" "$win\\busy2.txt"
run_removal "$dir/log2.ini"
ui answer 6 30000 >/dev/null || fail "no restart question"
wait $run
expect_eq 1 "$(field "$(cat "$WORK/out")" result)" "Yes gives true"

# 3. Windows 9x: the restart list cannot be written, so the run stops at the busy file and
#    leaves everything after it, the uninstall entry included, and shows no box.
mkdir -p "$WINEPREFIX/drive_c/windows/wininit.ini"
echo busy > "$dir/busy3.txt"
echo later > "$dir/later.txt"
printf '[UninstallFiles]\n%s\\busy3.txt=0\n%s\\later.txt=0\n' "$win" "$win" > "$dir/log3.ini"
$WINE reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)' /v DisplayName /d x /f >/dev/null 2>&1
kill $locker 2>/dev/null
lock_file "$dir/busy3.txt" "$win\\busy3.txt"
run_removal "$dir/log3.ini" 9x
for i in $(seq 1 300); do kill -0 $run 2>/dev/null || break; sleep 0.1; done
if kill -0 $run 2>/dev/null; then
  fail "the failed run did not end by itself"
  ui answer 1 2000 || true
fi
wait $run
out=$(cat "$WORK/out")
[ "$(field "$out" code)" != 0 ] && pass "the failure is in the status" || fail "no failure recorded: $out"
expect_eq 0 "$(field "$out" result)" "a failed run gives false"
expect_there "$dir/later.txt" "files after the failure stay"
reg_exists 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)' \
  && pass "the uninstall entry stays after a failure" || fail "uninstall entry deleted after a failure"
kill $locker 2>/dev/null

scenario_end
