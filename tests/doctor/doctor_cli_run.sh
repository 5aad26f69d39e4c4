#!/bin/sh
# The installed tool as a user runs it: a usage error, a missing port, a
# port that another program holds (socat, when it is at hand), the
# simulated robot, and both of these at once. Every child runs under setsid, in a process group of its
# own that the script's end takes down, however it ends.
# usage: doctor_cli_run.sh BIN_DIR
set -u
bin=$1
tmp=$(mktemp -d)
export XDG_CONFIG_HOME=$tmp/cfg
grps=""
trap 'for g in $grps; do kill -KILL "-$g" 2>/dev/null; done; rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM HUP PIPE
grp() { setsid "$@" & grps="$grps $!"; }
fail=0
as=""  # how the tool is started: as this user, or through setpriv as another
expect() {  # expect CODE TEXT ARGS...: the exit code and a line of the output
  code=$1 text=$2
  shift 2
  $as "$bin/tessaro-doctor" "$@" >"$tmp/out" 2>&1
  rc=$?
  if [ "$rc" -ne "$code" ] || ! grep -qF -- "$text" "$tmp/out"; then
    echo "FAILED: tessaro-doctor $* gave $rc (wanted $code and '$text'):"
    cat "$tmp/out"
    fail=1
  fi
}
waitfor() { i=0; while [ ! -e "$1" ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done; }

expect 2 "usage: tessaro-doctor" --colour
expect 1 "The chosen port $tmp/none is not present" --port "$tmp/none"

grp "$bin/zefor-sim" --headless --link "$tmp/sim" </dev/null >/dev/null 2>&1
waitfor "$tmp/sim"
expect 0 "A robot answered the link check on $tmp/sim." --port "$tmp/sim"

# A user who is not root, with the computer's own user and group data: the
# group's member may open the robot's line, anyone else is told to join it.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && getent group dialout >/dev/null &&
  chgrp dialout "$(readlink -f "$tmp/sim")" && chmod 0660 "$(readlink -f "$tmp/sim")" && chmod 0755 "$tmp"; then
  usr=$(id -un 65534)
  as="setpriv --reuid=65534 --regid=65534 --groups=$(getent group dialout | cut -d: -f3)"
  expect 0 "You may open $tmp/sim." --port "$tmp/sim" --language 0
  as="setpriv --reuid=65534 --regid=65534 --clear-groups"
  expect 1 "only members of the group dialout may, and you are not a member." --port "$tmp/sim" --language 0
  expect 1 "sudo adduser $usr dialout" --port "$tmp/sim" --language 0
  as=""
fi

if command -v socat >/dev/null; then
  grp socat pty,raw,echo=0,link="$tmp/a" pty,raw,echo=0,link="$tmp/b" </dev/null 2>/dev/null
  waitfor "$tmp/a"
  # socat keeps both ends of its pseudo-terminal open.
  expect 1 "$tmp/a is held by another program: socat (process" --port "$tmp/a" --language 0
  # Both at once: a line each, and the count.
  expect 1 "[ ok ] $tmp/sim: A robot answered the link check on $tmp/sim." --port "$tmp/sim" --port "$tmp/a"
  expect 1 "1 of 2 ports have a robot that answers." --port "$tmp/sim" --port "$tmp/a"
fi
exit $fail
