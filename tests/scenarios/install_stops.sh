#!/usr/bin/env bash
# Runs that stop before anything is copied: the disk-space warning with its figures, OK asking
# again and Cancel ending silently; a missing required source; an optional source in a folder
# that is missing. A failed fresh install leaves no log.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

media=$WORK/media
mkdir -p "$media" "$DRIVE/Space"
head -c 3000 /dev/zero | tr '\0' x > "$media/data.bin"
crlf '[InstallFiles]' 'data.bin=0' > "$media/setup.ini"
space_text() {  # required-KB available-KB
  printf 'There is not enough free disk space to complete the installation.\\r\\nSpace required: %s KB\\r\\nSpace available: %s KB\\r\\nPlease free up some disk space.' "$1" "$2"
}

# 1. 3000 bytes with 1,000,000 free: 1027 KB required, 977 KB available. OK asks again,
#    Cancel ends the run with no further box.
start_install "$media" 'C:\Space' free=1000000
box=$(ui answer 1 30000)
expect_eq "Warning" "$(field "$box" caption)" "warning caption"
expect_eq "$(space_text 1027 977)" "$(field "$box" text)" "warning text with the figures"
box=$(ui answer 2 30000)
expect_eq "$(space_text 1027 977)" "$(field "$box" text)" "OK asks again"
end_install
expect_eq 1223 "$(field "$OUT" code)" "Cancel stores the cancellation"
expect_eq 0 "$(field "$OUT" result)" "a cancelled run answers 0"
expect_eq 1 "$(field "$OUT" owner_enabled)" "the owner is enabled again"
expect_gone "$DRIVE/Space/data.bin" "nothing is copied"
expect_gone "$DRIVE/Space/setup.ini" "the cancelled install leaves no log"

# 2. Free space of exactly the sum plus 1 MB still warns; one byte more does not.
start_install "$media" 'C:\Space' free=$((3000 + 1048576))
box=$(ui answer 2 30000)
expect_eq "$(space_text 1027 1027)" "$(field "$box" text)" "the comparison is strict"
end_install
install_ok "$media" 'C:\Space' free=$((3000 + 1048577))
expect_contains "$(field "$BOX" text)" "successfully installed" "enough space: no warning"
expect_there "$DRIVE/Space/data.bin" "then the file is copied"

# 3. A required source that is missing stops the run in the size step, before the first
#    entry is copied, and the box at the end is left to the caller.
missing=$WORK/missing
mkdir -p "$missing" "$DRIVE/Missing"
echo first > "$missing/first.txt"
crlf '[InstallFiles]' 'first.txt=0' 'absent.txt=0' > "$missing/setup.ini"
start_install "$missing" 'C:\Missing'
end_install
expect_eq 2 "$(field "$OUT" code)" "the missing file's code"
expect_contains "$(field "$OUT" text)" "\\r\\nUnable to open file ($(windows_path "$missing")\\absent.txt)" \
  "the failure names the missing file"
expect_gone "$DRIVE/Missing/first.txt" "nothing is copied before the failure"
expect_gone "$DRIVE/Missing/setup.ini" "the failed install leaves no log"

# 4. An optional source whose folder is missing is not a plain "missing": error 3 stops the run.
crlf '[InstallFiles]' 'first.txt=0' 'nowhere\optional.txt=4' > "$missing/setup.ini"
start_install "$missing" 'C:\Missing'
end_install
expect_eq 3 "$(field "$OUT" code)" "a missing folder on the way to an optional file"
expect_gone "$DRIVE/Missing/first.txt" "nothing is copied then either"

scenario_end
