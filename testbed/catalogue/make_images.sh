#!/bin/sh
# Regenerates the sample thumbnails in thumbs/.
#
# Needs ImageMagick 6 (`apt-get install imagemagick`, for `convert`).
# CI does not have it and does not run this: the generated files are
# committed, so only run it after changing a picture, then run
# make_cabs.sh so the packages carry the new pictures.
#
# Every picture is drawn on a 96x96 canvas. Display pictures keep that
# size; emoticons are drawn at 96 and scaled down to 24x24 or 19x19,
# which gives smooth edges without hand-tuning pixels.
#
# File names must match catalogue.json (thumbs/dp<id>.<ext> and
# thumbs/emo<id>.<ext>); the extension picks the output format.
set -eu

cd "$(dirname "$0")"
mkdir -p thumbs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- output helpers --------------------------------------------------------

# Strip metadata and timestamps so regenerating an unchanged picture gives
# the same bytes, and keep the files small (the whole catalogue is committed).
save_display() { # <drawn 96x96 image> <output>
  case "$2" in
    *.png) convert "$1" -strip -define png:exclude-chunks=date,time \
             -dither FloydSteinberg -colors 255 "PNG8:$2" ;;
    *.gif) convert "$1" -strip -dither FloydSteinberg -colors 128 "$2" ;;
    *.jpg) convert "$1" -strip -sampling-factor 4:2:0 -quality 82 "$2" ;;
  esac
}

# Emoticons keep transparency where the format has it. GIF only has on/off
# transparency, so half-covered edge pixels are blended onto white (the
# usual chat window background) instead of turning dark and jagged, and the
# transparent pixels themselves are white for viewers that ignore it. JPEG has
# none, so it is flattened onto white.
save_emoticon() { # <drawn 96x96 image with alpha> <size> <output>
  case "$3" in
    *.png) convert "$1" -resize "$2x$2" -strip \
             -define png:exclude-chunks=date,time "PNG32:$3" ;;
    *.gif) convert "$1" -resize "$2x$2" \
             \( +clone -alpha extract -threshold 45% \) \
             \( -clone 0 -background white -alpha remove \) \
             -delete 0 +swap -alpha off -compose copy_opacity -composite \
             -transparent-color white -strip "$3" ;;
    *.jpg) convert "$1" -resize "$2x$2" -background white -alpha remove \
             -strip -quality 92 "$3" ;;
  esac
}

# Deterministic pseudo-random points (Park-Miller), so star fields and
# windows come out the same on every machine and every awk.
random_points() { # <count> <seed> <max x> <max y>
  awk -v n="$1" -v s="$2" -v mx="$3" -v my="$4" 'BEGIN {
    for (i = 0; i < n; i++) {
      s = (s * 16807) % 2147483647; x = s % mx
      s = (s * 16807) % 2147483647; y = s % my
      s = (s * 16807) % 2147483647; b = s % 100
      print x, y, b
    }
  }'
}

# Paints <colour> through the shape drawn by <draw> onto <image> (in place);
# used for gradients that only fill one shape.
gradient_shape() { # <image> <gradient> <draw primitive>
  convert -size 96x96 "$2" \
    \( -size 96x96 xc:black -fill white -draw "$3" \) \
    -alpha off -compose copy_opacity -composite "$work/shape.png"
  convert "$1" "$work/shape.png" -compose over -composite "$1"
}

