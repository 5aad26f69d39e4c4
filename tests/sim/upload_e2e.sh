#!/bin/sh
# tessaro-upload against zefor-sim --headless, both as a user runs them:
# an upload and run that the simulated robot carries out to its Stop, a
# simulator that quits while the tool waits for its answer, one in the
# background of a terminal, and a busy one that SIGTERM ends within a second.
#   upload_e2e.sh ZEFOR_SIM TESSARO_UPLOAD EXAMPLES_DIR
# Every child runs under setsid, in a process group of its own that the
# script's end takes down, however it ends (the test's time-out kills the tree).
set -u
SIM=$1 UPL=$2 EXA=$3
PGM=$EXA/drive_square.vio
T=$(mktemp -d /tmp/tessaro-e2e-XXXXXX)
GRPS=""
cleanup() {
  for g in $GRPS; do kill -KILL "-$g" 2>/dev/null; done
  rm -rf "$T"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE
fail() { echo "FAIL: $*"; for f in "$T"/*.txt; do echo "== $f"; head -c 4000 "$f"; done; exit 1; }
# A command in a process group of its own; its id in $!.
grp() { setsid "$@" & GRPS="$GRPS $!"; }
# Waits up to 10 s for a line in a file.
wait_for() {
  i=0
  while ! grep -q "$2" "$1" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 200 ] && return 1
    sleep 0.05
  done
}
# Gone, or a zombie of this script.
gone() { case $(ps -o stat= -p "$1") in "" | Z*) return 0 ;; esac; return 1; }

grp "$SIM" --headless --no-pacing --speed 100 --link "$T/dev1" </dev/null >"$T/sim1.txt" 2>&1
wait_for "$T/sim1.txt" /dev/ || fail "zefor-sim printed no device"
[ -L "$T/dev1" ] || fail "no link $T/dev1"
"$UPL" --run --port "$T/dev1" "$PGM" >"$T/upl1.txt" 2>&1 || fail "upload and run failed"
grep -q "transfer complete: 23 bytes" "$T/upl1.txt" || fail "no transfer complete"
wait_for "$T/sim1.txt" "Sto   stop: program complete" || fail "the program did not reach its Stop"
[ "$(grep -c 'Driving Turn right' "$T/sim1.txt")" = 4 ] || fail "not four turns"

# Paced: the frame takes 125 ms on the wire; the simulator goes once the tool
# has opened the line.
grp "$SIM" --headless --link "$T/dev2" </dev/null >"$T/sim2.txt" 2>&1
SIM2=$!
wait_for "$T/sim2.txt" /dev/ || fail "zefor-sim printed no device"
grp "$UPL" --port "$T/dev2" --timeout 60 "$PGM" </dev/null >"$T/upl2.txt" 2>&1
UPL2=$!
wait_for "$T/sim2.txt" "link up" || fail "the tool did not open the line"
kill "$SIM2"
wait "$UPL2"
rc=$?
[ $rc = 1 ] || fail "exit code $rc instead of 1"
grep -q "was lost during the upload" "$T/upl2.txt" || fail "no clear message"
[ -e "$T/dev2" ] && fail "the link $T/dev2 was left behind"

# Busy: a loop with delays of 0.1 s run a million times faster than real
# time, the model ever further behind the clock. Once it has used a second of processor time,
# SIGTERM must end it within a second (2.5 s allowed) and remove its link.
grp "$SIM" --headless --no-pacing --speed 1000000 --link "$T/dev4" </dev/null >/dev/null 2>"$T/sim4.txt"
SIM4=$!
i=0
while [ ! -L "$T/dev4" ]; do i=$((i + 1)); [ $i -gt 200 ] && fail "no link $T/dev4"; sleep 0.05; done
sed 's/^5\r$/1\r/' "$EXA/loop_label_goto.vio" >"$T/loop.vio"
"$UPL" --run --port "$T/dev4" "$T/loop.vio" >"$T/upl4.txt" 2>&1 || fail "upload and run of the loop failed"
i=0
while [ "$(cut -d' ' -f14 "/proc/$SIM4/stat" 2>/dev/null || echo 0)" -lt 100 ]; do
  i=$((i + 1)); [ $i -gt 800 ] && fail "zefor-sim was not busy"
  gone "$SIM4" && fail "zefor-sim ended while busy"
  sleep 0.05
done
kill -TERM "$SIM4"
i=0
until gone "$SIM4"; do i=$((i + 1)); [ $i -gt 50 ] && fail "zefor-sim still runs 2.5 s after SIGTERM"; sleep 0.05; done
[ -e "$T/dev4" ] && fail "the link $T/dev4 was left behind"

# Started with & from an interactive shell, as the README shows: keys the user
# types then are the shell's, and the simulator, in the background of the
# terminal, must not be stopped by reading them.
if command -v script >/dev/null 2>&1; then
  cat >"$T/bg.sh" <<EOF
set -m
trap 'kill %1 2>/dev/null' EXIT
trap 'exit 1' HUP TERM
"$SIM" --headless --no-pacing --link "$T/dev3" >"$T/sim3.txt" 2>&1 &
i=0
while [ ! -L "$T/dev3" ] && [ \$i -lt 200 ]; do i=\$((i + 1)); sleep 0.05; done
"$UPL" --port "$T/dev3" --timeout 5 "$PGM" >"$T/upl3.txt" 2>&1
echo \$? >"$T/rc3"
kill %1; kill -CONT %1 2>/dev/null
EOF
  printf 'status\n' >"$T/keys"
  grp script -qec "sh $T/bg.sh" /dev/null <"$T/keys" >/dev/null 2>&1
  wait $!
  [ "$(cat "$T/rc3" 2>/dev/null)" = 0 ] || fail "a simulator in the background of a terminal did not answer"
fi
echo "ok"
