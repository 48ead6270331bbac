#!/usr/bin/env bash
# Draws the two pictures of the tool with ImageMagick: a drawing sheet with a
# part outline and title block, and a "TIFF" band across its foot.
#   logo.gif       42 x 42, GIF (shown in the main and About windows)
#   kuptools.ico   42 x 42, one 8-bit (256 colour) icon image (the window icon)
# Run it again after changing the drawing; both files are committed.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "convert (ImageMagick) fehlt: apt-get install imagemagick" >&2; exit 1; }

draw=(
  -size 42x42 xc:none
  # sheet with folded corner and its shadow
  -fill '#5a6b7d' -stroke none -draw 'polygon 7,4 33,4 39,10 39,40 7,40'
  -fill white -stroke '#2b3a4a' -strokewidth 1 -draw 'polygon 5,2 31,2 37,8 37,38 5,38 5,2'
  -fill '#c8d3de' -draw 'polygon 31,2 31,8 37,8'
  # drawing frame and title block
  -fill none -stroke '#7f8c99' -draw 'rectangle 8,5 34,35'
  -draw 'line 22,29 34,29' -draw 'line 22,29 22,35'
  # a part: front view with a bore and its centre lines
  -stroke '#1b4f8a' -strokewidth 1.4 -draw 'rectangle 11,9 24,22'
  -draw 'circle 17.5,15.5 17.5,12.5'
  -stroke '#c0392b' -strokewidth 0.8 -draw 'line 17.5,10 17.5,21' -draw 'line 12,15.5 23,15.5'
  # "TIFF" band
  -stroke none -fill '#1b4f8a' -draw 'rectangle 2,24 26,33'
  -fill white -font DejaVu-Sans-Bold -pointsize 8 -draw "text 4,32 'TIFF'"
)

convert "${draw[@]}" -colors 255 logo.gif
# The icon from the GIF keeps its palette: one 8-bit image with a transparency mask.
convert logo.gif -type PaletteAlpha kuptools.ico
identify logo.gif kuptools.ico
