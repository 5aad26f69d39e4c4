#!/bin/sh
# Installs what is missing, builds Tessaro and starts it with the simulated
# robot built into it: no serial port, no second program. The demonstration
# has settings of its own (build/demo-config), so the user's settings for a
# real robot stay as they are.
#   --real       Tessaro alone, with the user's settings, for a real robot.
#   --zefor-sim  the stand-alone simulator zefor-sim in a window of its own on
#                a pseudo-terminal, and Tessaro connected to it (further
#                arguments go to zefor-sim).
set -e
cd "$(dirname "$0")"
. tools/deps.sh
tessaro_install_deps build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_WITH_TESTS=OFF -DTESSARO_WITH_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [ "${1:-}" = "--real" ]; then
  shift
  exec build/stage/bin/tessaro "$@"
fi

DEMO=$PWD/build/demo-config
mkdir -p "$DEMO/Quorel"
if [ "${1:-}" != "--zefor-sim" ]; then
  # Tessaro on its built-in robot.
  cat >"$DEMO/Quorel/TessaroV1.0.conf" <<CONF
[Options]
Comport=SIM
CONF
  XDG_CONFIG_HOME=$DEMO exec build/stage/bin/tessaro
fi
shift

LINK=$DEMO/zefor-sim.tty
# Tessaro on COM13, which the demonstration maps to the simulator's device.
cat >"$DEMO/Quorel/TessaroV1.0.conf" <<CONF
[Options]
Comport=COM13

[Ports]
COM13=$LINK
CONF
build/stage/bin/zefor-sim --link "$LINK" "$@" &
SIM=$!
trap 'kill $SIM 2>/dev/null' EXIT INT TERM
i=0
while [ ! -L "$LINK" ]; do
  i=$((i + 1))
  if [ $i -gt 100 ] || ! kill -0 $SIM 2>/dev/null; then
    echo "run.sh: zefor-sim did not start" >&2
    exit 1
  fi
  sleep 0.1
done
XDG_CONFIG_HOME=$DEMO build/stage/bin/tessaro
