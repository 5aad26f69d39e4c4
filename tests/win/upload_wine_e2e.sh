#!/bin/sh
# tessaro-upload.exe under Wine against the Linux zefor-sim: the simulator's
# pseudo-terminal is LINKDIR/com7, which the Wine prefix maps to COM7. An
# upload and run that the robot confirms and carries out to its Stop; a
# simulator that goes as the tool opens the line; a far end that hangs up
# while the tool waits for the answer (a lost device); a missing port.
# The connection doctor checks the same line in between.
#   upload_wine_e2e.sh WINE PREFIX UPLOAD_EXE DOCTOR_EXE ZEFOR_SIM EXAMPLES_DIR LINKDIR
set -u
WINE=$1 PFX=$2 UPL=$3 DOC=$4 SIM=$5 EXA=$6 LNK=$7
export WINEPREFIX=$PFX WINEDEBUG=-all
PGM=$EXA/drive_square.vio
T=$(mktemp -d /tmp/tessaro-wine-e2e-XXXXXX)
PIDS=""
cleanup() {
  for p in $PIDS; do kill -KILL "$p" 2>/dev/null; done
  rm -f "$LNK/com7"
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
[ -x "$SIM" ] || fail "no zefor-sim at $SIM (build the Linux side first)"
# COM7 must lead to the simulator's pseudo-terminal and nowhere else.
sim_up() {
  wait_for "$T/$1.txt" /dev/ || fail "zefor-sim printed no device"
  [ "$(readlink -f "$PFX/dosdevices/com7")" = "$(readlink -f "$LNK/com7")" ] || fail "COM7 does not lead to the simulator"
  case $(readlink -f "$LNK/com7") in /dev/pts/*) ;; *) fail "COM7 is no pseudo-terminal" ;; esac
}

"$SIM" --headless --no-pacing --speed 100 --link "$LNK/com7" </dev/null >"$T/sim1.txt" 2>&1 &
SIM1=$!; PIDS="$PIDS $SIM1"
sim_up sim1
"$WINE" "$UPL" --run --port COM7 "$PGM" </dev/null >"$T/upl1.txt" 2>&1 || fail "upload and run failed"
grep -q "transfer complete: 23 bytes to \\\\\\\\.\\\\COM7, the program runs" "$T/upl1.txt" || fail "no transfer complete"
wait_for "$T/sim1.txt" "Sto   stop: program complete" || fail "the program did not reach its Stop"
[ "$(grep -c 'Driving Turn right' "$T/sim1.txt")" = 4 ] || fail "not four turns"
# The connection doctor on the same line: every step passes, the rights
# step in the words for Windows.
"$WINE" "$DOC" --port COM7 </dev/null >"$T/doc1.txt" 2>&1 || fail "the doctor found a fault"
grep -q "Windows lets every user of this computer open" "$T/doc1.txt" || fail "no word on the rights"
grep -q "No other program holds" "$T/doc1.txt" || fail "no word on the holder"
kill "$SIM1"; wait "$SIM1" 2>/dev/null

# Paced, the frame takes 125 ms on the wire: the simulator goes as soon as
# the tool has opened the line, before it can answer.
"$SIM" --headless --link "$LNK/com7" </dev/null >"$T/sim2.txt" 2>&1 &
SIM2=$!; PIDS="$PIDS $SIM2"
sim_up sim2
"$WINE" "$UPL" --port COM7 --timeout 60 "$PGM" </dev/null >"$T/upl2.txt" 2>&1 &
UPL2=$!; PIDS="$PIDS $UPL2"
wait_for "$T/sim2.txt" "link up" || fail "the tool did not open the line"
kill "$SIM2"
wait "$UPL2"
rc=$?
[ $rc = 1 ] || fail "exit code $rc instead of 1"
grep -q "was lost during the upload" "$T/upl2.txt" || fail "no clear message"

# A far end that takes the frame and hangs up while the tool waits for the
# answer: the device is lost, told in the words of the message table.
socat pty,raw,echo=0,link="$LNK/com7" SYSTEM:"cat >$T/rx.bin" </dev/null >/dev/null 2>&1 &
FAR=$!; PIDS="$PIDS $FAR"
i=0
while [ ! -L "$LNK/com7" ]; do i=$((i + 1)); [ $i -gt 200 ] && fail "socat made no line"; sleep 0.025; done
"$WINE" "$UPL" --port COM7 --timeout 60 "$PGM" </dev/null >"$T/upl4.txt" 2>&1 &
UPL4=$!; PIDS="$PIDS $UPL4"
i=0
while [ "$(wc -c <"$T/rx.bin" 2>/dev/null || echo 0)" -lt 30 ]; do
  i=$((i + 1)); [ $i -gt 400 ] && fail "the frame did not arrive"; sleep 0.025
done
kill "$FAR"
wait "$UPL4"
rc=$?
[ $rc = 1 ] || fail "exit code $rc instead of 1 after the hang-up"
grep -q "the link was lost during the upload. Comport .*: the connection to the robot was lost" "$T/upl4.txt" ||
  fail "the hang-up is not told as a lost device"

# A port that nothing maps.
"$WINE" "$UPL" --port COM18 "$PGM" </dev/null >"$T/upl3.txt" 2>&1
rc=$?
[ $rc = 1 ] || fail "exit code $rc for a missing port"
grep -q "cannot open the port COM18 (\\\\\\\\.\\\\COM18): there is no such device" "$T/upl3.txt" || fail "no clear word on a missing port"
echo "ok"
