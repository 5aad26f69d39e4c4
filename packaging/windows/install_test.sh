#!/bin/sh
# The installer under Wine: a silent install into Program Files, the tools on
# the PATH, tessaro-compile.exe --help and the compile of an example from the
# installed tree, then a silent uninstall that leaves nothing behind.
#   install_test.sh WINE PREFIX SETUP_EXE
set -u
WINE=$1 PFX=$2 SETUP=$3
export WINEPREFIX=$PFX WINEDEBUG=-all
D="$PFX/drive_c/Program Files/Tessaro"
ENV='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
fail() { echo "FAIL: $*"; exit 1; }
[ -e "$D" ] && fail "$D is there before the install"
"$WINE" "$SETUP" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"
for f in bin/tessaro-compile.exe bin/tessaro-upload.exe bin/tessaro-doctor.exe bin/zefor-sim.exe \
    bin/SysMsgFil.sys bin/ExtComTkn.sys examples/drive_square.vio uninstall.exe; do
  [ -f "$D/$f" ] || fail "no $f"
done
[ -n "$(ls "$D/pictures")" ] && [ -n "$(ls "$D/sounds")" ] && [ -n "$(ls "$D/lessons")" ] || fail "a data folder is empty"
ls "$D/Documentation/"*.pdf >/dev/null 2>&1 || fail "no manuals"
"$WINE" reg query "$ENV" /v Path 2>/dev/null | grep -qi 'Program Files\\Tessaro\\bin' || fail "bin is not on the PATH"
# A new command prompt finds the tool by the PATH alone.
out=$("$WINE" cmd /c "tessaro-compile.exe --help" </dev/null 2>&1) || fail "tessaro-compile --help failed: $out"
echo "$out" | grep -q "^usage: tessaro-compile" || fail "no usage: $out"
out=$("$WINE" "$D/bin/tessaro-compile.exe" 'C:\Program Files\Tessaro\examples\drive_square.vio' </dev/null 2>&1) ||
  fail "the example did not compile: $out"
[ "$(echo "$out" | head -n 1)" = "A0 AB AE 0A AE 0A 12 AE 32 15 12 AE 32 15 12 AE 32 15 12 AE 32 15 A1" ] ||
  fail "unexpected tokens: $out"
# The uninstaller runs a copy of itself from the temporary folder and
# returns at once: the tree goes within seconds.
"$WINE" "$D/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
i=0
while [ -e "$D" ]; do
  i=$((i + 1)); [ $i -gt 600 ] && fail "the uninstall left $(ls -R "$D")"
  sleep 0.05
done
"$WINE" reg query "$ENV" /v Path 2>/dev/null | grep -qi 'Tessaro' && fail "bin stays on the PATH"
echo "ok"
