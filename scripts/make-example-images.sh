#!/usr/bin/env bash
# Draws the bitmaps of the example media (examples/) with ImageMagick: the Welcome picture and
# the header image, each for 96 and 144 DPI screens. Run it again after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")/../examples"

# welcome.bmp: a tall picture at the Welcome page's left edge.
welcome() {  # file scale
  local w=$((150 * $2 / 2)) h=$((352 * $2 / 2))
  convert -size ${w}x${h} gradient:'#0b2e4f'-'#1f7a8c' \
    -fill '#ffffff' -stroke none \
    -draw "polygon $((w / 2)),$((h * 22 / 100)) $((w * 80 / 100)),$((h * 40 / 100)) $((w * 20 / 100)),$((h * 40 / 100))" \
    -fill '#f4a261' -draw "polygon $((w / 2)),$((h * 28 / 100)) $((w * 68 / 100)),$((h * 38 / 100)) $((w * 32 / 100)),$((h * 38 / 100))" \
    -fill '#ffffff' -draw "rectangle $((w * 20 / 100)),$((h * 43 / 100)) $((w * 80 / 100)),$((h * 44 / 100))" \
    +dither -colors 256 -type Palette -compress None BMP3:"$1"
}

# header.bmp: the image at the right end of the header bands, fading in from white.
header() {  # file scale
  local w=$((110 * $2 / 2)) h=$((56 * $2 / 2))
  convert -size ${h}x${w} gradient:'#ffffff'-'#1f7a8c' -rotate -90 \
    -fill '#0b2e4f' -stroke none \
    -draw "polygon $((w * 70 / 100)),$((h * 18 / 100)) $((w * 88 / 100)),$((h * 78 / 100)) $((w * 52 / 100)),$((h * 78 / 100))" \
    -fill '#f4a261' -draw "polygon $((w * 70 / 100)),$((h * 38 / 100)) $((w * 80 / 100)),$((h * 70 / 100)) $((w * 60 / 100)),$((h * 70 / 100))" \
    +dither -colors 256 -type Palette -compress None BMP3:"$1"
}

welcome welcome.bmp 2
welcome welcome144.bmp 3
header header.bmp 2
header header144.bmp 3
