#!/usr/bin/env bash
# The folder that holds setup.exe, and every folder inside it, is refused as the installation
# folder with the "invalid destination" message, before anything is created there; a sibling
# whose name merely begins the same way is accepted.
source "$SCENARIO_LIB"
source "$(dirname "$SCENARIO_LIB")/install.bash"
source "$(dirname "$SCENARIO_LIB")/wizard.bash"
source "$(dirname "$SCENARIO_LIB")/setup_e2e.bash"

media=$WORK/media
make_e2e_media "$media"
mkdir -p "$media/data/deep" "${media}2"
win=$(windows_path "$media")

start_setup_in "$media"
wait_sheet "Welcome to Vandrel"
press next "Licence"
ui check "$(current_page)" 102 1
wait_for "11 11 00" "agreement accepted" wizard_buttons >/dev/null
press next "Choose Destination Location"

refused() {  # path what
  ui set-text "$(current_page)" 104 "$1"
  ui sheet "$SHEET" next
  local box
  box=$(answer_box 1)
  expect_eq "The destination folder that you have entered is invalid. Please choose or enter another folder." \
    "$(field "$box" text)" "$2 is refused"
  expect_eq "Choose Destination Location" "$(caption)" "$2: the page stays"
}
refused "$win" "the media folder"
refused "$win\\data\\deep" "a folder inside the media"
refused "${win,,}\\new\\deeper" "a missing folder inside the media, written in other case"
refused "$win\\data\\.." "the media folder reached through .."
expect_gone "$media/new" "nothing is created inside the media"

ui set-text "$(current_page)" 104 "${win}2"
press next "Select Program Folder"
ui sheet "$SHEET" cancel
wait_setup
expect_eq 1 "$SETUP_EXIT" "Cancel after the refusals exits with 1"

scenario_end
