#!/usr/bin/env bash
# Measures the CPU time the staged program takes while its window lies idle
# and the background drifts.
#   tools/idle-cpu.sh [PROGRAM.vio|-] [BUILD_DIR] [DISPLAY_NUMBER] [WxH] [WAIT_S] [SAMPLE_S] [SHOT.png]
# BUILD_DIR defaults to build, the folder that run.sh builds and stages.
# The drift begins after six idle minutes, so WAIT_S defaults to 400. The
# figure printed is the share of one core over SAMPLE_S seconds (default 60),
# read from /proc/PID/stat (utime + stime). A pseudo-terminal stands in for
# the robot's port, so that the window unlocks after the intro; with
# TESSARO_ROBOT=SIM the built-in simulated robot is the robot instead (its
# pane shows when it starts).
set -euo pipefail
vio=${1:--}; bld=${2:-build}; dsp=${3:-98}; scr=${4:-1920x1080}; wait_s=${5:-400}; smp=${6:-60}
shot=${7:-}
exe="$bld/stage/bin/tessaro"
[ -x "$exe" ] || { echo "no staged program at $exe" >&2; exit 1; }
[ "$vio" = - ] || vio=$(realpath "$vio")
tmp=$(mktemp -d); pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$tmp"; }
trap cleanup EXIT
Xvfb ":$dsp" -screen 0 "${scr}x24" >/dev/null 2>&1 & pids+=($!)
socat pty,raw,echo=0,link="$tmp/port" pty,raw,echo=0,link="$tmp/robot" >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do [ -e "$tmp/port" ] && [ -e /tmp/.X11-unix/X$dsp ] && break; sleep 0.1; done
mkdir -p "$tmp/cfg/Quorel"
printf '[Options]\nComport=%s\nLanguage=%s\n\n[Ports]\nCOM19=%s\n' "${TESSARO_ROBOT:-COM19}" \
  "${TESSARO_LANGUAGE:-0}" "$tmp/port" > "$tmp/cfg/Quorel/TessaroV1.0.conf"
export DISPLAY=":$dsp" XDG_CONFIG_HOME="$tmp/cfg" HOME="$tmp" XDG_RUNTIME_DIR="$tmp" QT_QPA_PLATFORM=xcb
"$exe" >"$tmp/log" 2>&1 & app=$!; pids+=($app)
sleep 8  # the intro lasts five seconds
if [ "$vio" != - ]; then
  xdotool mousemove --sync 20 8 click 1; sleep 0.7
  xdotool mousemove --sync 40 30 click 1; sleep 1.5
  xdotool type --delay 20 "$vio"; xdotool key Return; sleep 2
fi
sleep "$wait_s"
tck=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
a=$(cpu); sleep "$smp"; b=$(cpu)
[ -z "$shot" ] || import -window root "$shot"
awk -v a="$a" -v b="$b" -v t="$tck" -v s="$smp" 'BEGIN { printf "%.2f %% of a core (%d ticks in %d s)\n", 100 * (b - a) / t / s, b - a, s }'
