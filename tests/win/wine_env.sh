#!/bin/sh
# The Wine side of the Windows tests.
#   wine_env.sh start PREFIX LINKDIR   the prefix (made on first use) with COM7,
#                                      COM8 and COM9 mapped to LINKDIR/com7..com9,
#                                      and a persistent wineserver for it
#   wine_env.sh stop PREFIX            ends that wineserver
#   wine_env.sh pair-start LINKDIR     a pseudo-terminal pair LINKDIR/com8 <-> com9
#   wine_env.sh pair-stop LINKDIR
# COM1 is left alone: Wine maps it to /dev/ttyS0, which here may be the
# machine's console. A wineserver that ctest starts by itself would hold its
# output pipe for seconds after each test, so one runs for the whole stage.
set -eu
WINE=${TESSARO_WINE:-/usr/lib/wine/wine64}
SRV=${TESSARO_WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all
case $1 in
  start)
    export WINEPREFIX=$2
    mkdir -p "$3"
    if [ ! -f "$WINEPREFIX/.tessaro-ports" ]; then
      "$WINE" wineboot --init >/dev/null 2>&1 || true
      for n in 7 8 9; do
        "$WINE" reg add 'HKLM\Software\Wine\Ports' /v COM$n /t REG_SZ /d "$3/com$n" /f >/dev/null 2>&1
      done
      "$SRV" -w
      touch "$WINEPREFIX/.tessaro-ports"
    fi
    "$SRV" -p >/dev/null 2>&1 </dev/null
    # The ports are mapped when the session starts.
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true
    for n in 7 8 9; do
      [ "$(readlink "$WINEPREFIX/dosdevices/com$n")" = "$3/com$n" ] || { echo "COM$n is not mapped to $3/com$n" >&2; exit 1; }
    done
    ;;
  stop)
    WINEPREFIX=$2 "$SRV" -k 2>/dev/null || true
    ;;
  pair-start)
    mkdir -p "$2"
    # A pair left by an earlier run goes first.
    [ -f "$2/pair.pid" ] && kill "$(cat "$2/pair.pid")" 2>/dev/null
    rm -f "$2/com8" "$2/com9" "$2/pair.pid"
    socat pty,raw,echo=0,link="$2/com8" pty,raw,echo=0,link="$2/com9" </dev/null >/dev/null 2>&1 &
    echo $! >"$2/pair.pid"
    i=0
    while [ ! -L "$2/com8" ] || [ ! -L "$2/com9" ]; do
      i=$((i + 1)); [ $i -gt 100 ] && { echo "socat made no pair" >&2; exit 1; }
      sleep 0.05
    done
    ;;
  pair-stop)
    [ -f "$2/pair.pid" ] && kill "$(cat "$2/pair.pid")" 2>/dev/null || true
    rm -f "$2/pair.pid"
    ;;
esac
