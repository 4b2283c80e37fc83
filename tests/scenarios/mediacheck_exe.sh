#!/usr/bin/env bash
# mediacheck.exe, the Windows build of the media checker, passes examples/ under Wine.
source "$SCENARIO_LIB"
cp -r "$SOURCE_DIR/examples" "$WORK/media"
$WINE "$BUILD_DIR/mediacheck.exe" "$(windows_path "$WORK/media")" > "$WORK/report.txt"
expect_eq 0 "$?" "mediacheck.exe ends with 0 on examples/"
expect_eq "0 errors, 0 warnings" "$(head -1 "$WORK/report.txt" | tr -d '\r')" "examples/ is clean"
expect_eq "media: 12 files, 1 folders" "$(grep -o '^media: [0-9]* files, [0-9]* folders' "$WORK/report.txt")" "the summary"
scenario_end
