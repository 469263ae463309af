#!/bin/sh
# Renders the PNG sizes of toneloft.svg with ImageMagick's own drawing (the
# stock Debian ImageMagick has no SVG reader): the same shapes as the SVG, on
# a 512-pixel canvas (4x), scaled down. Run from this folder; the PNGs are committed.
set -e
convert -size 512x512 xc:none \
  -fill '#2b2f3a' -draw 'roundrectangle 24,24 487,487 72,72' \
  -fill '#3c4454' -draw 'roundrectangle 48,48 463,255 24,24' \
  -fill '#7fd3c9' \
  -draw 'roundrectangle 72,160 119,231 8,8' -draw 'roundrectangle 136,112 183,231 8,8' \
  -draw 'roundrectangle 200,72 247,231 8,8' -draw 'roundrectangle 264,128 311,231 8,8' \
  -draw 'roundrectangle 328,88 375,231 8,8' -draw 'roundrectangle 392,176 439,231 8,8' \
  -fill '#f2f2ee' -draw 'roundrectangle 48,288 463,463 16,16' \
  -stroke '#2b2f3a' -strokewidth 6 \
  -draw 'line 108,288 108,463' -draw 'line 168,288 168,463' -draw 'line 228,288 228,463' \
  -draw 'line 288,288 288,463' -draw 'line 348,288 348,463' -draw 'line 408,288 408,463' \
  -stroke none -fill '#1d2028' \
  -draw 'rectangle 88,288 123,391' -draw 'rectangle 148,288 183,391' \
  -draw 'rectangle 268,288 303,391' -draw 'rectangle 328,288 363,391' -draw 'rectangle 388,288 423,391' \
  icons/toneloft-512.png
for size in 16 32 48 64 128 256; do
    convert icons/toneloft-512.png -resize ${size}x${size} icons/toneloft-$size.png
done
rm icons/toneloft-512.png
