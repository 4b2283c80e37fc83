# Steps shared by the scenarios that follow setup's traces on the machine: pending renames,
# a simulated restart, snapshots of the prefix. Sourced after lib.bash.

# The renames and deletions waiting for the next start of Windows.
pending_renames() {
  $WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null \
    | tr -d '\r'
}

# A restart as far as setup's work is concerned: every program of the prefix ends, then a new
# session applies the pending renames and deletions.
simulate_restart() {
  wineserver -w
  $WINE wineboot -r >/dev/null 2>&1
  wineserver -w
}

# What a user could find changed: every path under drive C and the folders given, with their
# sizes, and the registry's keys and values. Left out: Wine's times of change and what Wine
# writes anew in every session (device classes, network cards) or for console programs.
machine_snapshot() {  # file [folder...]
  local file=$1 folder
  shift
  wineserver -w
  { (cd "$WINEPREFIX/drive_c" && find . -path ./windows/temp -prune -o -printf '%p %s\n' | LC_ALL=C sort)
    for folder in "$@"; do (cd "$folder" && find . -printf "$folder/%p %s\n" | LC_ALL=C sort); done
    sed -e 's/^\(\[.*\]\) [0-9]*$/\1/' -e '/^#time=/d' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" \
      | awk '/^\[/ { skip = $0 ~ /^\[(System\\\\CurrentControlSet\\\\Control\\\\Class|Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\NetworkCards|Console)/ } !skip'
  } > "$file"
}

expect_machine_as() {  # snapshot-file what [folder...]
  local before=$1 what=$2
  shift 2
  machine_snapshot "$WORK/after" "$@"
  if diff -q "$before" "$WORK/after" >/dev/null; then pass "$what"; else
    fail "$what"
    diff "$before" "$WORK/after" | head -20
  fi
}
