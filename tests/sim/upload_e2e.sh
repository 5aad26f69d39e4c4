#!/bin/sh
# tessaro-upload against zefor-sim --headless, both as a user runs them:
# an upload and run that the simulated robot carries out to its Stop, and a
# simulator that quits while the tool waits for its answer.
#   upload_e2e.sh ZEFOR_SIM TESSARO_UPLOAD PROGRAM.vio
set -u
SIM=$1 UPL=$2 PGM=$3
T=$(mktemp -d /tmp/tessaro-e2e-XXXXXX)
PIDS=""
cleanup() {
  for p in $PIDS; do kill "$p" 2>/dev/null; done
  rm -rf "$T"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$T"/*.txt; do echo "== $f"; cat "$f"; done; exit 1; }
# Waits up to 10 s for a line in a file.
wait_for() {
  i=0
  while ! grep -q "$2" "$1" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 200 ] && return 1
    sleep 0.05
  done
}

"$SIM" --headless --no-pacing --speed 100 --link "$T/dev1" </dev/null >"$T/sim1.txt" 2>&1 &
PIDS="$PIDS $!"
wait_for "$T/sim1.txt" /dev/ || fail "zefor-sim printed no device"
[ -L "$T/dev1" ] || fail "no link $T/dev1"
"$UPL" --run --port "$T/dev1" "$PGM" >"$T/upl1.txt" 2>&1 || fail "upload and run failed"
grep -q "transfer complete: 23 bytes" "$T/upl1.txt" || fail "no transfer complete"
wait_for "$T/sim1.txt" "Sto   stop: program complete" || fail "the program did not reach its Stop"
[ "$(grep -c 'Driving Turn right' "$T/sim1.txt")" = 4 ] || fail "not four turns"

# Paced: the frame takes 125 ms on the wire; the simulator goes once the tool
# has opened the line.
"$SIM" --headless --link "$T/dev2" </dev/null >"$T/sim2.txt" 2>&1 &
SIM2=$!
PIDS="$PIDS $SIM2"
wait_for "$T/sim2.txt" /dev/ || fail "zefor-sim printed no device"
"$UPL" --port "$T/dev2" --timeout 60 "$PGM" >"$T/upl2.txt" 2>&1 &
UPL2=$!
PIDS="$PIDS $UPL2"
wait_for "$T/sim2.txt" "link up" || fail "the tool did not open the line"
kill "$SIM2"
wait "$UPL2"
rc=$?
[ $rc = 1 ] || fail "exit code $rc instead of 1"
grep -q "was lost during the upload" "$T/upl2.txt" || fail "no clear message"
[ -e "$T/dev2" ] && fail "the link $T/dev2 was left behind"
# Started with & from an interactive shell, as the README shows: keys the user
# types then are the shell's, and the simulator, in the background of the
# terminal, must not be stopped by reading them.
if command -v script >/dev/null 2>&1; then
  cat >"$T/bg.sh" <<EOF
set -m
"$SIM" --headless --no-pacing --link "$T/dev3" >"$T/sim3.txt" 2>&1 &
i=0
while [ ! -L "$T/dev3" ] && [ \$i -lt 200 ]; do i=\$((i + 1)); sleep 0.05; done
"$UPL" --port "$T/dev3" --timeout 5 "$PGM" >"$T/upl3.txt" 2>&1
echo \$? >"$T/rc3"
kill %1; kill -CONT %1 2>/dev/null
EOF
  printf 'status\n' | script -qec "sh $T/bg.sh" /dev/null >/dev/null 2>&1
  [ "$(cat "$T/rc3" 2>/dev/null)" = 0 ] || fail "a simulator in the background of a terminal did not answer"
fi
echo "ok"
