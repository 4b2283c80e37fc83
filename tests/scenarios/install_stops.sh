#!/usr/bin/env bash
# Runs that stop: the disk-space warning (OK asks again, Cancel ends silently), a missing
# required source, an optional source in a missing folder, a main program without a version,
# paths that do not fit.
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
# A missing required source, file or tree, stops the run in the size step, before the first copy;
# an optional source whose folder is missing is not a plain "missing": error 3.
missing=$WORK/missing
mkdir -p "$missing" "$DRIVE/Missing"
echo first > "$missing/first.txt"
for entry in "absent.txt=0|2|Unable to open file ($(windows_path "$missing")\\absent.txt)" 'nowhere\optional.txt=4|3|' \
  "[InstallDirs]|absent=0|3|Unable to open file ($(windows_path "$missing")\\absent)"; do
  [[ $entry == \[* ]] && section=${entry%%|*} entry=${entry#*|} || section=
  IFS='|' read -r line code text <<< "$entry"
  crlf '[InstallFiles]' 'first.txt=0' "$section" "$line" > "$missing/setup.ini"
  start_install "$missing" 'C:\Missing'
  end_install
  expect_eq "$code|" "$(field "$OUT" code)|$(ls "$DRIVE/Missing")" "$line: the failure's code; nothing copied, no folder, no log"
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
# Paths joined from the script are never cut to fit, since a cut path names another file: a target,
# or a shortcut's target, that does not fit stops the run with the whole path in the failure.
name=$(printf 'd%.0s' $(seq 1 245)) long=$(printf 'k%.0s' $(seq 1 250))
mkdir -p "$DRIVE/$name" "$DRIVE/Apps"
echo live > "$DRIVE/$name/readme.txt"  # the deep folder's readme.txt is exactly 259 characters
echo new > "$missing/readme.txt.bak"
for entry in "C:\\$name|readme.txt.bak=0||C:\\$name\\readme.txt.bak" "C:\\Apps|first.txt=0|sub\\$long.exe=Long|C:\\Apps\\sub\\$long.exe"; do
  IFS='|' read -r dir file shortcut text <<< "$entry"
  crlf '[InstallFiles]' "$file" '' '[InstallShortcuts]' "$shortcut" > "$missing/setup.ini"
  start_install "$missing" "$dir" folder=Vandrel flags=1
  end_install
  expect_eq 206 "$(field "$OUT" code)" "a path that does not fit stops the run"
  expect_contains "$(field "$OUT" text)" "$text" "the failure names the whole path"
done
expect_eq "live|gone" "$(cat "$DRIVE/$name/readme.txt")|$(exists "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Vandrel/Long.lnk")" \
  "the file under the cut name untouched; no shortcut to a cut target"
scenario_end
