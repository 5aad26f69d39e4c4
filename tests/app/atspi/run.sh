#!/bin/sh
# Runs field.py against the staged window on a display and a session bus of
# its own, with Qt's AT-SPI bridge on (the offscreen platform has none).
#   run.sh TESSARO PROGRAM.vio
set -u
here=$(dirname "$0")
for t in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$t" >/dev/null || { echo "run.sh: $t is missing (at-spi2-core, dbus, xvfb)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' || { echo "run.sh: python3-pyatspi is missing" >&2; exit 1; }
tmp=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT INT TERM
mkdir -p "$tmp/cfg/Quorel" "$tmp/home" "$tmp/data" "$tmp/cache" "$tmp/run"
chmod 700 "$tmp/run"
printf '[Options]\nComport=SIM\n' >"$tmp/cfg/Quorel/TessaroV1.0.conf"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
i=0
while [ ! -s "$tmp/display" ]; do
  i=$((i + 1))
  if [ $i -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
    echo "run.sh: Xvfb did not start" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
export DISPLAY=":$(cat "$tmp/display")"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/cfg" XDG_DATA_HOME="$tmp/data" XDG_CACHE_HOME="$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The bus's own chatter (activations, fd limits) is not the test's.
timeout 60 dbus-run-session -- /usr/bin/python3 "$here/field.py" "$1" "$2" 2>"$tmp/bus.log"
rc=$?
[ $rc -ne 0 ] && grep -v "^dbus-daemon" "$tmp/bus.log" >&2
exit $rc
