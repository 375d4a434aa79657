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

# 20x20 button glyphs of the editors: consecutive codes (the digits 123), clear (a red
# cross), save (a small floppy disk), close (an open door).
convert -size 20x20 xc:none -fill '#1d4f91' -font "$FONT" -pointsize 10 -gravity center \
  -annotate +0+0 '123' -depth 8 -strip cifras.png
convert -size 20x20 xc:none -stroke '#d01818' -strokewidth 3.2 \
  -draw 'line 4,4 15,15' -draw 'line 15,4 4,15' -depth 8 -strip borrar.png
convert -size 20x20 xc:none \
  -fill '#2c3e57' -stroke '#111a26' -strokewidth 1 -draw 'polygon 2,2 15,2 18,5 18,18 2,18' \
  -fill '#c9d1dc' -stroke none -draw 'rectangle 6,2 14,7' \
  -fill '#f3f3f0' -draw 'rectangle 5,11 15,18' -depth 8 -strip guardar.png
convert -size 20x20 xc:none \
  -fill '#8a6a4a' -stroke '#5a4028' -strokewidth 1 -draw 'rectangle 4,2 15,18' \
  -fill '#f3f3f0' -stroke none -draw 'polygon 4,2 11,5 11,19 4,18' \
  -fill '#5a4028' -draw 'circle 9,11 9,12' -depth 8 -strip cerrar.png
# Configuration files and the current values, 20x20: a sheet with an arrow going into it
# (save to a file), a sheet with an arrow coming out of it (load from a file), and an arrow
# turning back (the current values into the New column).
convert -size 20x20 xc:none \
  -fill '#f3f3f0' -stroke '#4a5261' -strokewidth 1 -draw 'polygon 3,1 11,1 15,5 15,19 3,19' \
  -fill '#c9d1dc' -draw 'polygon 11,1 11,5 15,5' \
  -fill '#1d8f3a' -stroke none -draw 'rectangle 8,6 11,11' -draw 'polygon 5,11 14,11 9.5,16' \
  -depth 8 -strip fichero_guarda.png
convert -size 20x20 xc:none \
  -fill '#f3f3f0' -stroke '#4a5261' -strokewidth 1 -draw 'polygon 3,1 11,1 15,5 15,19 3,19' \
  -fill '#c9d1dc' -draw 'polygon 11,1 11,5 15,5' \
  -fill '#1d4f91' -stroke none -draw 'rectangle 8,11 11,17' -draw 'polygon 5,11 14,11 9.5,6' \
  -depth 8 -strip fichero_carga.png
convert -size 20x20 xc:none \
  -fill none -stroke '#1d4f91' -strokewidth 2.6 -draw 'line 6,6.5 12,6.5' \
  -draw 'arc 7,6.5 18,17 -90,90' -draw 'line 12,17 5,17' \
  -fill '#1d4f91' -stroke none -draw 'polygon 1,6.5 7,1.5 7,11.5' \
  -depth 8 -strip actuales.png

# Editor pictures, 120x170: a decoder board with its output terminals, labelled with the
# number of outputs (4 or 8), and the panel decoder with its class letter D.
placa() { # file terminals label
  local bornes="" x
  for ((x = 0; x < $2; x++)); do
    bornes+=" -draw 'rectangle $((22 + x * 80 / $2)),132 $((22 + x * 80 / $2 + 60 / $2)),146'"
  done
  eval convert -size 120x170 xc:none \
    -fill "'#e9e6dc'" -stroke "'#a19d90'" -strokewidth 2 -draw "'roundrectangle 8,6 112,164 8,8'" \
    -fill "'#1f6b3a'" -stroke "'#134526'" -strokewidth 1 -draw "'rectangle 18,18 102,124'" \
    -fill "'#222222'" -stroke none -draw "'rectangle 28,30 62,54'" -draw "'rectangle 70,30 92,44'" \
    -fill "'#c7a24a'" -draw "'rectangle 18,128 102,150'" -fill "'#555555'" $bornes \
    -fill "'#d8d8d8'" -stroke "'#666666'" -draw "'circle 84,104 84,97'" \
    -fill white -stroke none -font "$FONT" -pointsize 26 -gravity center -annotate +0+8 "'$3'" \
    -depth 8 -strip "$1"
}
placa decoder4.png 4 4
placa decoder8.png 8 8
placa panel.png 4 D

