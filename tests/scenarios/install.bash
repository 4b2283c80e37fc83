# Steps of the install-run and removal-run scenarios. Sourced after lib.bash.
RUNNER=$BUILD_DIR/tests/install_runner.exe
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)'
SETUP_KEY='HKLM\Software\Quernell\Vandrel Setup\1.0'
LOG_REGISTRY_LINE='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)=0'
# The install run on MEDIA's setup.ini in the background (see install_runner.cpp for the options),
# the removal run on a log file under drive C, whose folder it takes for the installed folder;
# end_install and end_removal wait and give their output in OUT.
start_install() { local media=$1; shift; $WINE "$RUNNER" "$(windows_path "$media")" "$@" > "$WORK/install.out" 2>&1 & INSTALL_PID=$!; }
end_install() { wait_pid "$INSTALL_PID" INSTALL_EXIT; OUT=$(tr -d '\r' < "$WORK/install.out"); }
start_removal() { $WINE "$BUILD_DIR/tests/removal_runner.exe" "$(c_path "$1")" ${2:-} > "$WORK/removal.out" 2>&1 & REMOVAL_PID=$!; }
end_removal() { wait_pid "$REMOVAL_PID" REMOVAL_EXIT; OUT=$(tr -d '\r' < "$WORK/removal.out"); }
# A whole install run that ends with one message box, answered with OK.
install_ok() { start_install "$@"; answer 1; end_install; expect_eq 0 "$(field "$OUT" code)" "the run succeeds ($(field "$OUT" text))"; }
# Compares a file's bytes with the lines given, each ended by CR LF; shows both on a difference.
expect_lines() {  # path what line...
  local expected actual
  printf -v expected '%s\r\n' "${@:3}"
  actual=$(cat "$1" 2>/dev/null; printf x)
  if [ "${actual%x}" == "$expected" ]; then pass "$2"; else fail "$2"; diff <(printf '%s' "$expected") <(printf '%s' "${actual%x}") | cat -A; fi
}
# A registry value as reg query prints it; a key's values as sorted "name=type data" lines.
reg_value() { $WINE reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="    $2    " 'index($0, name) == 1 { print substr($0, length(name) + 1) }'; }
reg_values() { $WINE reg query "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^    \(.*\)    \(REG_[A-Z_]*\)    \(.*\)$/\1=\2 \3/p' | sort; }
# Holds a file open without sharing (a product program's "lock") until the scenario ends.
LOCKERS=()
lock_file() {  # unix-path
  $WINE "$BUILD_DIR/tests/product_program.exe" lock "$([[ $1 == "$DRIVE"/* ]] && c_path "$1" || windows_path "$1")" 120 & LOCKERS+=($!)
  wait_for_file "$1.locked" 20 && rm "$1.locked" || fail "$1 could not be locked"
}
