#!/bin/sh
# Both ends on Windows: zefor-sim.exe on COM8 and tessaro-upload.exe on COM9,
# the two ends of a pseudo-terminal pair that the Wine prefix maps to them.
# The robot confirms the upload and runs the program to its Stop; a "quit"
# on its standard input ends it.
#   sim_wine_e2e.sh WINE PREFIX ZEFOR_SIM_EXE UPLOAD_EXE EXAMPLES_DIR
set -u
WINE=$1 PFX=$2 SIM=$3 UPL=$4 EXA=$5
export WINEPREFIX=$PFX WINEDEBUG=-all
T=$(mktemp -d /tmp/tessaro-wine-sim-XXXXXX)
SIMPID=""
cleanup() {
  [ -n "$SIMPID" ] && kill -KILL "$SIMPID" 2>/dev/null
  rm -rf "$T"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE
fail() { echo "FAIL: $*"; for f in "$T"/*.txt; do echo "== $f"; head -c 4000 "$f"; done; exit 1; }
wait_for() {
  i=0
  while ! grep -q "$2" "$1" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 400 ] && return 1
    sleep 0.025
  done
}
mkfifo "$T/cmd"
"$WINE" "$SIM" --headless --no-pacing --speed 100 --device COM8 <"$T/cmd" >"$T/sim.txt" 2>&1 &
SIMPID=$!
exec 3>"$T/cmd"
wait_for "$T/sim.txt" "^COM8" || fail "zefor-sim.exe printed no port"
"$WINE" "$UPL" --run --port COM9 "$EXA/drive_square.vio" </dev/null >"$T/upl.txt" 2>&1 || fail "upload and run failed"
grep -q "transfer complete: 23 bytes" "$T/upl.txt" || fail "no transfer complete"
wait_for "$T/sim.txt" "Sto   stop: program complete" || fail "the program did not reach its Stop"
[ "$(grep -c 'Driving Turn right' "$T/sim.txt")" = 4 ] || fail "not four turns"
echo quit >&3
i=0
while kill -0 "$SIMPID" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 200 ] && fail "zefor-sim.exe did not end on quit"
  sleep 0.025
done
wait "$SIMPID"; rc=$?; SIMPID=""
[ $rc = 0 ] || fail "zefor-sim.exe ended with $rc"
echo "ok"
