#!/bin/sh
# Writes the program icon and the icon of .vio program files, in the sizes
# of the desktop's hicolor theme, from the robot of the intro picture.
# Needs ImageMagick (convert). The output is committed; the build needs neither.
set -e
here=$(cd "$(dirname "$0")" && pwd)
intro="$here/../../data/pictures/intro.bmp"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The robot, square, on a rounded sky-blue tile.
convert "$intro" -crop 216x200+128+102 +repage -alpha set -fill none -fuzz 10% \
  -draw "color 0,0 floodfill" -draw "color 215,0 floodfill" -draw "color 0,199 floodfill" \
  -draw "color 215,199 floodfill" -background none -gravity center -extent 216x216 "$tmp/robot.png"
convert -size 256x256 xc:none -fill '#dcebfb' -stroke '#3a6fb5' -strokewidth 6 \
  -draw 'roundrectangle 4,4 251,251 40,40' "$tmp/tile.png"
convert "$tmp/robot.png" -resize 200x200 "$tmp/robotcut.png"
convert "$tmp/tile.png" "$tmp/robotcut.png" -gravity center -geometry +0+4 -composite "$tmp/app.png"

# A page with a folded corner and the robot on it: a program file.
convert -size 256x256 xc:none -fill white -stroke '#5a6b80' -strokewidth 6 \
  -draw 'polygon 40,6 176,6 226,56 226,250 40,250' \
  -fill '#c9d6e6' -draw 'polygon 176,6 176,56 226,56' "$tmp/page.png"
convert "$tmp/robotcut.png" -resize 150x150 "$tmp/robot150.png"
convert "$tmp/page.png" "$tmp/robot150.png" -gravity center -geometry +0+22 -composite "$tmp/vio.png"

for s in 16 22 24 32 48 64 128 256; do
  mkdir -p "$here/hicolor/${s}x${s}/apps" "$here/hicolor/${s}x${s}/mimetypes"
  convert "$tmp/app.png" -resize ${s}x${s} -strip "$here/hicolor/${s}x${s}/apps/tessaro.png"
  convert "$tmp/vio.png" -resize ${s}x${s} -strip \
    "$here/hicolor/${s}x${s}/mimetypes/application-x-tessaro-vio.png"
done
