#!/usr/bin/env bash
# Runs that stop: the disk-space warning (OK asks again, Cancel ends silently), a missing
# required source, an optional source in a missing folder, a main program without a version.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
media=$WORK/media
mkdir -p "$media" "$DRIVE/Space"
head -c 3000 /dev/zero | tr '\0' x > "$media/data.bin"
crlf '[InstallFiles]' 'data.bin=0' > "$media/setup.ini"
space_text() {  # required-KB available-KB
  printf 'There is not enough free disk space to complete the installation.\\r\\nSpace required: %s KB\\r\\nSpace available: %s KB\\r\\nPlease free up some disk space.' "$1" "$2"
}
# 3000 bytes with 1,000,000 free: 1027 KB required, 977 KB available; the sum plus 1 MB still warns.
for free in 1000000 $((3000 + 1048576)); do
  start_install "$media" 'C:\Space' free=$free
  answer 1
  expect_eq "Warning|$(space_text 1027 $(((free + 1023) / 1024)))|#32770" "$(field "$BOX" caption)|$BOX_TEXT|$(field "$BOX" owner_class)" \
    "the warning with the figures, owned by the progress window ($free bytes free)"
  expect_eq "$(space_text 1027 $(((free + 1023) / 1024)))" "$(box_text 2)" "OK asks again"
  end_install
  expect_eq "1223 0 1" "$(field "$OUT" code) $(field "$OUT" result) $(field "$OUT" owner_enabled)" \
    "Cancel stores the cancellation; the owner is enabled again"
done
expect_eq "" "$(ls "$DRIVE/Space")" "nothing is copied, and the cancelled install leaves no log"
install_ok "$media" 'C:\Space' free=$((3000 + 1048577))
expect_eq "successfully installed|there" "$(grep -o 'successfully installed' <<< "$BOX_TEXT")|$(exists "$DRIVE/Space/data.bin")" "one byte more: no warning, the file copied"
# A missing required source stops the run before the first copy; an optional source whose folder
# is missing is not a plain "missing": error 3.
missing=$WORK/missing
mkdir -p "$missing" "$DRIVE/Missing"
echo first > "$missing/first.txt"
for entry in "absent.txt=0|2|Unable to open file ($(windows_path "$missing")\\absent.txt)" 'nowhere\optional.txt=4|3|'; do
  IFS='|' read -r line code text <<< "$entry"
  crlf '[InstallFiles]' 'first.txt=0' "$line" > "$missing/setup.ini"
  start_install "$missing" 'C:\Missing'
  end_install
  expect_eq "$code|" "$(field "$OUT" code)|$(ls "$DRIVE/Missing")" "$line: the failure's code; nothing copied, no log"
  expect_contains "$(field "$OUT" text)" "$text" "the failure's text for $line"
done
# A main program without a version resource stops the run after copying, without a box or a log.
cp "$BUILD_DIR/tests/product_program.exe" "$missing/main.exe"
crlf '[InstallFiles]' 'first.txt=0' 'main.exe=2' > "$missing/setup.ini"
start_install "$missing" 'C:\Missing'
end_install
expect_eq "GetFileVersionInfoSize($(windows_path "$missing")\\main.exe) failed|0|1|calls.log first.txt main.exe" \
  "$(field "$OUT" text | sed 's/.*\\n//')|$(field "$OUT" result)|$(field "$OUT" owner_enabled)|$(ls "$DRIVE/Missing" | tr '\n' ' ' | sed 's/ $//')" \
  "the version failure names the source; what was copied stays, the log does not"
scenario_end