# The sensors (class letter A), relays (B) and Torvik (T) decoders' editor pictures.
placa sensores.png 8 A
placa reles.png 8 B
placa torvik.png 2 T

# 16x16 pictures of the sensors' time units (a clock face with s or m) and of the relays'
# initial states (a lit green lamp for ON, an unlit grey one for OFF).
reloj() { # file letter
  convert -size 16x16 xc:none -fill '#ffffff' -stroke '#1d4f91' -strokewidth 1.5 \
    -draw 'circle 7.5,7.5 7.5,1' -fill '#1d4f91' -stroke none -font "$FONT" -pointsize 9 \
    -gravity center -annotate +0+0 "$2" -depth 8 -strip "$1"
}
reloj segundos.png s
reloj minutos.png m
convert -size 16x16 xc:none -fill '#2fbf4a' -stroke '#17702a' -strokewidth 1.5 \
  -draw 'circle 7.5,7.5 7.5,1.5' -fill '#c8f5d0' -stroke none -draw 'circle 5.5,5.5 5.5,3.5' \
  -depth 8 -strip encendido.png
convert -size 16x16 xc:none -fill '#9aa0a8' -stroke '#4a5058' -strokewidth 1.5 \
  -draw 'circle 7.5,7.5 7.5,1.5' -depth 8 -strip apagado.png

# Service windows. 16x16 status pictures of the devices test: answered (a white tick on
# green), not answered (a white bar on red).
convert -size 16x16 xc:none -fill '#2e9e48' -stroke '#1d6b30' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,0.8' \
  -fill none -stroke white -strokewidth 2 -draw 'polyline 4,8 7,11 12,5' -depth 8 -strip respondido.png
convert -size 16x16 xc:none -fill '#d03a2c' -stroke '#8e2219' -strokewidth 1 -draw 'circle 7.5,7.5 7.5,0.8' \
  -fill white -stroke none -draw 'rectangle 4,6.5 11,8.5' -depth 8 -strip sin_respuesta.png
# 20x20 find glyph: a magnifying glass.
convert -size 20x20 xc:none -fill '#dbe9f7' -stroke '#1d4f91' -strokewidth 2.2 -draw 'circle 8,8 8,2.5' \
  -stroke '#1d4f91' -strokewidth 3.5 -draw 'line 12.5,12.5 18,18' -depth 8 -strip buscar.png
# 40x40 not-found picture: the magnifying glass over a red question mark.
convert -size 40x40 xc:none -fill '#fbe3e0' -stroke '#8e2219' -strokewidth 3 -draw 'circle 16,16 16,4' \
  -strokewidth 6 -draw 'line 25,25 37,37' \
  -fill '#d03a2c' -stroke none -font "$FONT" -pointsize 18 -gravity northwest -annotate +10+5 '?' \
  -depth 8 -strip no_encontrado.png
# 64x48 window picture: the computer on the bus line with three devices hanging from it.
convert -size 64x48 xc:none \
  -fill '#d9dde3' -stroke '#4a5261' -strokewidth 1.5 -draw 'roundrectangle 2,4 22,20 2,2' \
  -fill '#2f6db5' -stroke none -draw 'rectangle 5,7 19,17' \
  -fill '#4a5261' -draw 'rectangle 10,21 14,24' -draw 'rectangle 6,24 18,26' \
  -stroke '#1d4f91' -strokewidth 2 -draw 'line 12,27 12,34' -draw 'line 12,34 60,34' \
  -draw 'line 28,34 28,38' -draw 'line 42,34 42,38' -draw 'line 56,34 56,38' \
  -fill '#e9e6dc' -stroke '#a19d90' -strokewidth 1 \
  -draw 'roundrectangle 23,38 33,46 1,1' -draw 'roundrectangle 37,38 47,46 1,1' \
  -draw 'roundrectangle 51,38 61,46 1,1' \
  -fill '#2e9e48' -stroke none -draw 'circle 28,42 28,40.5' -draw 'circle 42,42 42,40.5' \
  -draw 'circle 56,42 56,40.5' -depth 8 -strip bus.png
