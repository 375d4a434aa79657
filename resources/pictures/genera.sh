#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick. Run once after changing a picture; the
# outputs are kept in the repository, so the build does not need ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
FONT=DejaVu-Sans-Bold

# 48x48: a closed book with a question mark (a question about the decoder).
convert -size 48x48 xc:none \
  -fill '#1d4f91' -stroke '#0c2c57' -strokewidth 1.5 -draw 'roundrectangle 8,4 40,43 3,3' \
  -fill '#f4f1e6' -stroke '#9a9480' -strokewidth 1 -draw 'rectangle 11,38 39,42' \
  -fill '#0c2c57' -stroke none -draw 'rectangle 8,4 12,43' \
  -fill '#ffd54a' -font "$FONT" -pointsize 26 -gravity center -annotate +3-2 '?' \
  -depth 8 -strip libro.png

# 32x32: an "i" in a speech bubble (information).
convert -size 32x32 xc:none \
  -fill '#ffffff' -stroke '#1d6fd1' -strokewidth 2 -draw 'roundrectangle 2,2 29,22 6,6' \
  -draw 'polygon 8,21 8,30 15,21' -stroke none -draw 'rectangle 9,19 14,22' \
  -fill '#1d6fd1' -font "$FONT" -pointsize 17 -gravity north -annotate +0+2 'i' \
  -depth 8 -strip info.png

# 32x32: a floppy disk (values stored).
convert -size 32x32 xc:none \
  -fill '#2c3e57' -stroke '#111a26' -strokewidth 1 -draw 'polygon 3,3 25,3 29,7 29,29 3,29' \
  -fill '#c9d1dc' -stroke none -draw 'rectangle 9,3 23,12' \
  -fill '#2c3e57' -draw 'rectangle 18,5 21,10' \
  -fill '#f3f3f0' -draw 'rectangle 7,17 25,29' \
  -fill '#c0392b' -draw 'rectangle 7,17 25,19' \
  -depth 8 -strip disquete.png

# 32x32: a desktop computer (the button that shows this computer's information).
convert -size 32x32 xc:none \
  -fill '#d9dde3' -stroke '#4a5261' -strokewidth 1.5 -draw 'roundrectangle 3,3 28,21 2,2' \
  -fill '#2f6db5' -stroke none -draw 'rectangle 6,6 25,18' \
  -fill '#4a5261' -draw 'rectangle 13,22 18,25' -draw 'roundrectangle 7,25 24,28 1,1' \
  -depth 8 -strip pc.png

# 16x16: a globe, beside each language of the language list.
convert -size 16x16 xc:none \
  -fill '#3b8fd9' -stroke '#1b4f80' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,1' \
  -fill none -stroke '#d8ecff' -draw 'ellipse 7.5,7.5 3,6.5 0,360' \
  -draw 'line 1.5,7.5 13.5,7.5' -draw 'line 2.5,4.5 12.5,4.5' -draw 'line 2.5,10.5 12.5,10.5' \
  -depth 8 -strip idioma.png

# 220x64: the maker's logo.
convert -size 220x64 xc:white \
  -fill '#1d4f91' -draw 'roundrectangle 4,8 52,56 8,8' \
  -fill white -font "$FONT" -pointsize 38 -gravity northwest -annotate +13+7 'K' \
  -fill '#1d4f91' -pointsize 24 -annotate +62+10 'Kalvex' \
  -fill '#6b7785' -font DejaVu-Sans -pointsize 15 -annotate +63+38 'S Y S T E M S' \
  -depth 8 -strip logo.png

# A "photograph": a lit gradient with grain and a soft blur, so it reads as a photo. The grain
# is a fixed hash of the pixel position, so every run draws the same picture.
fondo() { # width height from to, written as PNG to standard output
  convert -size "$1x$2" gradient:"$3"-"$4" \
    -fx 'u + 0.06*(sin(i*12.9898 + j*78.233)*43758.5453 - floor(sin(i*12.9898 + j*78.233)*43758.5453) - 0.5)' -blur 0x0.6 png:-
}

# 150x210: a decoder board in its housing, its programming button circled in red.
fondo 150 210 '#7d8794' '#3b424c' | convert png:- \
  -fill '#e9e6dc' -stroke '#a19d90' -strokewidth 2 -draw 'roundrectangle 22,14 128,196 8,8' \
  -fill '#1f6b3a' -stroke '#134526' -strokewidth 1 -draw 'rectangle 34,28 116,150' \
  -fill '#222222' -stroke none -draw 'rectangle 46,44 86,70' -draw 'rectangle 50,90 80,106' \
  -fill '#c7a24a' -draw 'rectangle 36,160 114,178' \
  -fill '#555555' -draw 'rectangle 40,164 46,174' -draw 'rectangle 52,164 58,174' \
  -draw 'rectangle 64,164 70,174' -draw 'rectangle 76,164 82,174' \
  -fill '#d8d8d8' -stroke '#666666' -draw 'circle 100,124 100,116' \
  -fill '#b0b0b0' -stroke none -draw 'circle 100,124 100,120' \
  -fill none -stroke '#e01010' -strokewidth 4 -draw 'circle 100,124 100,104' \
  -blur 0x0.4 -quality 88 -strip decoder.jpg

# 150x190: an entrance door panel, the installations the program serves (About box).
fondo 150 190 '#c9d6e3' '#6f7f8f' | convert png:- \
  -fill '#8a6a4a' -stroke none -draw 'rectangle 0,120 150,190' \
  -fill '#b9b5ad' -stroke '#807c74' -strokewidth 2 -draw 'roundrectangle 45,20 105,170 6,6' \
  -fill '#2a2f36' -stroke none -draw 'rectangle 55,32 95,52' \
  -fill '#444a52' -draw 'circle 75,70 75,62' \
  -fill '#dcdcdc' -stroke '#8b8b8b' -strokewidth 1 \
  -draw 'roundrectangle 55,90 95,102 3,3' -draw 'roundrectangle 55,108 95,120 3,3' \
  -draw 'roundrectangle 55,126 95,138 3,3' -draw 'roundrectangle 55,144 95,156 3,3' \
  -blur 0x0.5 -quality 88 -strip entrada.jpg

# 140x120: the digitizer, a keypad unit with its display.
fondo 140 120 '#a8b0b8' '#5c646c' | convert png:- \
  -fill '#3a3f45' -stroke '#202428' -strokewidth 2 -draw 'roundrectangle 20,8 120,112 8,8' \
  -fill '#7fd36b' -stroke none -draw 'rectangle 32,18 108,34' \
  -fill '#d0d4d8' \
  -draw 'roundrectangle 34,44 52,58 2,2' -draw 'roundrectangle 61,44 79,58 2,2' \
  -draw 'roundrectangle 88,44 106,58 2,2' -draw 'roundrectangle 34,64 52,78 2,2' \
  -draw 'roundrectangle 61,64 79,78 2,2' -draw 'roundrectangle 88,64 106,78 2,2' \
  -draw 'roundrectangle 34,84 52,98 2,2' -draw 'roundrectangle 61,84 79,98 2,2' \
  -draw 'roundrectangle 88,84 106,98 2,2' \
  -blur 0x0.4 -quality 88 -strip digitalizador.jpg