stars() { # <image> <count> <seed> <max y>
  draw=""
  for p in $(random_points "$2" "$3" 96 "$4" | awk '{ print $1 "," $2 "," $3 }'); do
    x=${p%%,*}; rest=${p#*,}; y=${rest%%,*}; b=${rest#*,}
    if [ "$b" -lt 12 ]; then
      draw="$draw circle $x,$y $x,$((y + 1))"
    else
      draw="$draw point $x,$y"
    fi
  done
  convert "$1" -fill '#fffbe8' -stroke none -draw "$draw" "$1"
}

D="$work/d.png"

# --- display pictures: Landscapes (category 12) ----------------------------

# 101 Sunset
convert -size 96x96 gradient:'#2b1055'-'#ff9966' "$D"
gradient_shape "$D" gradient:'#fff3b0'-'#ffb347' "circle 48,64 48,44"
convert "$D" -fill '#3a1d4f' -draw "path 'M 0,66 Q 20,54 40,64 T 96,60 L 96,96 L 0,96 Z'" \
  -fill '#22113a' -draw "rectangle 0,74 96,96" \
  -fill '#ffb86b' -draw "rectangle 34,78 62,79 rectangle 38,83 58,84 rectangle 42,88 54,89 rectangle 45,92 51,93" \
  "$D"
save_display "$D" thumbs/dp101.jpg

# 102 Fjörd at Dawn
convert -size 96x96 gradient:'#9ec9f0'-'#ffd1dc' "$D"
convert "$D" \
  -fill '#5b6c9a' -draw "polygon 0,70 0,22 14,18 30,44 38,70" \
  -fill '#6f80ad' -draw "polygon 58,70 66,34 78,16 96,28 96,70" \
  -fill '#eef3ff' -draw "polygon 9,19 14,18 20,27 12,25" \
  -fill '#eef3ff' -draw "polygon 74,21 78,16 86,22 80,26" \
  "$D"
gradient_shape "$D" gradient:'#8aa6d6'-'#2f4a7a' "rectangle 0,70 96,96"
convert "$D" -fill '#ffffff' -draw "rectangle 20,76 40,77 rectangle 52,82 80,83 rectangle 10,89 26,90" \
  -fill '#ffe7a3' -draw "circle 47,62 47,57" "$D"
save_display "$D" thumbs/dp102.png

# 103 Ocean Waves
convert -size 96x96 gradient:'#bfe9ff'-'#ffffff' "$D"
convert "$D" \
  -fill '#fff4b8' -draw "circle 74,20 74,10" \
  -fill '#4aa3df' -draw "path 'M 0,50 Q 12,42 24,50 T 48,50 T 72,50 T 96,50 L 96,96 L 0,96 Z'" \
  -fill '#2b7bbf' -draw "path 'M 0,64 Q 12,56 24,64 T 48,64 T 72,64 T 96,64 L 96,96 L 0,96 Z'" \
  -fill '#1a5690' -draw "path 'M 0,78 Q 12,70 24,78 T 48,78 T 72,78 T 96,78 L 96,96 L 0,96 Z'" \
  -fill none -stroke '#e8f7ff' -strokewidth 2 \
  -draw "path 'M 0,50 Q 12,42 24,50 T 48,50 T 72,50 T 96,50'" \
  -draw "path 'M 0,64 Q 12,56 24,64 T 48,64 T 72,64 T 96,64'" \
  -draw "path 'M 0,78 Q 12,70 24,78 T 48,78 T 72,78 T 96,78'" \
  "$D"
save_display "$D" thumbs/dp103.gif

# 104 Desert Dunes
convert -size 96x96 gradient:'#6ec6f0'-'#ffe2a8' "$D"
convert "$D" \
  -fill '#fffbe0' -draw "circle 24,24 24,14" \
  -fill '#e9b35f' -draw "path 'M 0,60 Q 30,40 60,58 Q 80,68 96,56 L 96,96 L 0,96 Z'" \
  -fill '#d3903f' -draw "path 'M 0,74 Q 40,56 96,78 L 96,96 L 0,96 Z'" \
  -fill '#b36f2c' -draw "path 'M 30,96 Q 60,76 96,88 L 96,96 Z'" \
  -fill '#2f5d3a' -draw "rectangle 72,44 74,58 rectangle 68,48 70,53 rectangle 70,52 72,54 rectangle 76,46 78,51 rectangle 74,50 76,52" \
  "$D"
save_display "$D" thumbs/dp104.jpg

# 105 Night City
convert -size 96x96 gradient:'#060b26'-'#34407e' "$D"
stars "$D" 40 105 50
convert "$D" -fill '#fff6c8' -draw "circle 74,18 74,9" \
  -fill '#141a33' \
  -draw "rectangle 2,52 16,96 rectangle 18,38 32,96 rectangle 34,58 46,96" \
  -draw "rectangle 48,30 62,96 rectangle 64,48 78,96 rectangle 80,40 94,96" \
  -draw "rectangle 53,22 57,30" \
  "$D"
windows=""
for b in "4 54 14" "20 40 30" "36 60 44" "50 32 60" "66 50 76" "82 42 92"; do
  set -- $b
  y=$(($2 + 3))
  while [ "$y" -lt 92 ]; do
    x=$1
    while [ "$x" -lt "$3" ]; do
      if [ $(( (x * 7 + y * 13) % 5 )) -ne 0 ]; then
        windows="$windows rectangle $x,$y $((x + 1)),$((y + 2))"
      fi
      x=$((x + 4))
    done
    y=$((y + 6))
  done
done
convert "$D" -fill '#ffd86b' -draw "$windows" "$D"
save_display "$D" thumbs/dp105.gif

# 106 Green Hills
convert -size 96x96 gradient:'#5bb8f5'-'#dff3ff' "$D"
convert "$D" \
  -fill '#fff1a0' -draw "circle 76,20 76,10" \
  -fill '#ffffff' -draw "circle 22,22 22,14 circle 32,20 32,10 circle 42,24 42,17 rectangle 22,24 42,30" \
  -fill '#7cc46a' -draw "ellipse 20,96 60,36 0,360" \
  -fill '#4c9a3f' -draw "ellipse 80,100 60,40 0,360" \
  -fill '#2f7a32' -draw "ellipse 40,112 70,34 0,360" \
  -fill '#ffffff' -draw "circle 30,86 30,85 circle 56,90 56,89 circle 70,84 70,83" \
  -fill '#ffd23f' -draw "circle 30,86 30,85.5 circle 70,84 70,83.5" \
  "$D"
save_display "$D" thumbs/dp106.png

# 107 Snowy Peaks
convert -size 96x96 gradient:'#3f7fd0'-'#cfe6ff' "$D"
convert "$D" \
  -fill '#7d8fb3' -draw "polygon 0,96 0,60 24,30 46,62 62,40 96,78 96,96" \
  -fill '#56678f' -draw "polygon 20,96 52,20 88,96" \
  -fill '#ffffff' -draw "polygon 45,34 52,20 60,36 56,33 52,38 48,33" \
  -fill '#f2f6ff' -draw "polygon 18,38 24,30 31,40 26,37 22,41" \
  -fill '#3b4a6e' -draw "polygon 0,96 0,84 20,76 44,88 70,80 96,90 96,96" \
  "$D"
save_display "$D" thumbs/dp107.png

# 108 Autumn Forest
convert -size 96x96 gradient:'#ffe7b0'-'#f6a35c' "$D"
convert "$D" -fill '#8a4b22' -draw "rectangle 0,82 96,96" "$D"
trees=""
for t in "10 60 #c0392b" "28 52 #e67e22" "46 62 #d35400" "64 50 #f39c12" "82 58 #a93226" \
         "20 70 #e74c3c" "56 72 #f5b041" "90 74 #ca6f1e"; do
  x=${t%% *}; rest=${t#* }; top=${rest%% *}; colour=${rest#* }
  trees="$trees -fill '#5d3317' -draw \"rectangle $((x - 1)),$((top + 22)) $((x + 1)),88\""
  trees="$trees -fill '$colour' -draw \"polygon $x,$top $((x - 9)),$((top + 24)) $((x + 9)),$((top + 24))\""
done
eval convert "\"$D\"" "$trees" "\"$D\""
save_display "$D" thumbs/dp108.jpg

# 109 Lakeside Moon
convert -size 96x96 gradient:'#04132b'-'#1f5f73' "$D"
stars "$D" 25 109 40
convert "$D" \
  -fill '#fdf5d6' -draw "circle 58,26 58,14" \
  -fill '#0b2a3a' -draw "rectangle 0,58 96,96" \
  -fill '#e8dfb8' -draw "ellipse 58,64 10,2 0,360 ellipse 58,70 8,1.5 0,360 ellipse 58,76 6,1 0,360 ellipse 58,82 4,1 0,360" \
  -fill '#02101c' \
  -draw "polygon 4,60 10,36 16,60 polygon 12,60 20,30 28,60 polygon 24,60 30,42 36,60" \
  -draw "polygon 84,60 90,38 96,60 polygon 76,60 82,44 88,60" \
  "$D"
save_display "$D" thumbs/dp109.gif

# 110 Northern Lights
convert -size 96x96 gradient:'#020814'-'#0c2340' "$D"
stars "$D" 30 110 70
convert -size 96x96 xc:none -fill none -strokewidth 9 \
  -stroke '#39ff9fcc' -draw "path 'M -10,46 Q 20,14 48,34 T 110,20'" \
  -stroke '#7b5cffaa' -draw "path 'M -10,30 Q 26,6 50,22 T 110,10'" \
  -blur 0x5 "$work/aurora.png"
convert "$D" "$work/aurora.png" -compose screen -composite \
  -fill '#01050d' -draw "polygon 0,96 0,72 18,62 34,74 56,58 76,72 96,64 96,96" \
  "$D"
save_display "$D" thumbs/dp110.jpg

# --- display pictures: Patterns (category 3) -------------------------------

# 230 Checkers
convert -size 24x24 xc:'#ffd166' -fill '#ef476f' -draw "rectangle 0,0 11,11 rectangle 12,12 23,23" "$work/tile.png"
convert -size 96x96 tile:"$work/tile.png" \
  \( -size 96x96 radial-gradient:'#ffffff'-'#6a4c93' \) -compose multiply -composite "$D"
save_display "$D" thumbs/dp230.gif

# 231 Plasma Swirl
convert -size 96x96 -seed 231 plasma:'#ff6ec7'-'#7873f5' -blur 0x2 -swirl 240 "$D"
save_display "$D" thumbs/dp231.jpg

# 232 Rings
rings=""
r=46; i=0
for colour in '#264653' '#2a9d8f' '#e9c46a' '#f4a261' '#e76f51' '#264653' '#2a9d8f' '#e9c46a'; do
  rings="$rings -fill '$colour' -draw \"circle 48,48 48,$((48 - r))\""
  r=$((r - 6)); i=$((i + 1))
done
eval convert -size 96x96 "'xc:#fdf6e3'" "$rings" "\"$D\""
save_display "$D" thumbs/dp232.png

# 32767 Neon Grid (the newest display picture)
convert -size 96x96 gradient:'#12002b'-'#7a1f7e' "$D"
stars "$D" 20 32767 40
gradient_shape "$D" gradient:'#ffe66d'-'#ff3f8e' "circle 48,50 48,26"
convert "$D" -fill '#2a0845' \
  -draw "rectangle 20,44 76,45 rectangle 20,49 76,50 rectangle 20,53 76,55" \
  -fill '#0d0221' -draw "rectangle 0,58 96,96" \
  -stroke '#ff2fd6' -strokewidth 1.5 -fill none \
  -draw "line 0,58 96,58 line 0,62 96,62 line 0,67 96,67 line 0,74 96,74 line 0,84 96,84" \
  -draw "line 48,58 48,96 line 40,58 16,96 line 56,58 80,96 line 32,58 -16,96 line 64,58 112,96" \
  -draw "line 24,58 -48,96 line 72,58 144,96" \
  "$D"
save_display "$D" thumbs/dp32767.png

# --- display pictures: Space (category 7) ----------------------------------

# 9 Ringed Planet
convert -size 96x96 gradient:'#000000'-'#14122e' "$D"
stars "$D" 45 9 96
convert "$D" -fill none -stroke '#d9c7a0' -strokewidth 4 -draw "ellipse 48,50 42,10 180,360" "$D"
gradient_shape "$D" gradient:'#ffcf8a'-'#b5542c' "circle 48,50 48,26"
convert "$D" -fill '#ffffff40' -draw "ellipse 40,40 10,6 0,360" \
  -fill none -stroke '#d9c7a0' -strokewidth 4 -draw "ellipse 48,50 42,10 0,180" "$D"
save_display "$D" thumbs/dp9.png

# 40 Starfield
convert -size 96x96 radial-gradient:'#1b2a5a'-'#000005' "$D"
stars "$D" 110 40 96
convert "$D" -fill '#ffffff' -draw "polygon 30,20 31,27 38,28 31,29 30,36 29,29 22,28 29,27" \
  -draw "polygon 70,62 71,67 76,68 71,69 70,74 69,69 64,68 69,67" "$D"
save_display "$D" thumbs/dp40.gif

# 4000 Spiral Galaxy
convert -size 96x96 xc:black \
  -fill '#6a5cff' -draw "ellipse 48,48 42,10 0,360" \
  -fill '#ff6ad5' -draw "ellipse 48,48 10,40 0,360" \
  -blur 0x4 -swirl 300 \
  \( -size 96x96 xc:black -fill '#fff4d6' -draw "circle 48,48 48,39" -blur 0x5 \) \
  -compose screen -composite -modulate 100,130 "$D"
stars "$D" 30 4000 96
save_display "$D" thumbs/dp4000.jpg

# --- emoticons -------------------------------------------------------------

E="$work/e.png"
INK='#3b2a00'

face() { # <face colour> <rim colour>: starts $E with a plain round face
  convert -size 96x96 xc:none -fill "$1" -stroke "$2" -strokewidth 5 \
    -draw "circle 48,48 48,5" -stroke none -fill '#ffffff55' \
    -draw "ellipse 34,28 16,10 0,360" "$E"
}
eyes() { convert "$E" -fill "$INK" -draw "ellipse 34,38 6,10 0,360 ellipse 62,38 6,10 0,360" "$E"; }
draw() { convert "$E" "$@" "$E"; }
smile_mouth() { draw -fill none -stroke "$INK" -strokewidth 6 -draw "arc 24,34 72,74 25,155"; }
yellow_face() { face '#ffd23f' '#d99a00'; }

# Smileys (category 5)
yellow_face; eyes; smile_mouth
save_emoticon "$E" 24 thumbs/emo501.gif                      # Smile

yellow_face; eyes
draw -fill "$INK" -draw "path 'M 24,54 Q 48,94 72,54 Z'" -fill '#ffffff' -draw "path 'M 28,56 L 68,56 Q 66,63 62,64 L 34,64 Q 30,63 28,56 Z'"
save_emoticon "$E" 24 thumbs/emo502.png                      # Big grin

yellow_face
draw -fill "$INK" -draw "ellipse 62,38 6,10 0,360" \
  -fill none -stroke "$INK" -strokewidth 6 -draw "arc 24,34 44,46 200,340"
smile_mouth
save_emoticon "$E" 24 thumbs/emo503.gif                      # Wink

yellow_face; eyes
draw -fill none -stroke "$INK" -strokewidth 6 -draw "arc 26,62 70,92 205,335"
save_emoticon "$E" 24 thumbs/emo504.gif                      # Sad

yellow_face; eyes
draw -fill "$INK" -draw "ellipse 48,70 9,12 0,360"
save_emoticon "$E" 24 thumbs/emo505.png                      # Surprised

yellow_face
draw -fill '#111111' -draw "roundrectangle 18,30 44,46 6,6 roundrectangle 52,30 78,46 6,6" \
  -stroke '#111111' -strokewidth 4 -draw "line 44,35 52,35 line 18,34 8,30 line 78,34 88,30" \
  -stroke none -fill '#ffffff88' -draw "rectangle 22,33 28,35 rectangle 56,33 62,35"
smile_mouth
save_emoticon "$E" 24 thumbs/emo506.gif                      # Cool

yellow_face; eyes; smile_mouth
draw -fill '#ff6f91' -stroke '#c2185b' -strokewidth 3 -draw "path 'M 44,68 L 62,66 Q 66,84 54,84 Q 46,84 44,68 Z'"
save_emoticon "$E" 24 thumbs/emo507.gif                      # Tongue

face '#ff6b4a' '#b8321c'; eyes
draw -stroke "$INK" -strokewidth 6 -draw "line 22,22 42,30 line 74,22 54,30" \
  -fill none -draw "arc 26,62 70,92 205,335"
save_emoticon "$E" 24 thumbs/emo508.png                      # Angry

yellow_face; smile_mouth
for c in "34 40" "62 40"; do
  x=${c% *}; y=${c#* }
  draw -fill '#e8203d' -draw "path 'M $x,$((y + 12)) C $((x - 16)),$((y + 2)) $((x - 12)),$((y - 12)) $x,$((y - 4)) C $((x + 12)),$((y - 12)) $((x + 16)),$((y + 2)) $x,$((y + 12)) Z'"
done
save_emoticon "$E" 24 thumbs/emo509.jpg                      # In love

yellow_face
draw -fill none -stroke "$INK" -strokewidth 5 -draw "arc 22,34 46,46 20,160 arc 50,34 74,46 20,160" \
  -stroke none -fill "$INK" -draw "ellipse 48,70 6,5 0,360" \
  -fill none -stroke '#3a6fd8' -strokewidth 4 -draw "polyline 70,8 84,8 70,22 84,22"
save_emoticon "$E" 24 thumbs/emo510.gif                      # Sleepy

yellow_face
draw -fill none -stroke "$INK" -strokewidth 6 -draw "polyline 24,42 34,32 44,42 polyline 52,42 62,32 72,42" \
  -stroke none -fill "$INK" -draw "path 'M 22,52 Q 48,100 74,52 Z'" \
  -fill '#ff6f91' -draw "ellipse 48,74 12,6 0,360"
save_emoticon "$E" 24 thumbs/emo511.png                      # Laughing

yellow_face; eyes
draw -fill none -stroke "$INK" -strokewidth 6 -draw "path 'M 26,70 Q 34,60 42,70 T 58,70 T 72,66'"
save_emoticon "$E" 24 thumbs/emo512.gif                      # Confused

yellow_face; eyes
draw -fill none -stroke "$INK" -strokewidth 6 -draw "arc 26,62 70,92 205,335" \
  -stroke '#1e73d8' -strokewidth 2 -fill '#5fb4ff' \
  -draw "path 'M 28,50 Q 20,62 26,68 Q 34,70 32,60 Z' path 'M 68,50 Q 60,62 66,68 Q 74,70 72,60 Z'"
save_emoticon "$E" 24 thumbs/emo513.gif                      # Crying

yellow_face; eyes; smile_mouth
draw -fill '#ff7a8a99' -draw "ellipse 24,58 9,6 0,360 ellipse 72,58 9,6 0,360"
save_emoticon "$E" 24 thumbs/emo514.png                      # Blushing

# Hearts & Symbols (category 21)
heart="path 'M 48,88 C 8,60 2,30 24,16 C 36,9 46,16 48,28 C 50,16 60,9 72,16 C 94,30 88,60 48,88 Z'"
convert -size 96x96 xc:none -fill '#e8203d' -stroke '#9e0b22' -strokewidth 4 -draw "$heart" \
  -stroke none -fill '#ffffff77' -draw "ellipse 28,32 8,12 -30,330" "$E"
save_emoticon "$E" 19 thumbs/emo1.png                        # Heart

convert -size 96x96 xc:none -fill '#ffcc00' -stroke '#d18b00' -strokewidth 5 \
  -draw "polygon 48,8 59,37 90,38 65,58 74,88 48,70 22,88 31,58 6,38 37,37" "$E"
save_emoticon "$E" 19 thumbs/emo620.gif                      # Star

convert -size 96x96 xc:none -fill '#b71c3a' -stroke '#6e0b1f' -strokewidth 4 -draw "$heart" \
  -fill none -stroke '#ffffff' -strokewidth 6 -draw "polyline 48,22 40,40 54,52 42,66 48,84" "$E"
save_emoticon "$E" 24 thumbs/emo621.png                      # Broken heart

convert -size 96x96 xc:none -fill '#5b2bd6' -stroke none \
  -draw "ellipse 30,74 14,10 -20,340 ellipse 72,66 14,10 -20,340" \
  -draw "polygon 40,72 40,16 86,8 86,64 80,64 80,22 46,28 46,72" "$E"
save_emoticon "$E" 19 thumbs/emo622.jpg                      # Music

# Weather (category 9)
rays=""
for a in 0 45 90 135 180 225 270 315; do
  rays="$rays $(awk -v a="$a" 'BEGIN { r = a * 3.14159265 / 180;
    printf "line %.1f,%.1f %.1f,%.1f", 48 + 30 * cos(r), 48 + 30 * sin(r), 48 + 44 * cos(r), 48 + 44 * sin(r) }')"
done
convert -size 96x96 xc:none -stroke '#ff9f1c' -strokewidth 8 -draw "$rays" \
  -stroke '#ff9f1c' -strokewidth 4 -fill '#ffd23f' -draw "circle 48,48 48,24" "$E"
save_emoticon "$E" 24 thumbs/emo700.png                      # Sun

cloud="circle 32,56 32,38 circle 54,46 54,22 circle 72,60 72,44 roundrectangle 14,52 86,76 16,16"
cloud_image() { # <fill> <outline>
  convert -size 96x96 xc:none -fill "$2" -stroke "$2" -strokewidth 8 -draw "$cloud" \
    -stroke none -fill "$1" -draw "$cloud" "$E"
}
cloud_image '#ffffff' '#8aa0b8'
save_emoticon "$E" 24 thumbs/emo701.gif                      # Cloud

cloud_image '#cfd8e3' '#66788f'
convert "$E" -resize 100%x80% -gravity north -background none -extent 96x96 \
  -stroke '#1e88e5' -strokewidth 6 -draw "line 30,70 24,86 line 50,72 44,88 line 70,70 64,86" "$E"
save_emoticon "$E" 24 thumbs/emo702.jpg                      # Rain

arcs=""
r=44
for colour in '#e53935' '#fb8c00' '#fdd835' '#43a047' '#1e88e5' '#8e24aa'; do
  arcs="$arcs -stroke '$colour' -draw \"arc $((48 - r)),$((70 - r)) $((48 + r)),$((70 + r)) 180,360\""
  r=$((r - 6))
done
eval convert -size 96x96 xc:none -fill none -strokewidth 7 "$arcs" "\"$E\""
save_emoticon "$E" 24 thumbs/emo703.png                      # Rainbow (newest)

echo "thumbnails written to $(pwd)/thumbs"
