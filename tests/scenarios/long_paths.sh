#!/usr/bin/env bash
# A path joined from the setup script is never cut to fit: a cut path names another file. An
# entry whose target does not fit, or a shortcut whose target does not fit, stops the install
# run with the whole path in the failure, and nothing is written under a shorter name.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"

media=$WORK/media
mkdir -p "$media"
echo new > "$media/readme.txt.bak"
echo a > "$media/a.txt"

# The deep folder's readme.txt ends at exactly 259 characters; readme.txt.bak would not fit.
name=$(printf 'd%.0s' $(seq 1 245))
deep="C:\\$name"
mkdir -p "$DRIVE/$name"
echo live > "$DRIVE/$name/readme.txt"
crlf '[InstallFiles]' 'readme.txt.bak=0' > "$media/setup.ini"
start_install "$media" "$deep"
end_install
expect_eq 206 "$(field "$OUT" code)" "a target that does not fit stops the run"
expect_contains "$(field "$OUT" text)" "$deep\\readme.txt.bak" "the failure names the whole target"
expect_eq live "$(cat "$DRIVE/$name/readme.txt")" "the file under the cut name is untouched"

# A shortcut's target is joined from the installation folder and the entry's key.
mkdir -p "$DRIVE/Apps"
long=$(printf 'k%.0s' $(seq 1 250))
crlf '[InstallFiles]' 'a.txt=0' '' '[InstallShortcuts]' "sub\\$long.exe=Long" > "$media/setup.ini"
start_install "$media" 'C:\Apps' folder=Vandrel flags=1
end_install
expect_eq 206 "$(field "$OUT" code)" "a shortcut target that does not fit stops the run"
expect_contains "$(field "$OUT" text)" "C:\\Apps\\sub\\$long.exe" "the failure names the whole shortcut target"
expect_gone "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Vandrel/Long.lnk" "no shortcut to a cut target"

scenario_end
