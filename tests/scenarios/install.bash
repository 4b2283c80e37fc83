# Steps shared by the install-run scenarios: the runner, media folders and log checks.
# Sourced after lib.bash.
RUNNER=$BUILD_DIR/tests/install_runner.exe
DRIVE=$WINEPREFIX/drive_c

# Starts the install run in the background on MEDIA's setup.ini:
#   start_install MEDIA-UNIX-PATH INSTALL-DIR-WINDOWS [runner options...]
start_install() {
  local media=$1
  shift
  $WINE "$RUNNER" "$(windows_path "$media")" "$@" > "$WORK/install.out" 2>&1 &
  INSTALL_PID=$!
}

# Waits for the started run (fails after 60 s) and puts its output in OUT.
end_install() {
  local i
  for i in $(seq 1 600); do
    kill -0 "$INSTALL_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$INSTALL_PID" 2>/dev/null; then
    fail "the install run did not end within 60 s"
    kill "$INSTALL_PID" 2>/dev/null
  fi
  wait "$INSTALL_PID" 2>/dev/null
  OUT=$(tr -d '\r' < "$WORK/install.out")
}

# A whole run that ends with one message box, answered with OK; BOX holds what it said.
install_ok() {
  start_install "$@"
  BOX=$(ui answer 1 30000) || fail "no message box at the end of the run"
  end_install
  expect_eq 0 "$(field "$OUT" code)" "the run succeeds (status: $(field "$OUT" text))"
}

# Text lines joined with CR LF, each line ended by one.
crlf() { printf '%s\r\n' "$@"; }

# Compares a file's bytes with the lines given, each ended by CR LF.
expect_lines() {  # path what line...
  local expected
  printf -v expected '%s\r\n' "${@:3}"
  expect_file "$1" "$expected" "$2"
}

# Compares a file's bytes with the expected text; shows both on a difference.
expect_file() {  # path expected what
  local actual
  actual=$(cat "$1" 2>/dev/null; printf x)
  actual=${actual%x}
  if [ "$actual" == "$2" ]; then pass "$3"; else
    fail "$3"
    echo "--- expected"; printf '%s' "$2" | cat -A
    echo "--- actual"; printf '%s' "$actual" | cat -A
  fi
}

# One registry value as reg query prints it: type, four blanks, data; nothing when missing.
reg_value() {  # key value
  $WINE reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="    $2    " \
    'index($0, name) == 1 { print substr($0, length(name) + 1) }'
}

# The names of a key's values, one a line.
reg_names() {
  $WINE reg query "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^    \(.*\)    REG_[A-Z_]*    .*$/\1/p'
}

UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)'
SETUP_KEY='HKLM\Software\Quernell\Vandrel Setup\1.0'
LOG_REGISTRY_LINE='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvantis Vandrel (64-bit)=0'
