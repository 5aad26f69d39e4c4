#!/usr/bin/env bash
# Makes the pictures of the manuals from the staged program: docs/manual/pictures/ in
# English for the English manual, docs/manual/pictures/de/ in German for the German one.
#   tools/tessaro-mkmanual/make_pictures.sh [BUILD_DIR] [DISPLAY_NUMBER]
# Needs xvfb, socat, xdotool and imagemagick (see tools/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
bld=${1:-build}; dsp=${2:-64}
# Without a window manager the window fills the 1280 x 800 screen from its top
# left corner: keep the tool bars, and the part of the field that the program uses.
make_set() {
  local out=$1
  mkdir -p "$out"
  shot() { tools/screenshot.sh "data/examples/$1.vio" "$out/$2-full.png" "$bld" "$dsp" >/dev/null; }
  crop() { convert "$out/$1-full.png" -crop "$2" +repage "$out/$1.png"; }
  shot drive_square square
  shot sensor_if_then_else ifelse
  shot loop_label_goto loop
  shot switch_interrupt switch
  crop square 520x110+0+0; mv "$out/square.png" "$out/toolbars.png"
  crop square 1190x200+0+0
  crop ifelse 760x400+0+0
  crop loop 620x200+0+0
  crop switch 520x330+0+0
  rm -f "$out"/*-full.png
}
TESSARO_LANGUAGE=0 make_set docs/manual/pictures
TESSARO_LANGUAGE=2 make_set docs/manual/pictures/de
