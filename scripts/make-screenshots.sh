#!/usr/bin/env bash
# Makes the README's pictures in docs/screenshots/ (or $SCREENSHOT_OUT) from setup.exe itself:
# the demo walk drives it on a virtual display, in a Wine prefix of its own with Wine's fonts,
# through an install of the example media, an update, a removal, an install with the classic
# destination and file-types pages and its removal, all at 96 DPI, and an install at 144 DPI.
# The pictures are replaced only when every one of them was taken; the pictures of each walk
# stay in build/screenshot-work/shots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
build=${BUILD_DIR:-$root/build}
out=${SCREENSHOT_OUT:-$root/docs/screenshots}
source "$root/scripts/wine-env.bash"
source "$root/scripts/demo-walk.bash"

work=$build/screenshot-work
rm -rf "$work"
mkdir -p "$work/shots"
export WINEPREFIX=$work/prefix
start_xvfb force
trap 'wineserver -k >/dev/null 2>&1 || true; stop_xvfb' EXIT
echo "Making a Wine prefix for the pictures..."
make_wine_prefix "$WINEPREFIX"

# The example media, with one large file more: its copy keeps the progress window up long
# enough to be pictured (the example's own files are copied in a blink).
example_media() {  # folder
  rm -rf "$1"
  cp -a "$root/examples" "$1"
  cp "$build/setup.exe" "$1/setup.exe"
  head -c $((96 * 1024 * 1024)) /dev/zero > "$1/vandrel.dat"
  sed -i 's/^\[InstallFiles\]\r\?$/&\nvandrel.dat=0/' "$1/setup.ini"
}

# The same media without [Destination] FileTypes: the classic destination page, and a last
# page for the file types of [InstallFileTypes].
classic_media() {  # folder
  example_media "$1"
  sed -i 's/^FileTypes=1/FileTypes=0/' "$1/setup.ini"
  printf '%s\n' '[InstallFileTypes]' 'vdl=1Corvantis Vandrel drawing' 'vdt=1Corvantis Vandrel template' \
    'png=0PNG image' 'tif=0TIFF image' >> "$1/setup.ini"
}

# One run of setup.exe, walked, with its pictures in shots/NAME; it must end with the code given.
walk() {  # name media expected-exit-code
  echo "== $1"
  local shots=$work/shots/$1
  mkdir -p "$shots"
  if ! demo_walk "$2" "$shots"; then
    echo "setup.exe ended with exit code $DEMO_EXIT"
    echo "make-screenshots: the walk '$1' met a window it does not know; no picture was replaced" >&2
    exit 1
  fi
  echo "setup.exe ended with exit code $DEMO_EXIT"
  if [ "$DEMO_EXIT" != "$3" ]; then
    echo "make-screenshots: the walk '$1' should end with exit code $3; no picture was replaced" >&2
    exit 1
  fi
}

# Copies the one picture of a walk whose name matches into the new set.
keep() {  # walk pattern name
  local found=("$work/shots/$1/"$2.png)
  if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
    echo "make-screenshots: the walk '$1' has no one picture '$2' but: $(ls "$work/shots/$1" | tr '\n' ' ')" >&2
    exit 1
  fi
  cp "${found[0]}" "$work/new/$3.png"
}

example_media "$work/media"
walk install "$work/media" 0
touch "$work/media/install.txt"
DEMO_CHOICE=update walk update "$work/media" 0
rm "$work/media/install.txt"
walk removal "$work/media" 2
classic_media "$work/classic"
walk classic "$work/classic" 0
walk classic-removal "$work/classic" 2

# Wine takes the screen's DPI from the user's LogPixels (before the machine-wide value under
# Hardware Profiles, which it falls back to); a new server reads it.
$WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w
walk install144 "$work/media" 0

mkdir -p "$work/new"
keep install '*-page-corvantis-vandrel-4-2-setup' welcome
keep install '*-page-licence-agreement' agreement
keep install '*-page-installation-options' destination
keep install '*-page-program-folder' program-folder
keep install '*-message-the-folder-*' create-folder
keep install '*-progress-*' progress
keep install '*-message-corvantis-vandrel-has-been-successfully-installed*' installed
keep update '*-page-welcome' update-or-remove
keep removal '*-page-welcome' removal
keep removal '*-message-corvantis-vandrel-has-been-successfully-removed*' removed
keep classic '*-page-choose-destination-location' destination-classic
keep classic '*-page-file-types' file-types
keep install144 '*-page-corvantis-vandrel-4-2-setup' welcome144
keep install144 '*-page-licence-agreement' agreement144
keep install144 '*-page-installation-options' destination144

mkdir -p "$out"
rm -f "$out"/*.png
cp "$work/new/"*.png "$out/"
echo "Pictures written to $out: $(cd "$out" && ls *.png | tr '\n' ' ')"
# The prefix and the media take a gigabyte; the walks' own pictures stay for a look.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
rm -rf "$work/prefix" "$work/media" "$work/classic"
