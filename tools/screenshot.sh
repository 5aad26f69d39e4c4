#!/usr/bin/env bash
# Takes a picture of the staged program with a program file opened.
#   tools/screenshot.sh PROGRAM.vio OUT.png [BUILD_DIR] [DISPLAY_NUMBER]
# BUILD_DIR defaults to build, the folder that run.sh builds and stages.
# TESSARO_LANGUAGE=0, 1 or 2 starts the program in English, Dutch or German.
# TESSARO_SCREEN=WxH sets the screen size (1280x800); TESSARO_ZOOM=PERCENT and
# TESSARO_HIGH_CONTRAST=1 show the field zoomed and in high contrast
# (QT_SCALE_FACTOR=2 scales the whole window as a high-resolution desktop does).
# A pseudo-terminal stands in for the robot's port, so that the window
# unlocks after the intro; the file is opened through File > Open.
set -euo pipefail
vio=$(realpath "$1"); out=$(realpath -m "$2"); bld=${3:-build}; dsp=${4:-99}
exe="$bld/stage/bin/tessaro"
[ -x "$exe" ] || { echo "no staged program at $exe" >&2; exit 1; }
tmp=$(mktemp -d); pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$tmp"; }
trap cleanup EXIT
Xvfb ":$dsp" -screen 0 "${TESSARO_SCREEN:-1280x800}x24" >/dev/null 2>&1 & pids+=($!)
socat pty,raw,echo=0,link="$tmp/port" pty,raw,echo=0,link="$tmp/robot" >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do [ -e "$tmp/port" ] && [ -e /tmp/.X11-unix/X$dsp ] && break; sleep 0.1; done
mkdir -p "$tmp/cfg/Quorel"
printf '[Options]\nComport=COM19\nLanguage=%s\nZoom=%s\nHighContrast=%s\n\n[Ports]\nCOM19=%s\n' "${TESSARO_LANGUAGE:-0}" \
  "${TESSARO_ZOOM:-100}" "${TESSARO_HIGH_CONTRAST:-0}" "$tmp/port" \
  > "$tmp/cfg/Quorel/TessaroV1.0.conf"
export DISPLAY=":$dsp" XDG_CONFIG_HOME="$tmp/cfg" HOME="$tmp" XDG_RUNTIME_DIR="$tmp" QT_QPA_PLATFORM=xcb
"$exe" >"$tmp/log" 2>&1 & pids+=($!)
sleep 8  # the intro lasts five seconds
# File > Open with the mouse: without a window manager no window takes the keyboard focus.
xdotool mousemove --sync 20 8 click 1; sleep 0.7
xdotool mousemove --sync 40 30 click 1; sleep 1.5
xdotool type --delay 20 "$vio"; xdotool key Return; sleep 2
import -window root "$out"
echo "$out"
