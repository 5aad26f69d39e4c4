#!/bin/bash
# Builds the Debian package of a build folder with CPack and checks it without
# installing it (no root needed): the installed tree, the links in /usr/bin,
# owners and modes, the dependencies against the libraries that the programs
# link, the desktop files, no paths of the build machine, and that the
# programs, unpacked under another prefix, find their data files.
#
#   packaging/check-deb.sh [BUILD_DIR] [PACKAGE.deb]
#
# BUILD_DIR defaults to build, the folder that run.sh builds whole.
# With PACKAGE.deb given, that package is checked instead of a new one.
# Exit 0 when every check passes, 1 otherwise (each fault is printed).
set -u
export LC_ALL=C
src=$(cd "$(dirname "$0")/.." && pwd)
bld=${1:-$src/build}
[ -d "$bld" ] || { echo "usage: $0 [BUILD_DIR] [PACKAGE.deb] (no build folder $bld)" >&2; exit 2; }
bld=$(cd "$bld" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

faults=0
fail() { echo "FAULT: $*"; faults=$((faults + 1)); }

lib=usr/lib/tessaro
programs="tessaro tessaro-compile tessaro-upload zefor-sim tessaro-doctor"
if [ $# -ge 2 ]; then
  deb=$2
else
  # CPack builds what is out of date first: a partly built tree would be built
  # whole here, so it is refused instead.
  for p in $programs; do
    [ -x "$bld/stage/bin/$p" ] || { echo "FAULT: $bld is not built whole ($p is missing): build all targets first"; exit 1; }
  done
  if ! "${CPACK:-cpack}" --config "$bld/CPackConfig.cmake" -G DEB -B "$tmp/cpack" \
       -D CPACK_OUTPUT_FILE_PREFIX="$tmp" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAULT: cpack failed"
    exit 1
  fi
  deb=$(ls "$tmp"/tessaro_*.deb 2>/dev/null | head -n 1)
  [ -n "$deb" ] || { cat "$tmp/cpack.log"; echo "FAULT: cpack wrote no tessaro_*.deb"; exit 1; }
fi
root=$tmp/root
ctl=$tmp/control
dpkg-deb -x "$deb" "$root" && dpkg-deb -e "$deb" "$ctl" || { echo "FAULT: $deb does not unpack"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }

# ---- Control data
[ "$(field Package)" = tessaro ] || fail "package name is '$(field Package)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture is '$(field Architecture)'"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$bld/CMakeCache.txt")
[ "$(field Version)" = "$version" ] || fail "version is '$(field Version)', the project's is '$version'"
for s in postinst postrm; do
  [ -x "$ctl/$s" ] || fail "control script $s is missing or not executable"
done
if [ -f "$ctl/md5sums" ]; then
  (cd "$root" && md5sum --quiet -c "$ctl/md5sums") >"$tmp/md5.log" 2>&1 || fail "md5sums do not match: $(head -n 3 "$tmp/md5.log")"
else
  fail "no md5sums"
fi

# ---- The program's own tree
for p in $programs; do
  [ -f "$root/$lib/bin/$p" ] && [ -x "$root/$lib/bin/$p" ] || fail "$lib/bin/$p is missing or not executable"
done
for f in SysMsgFil.sys ExtComTkn.sys; do
  cmp -s "$src/data/$f" "$root/$lib/bin/$f" || fail "$lib/bin/$f is missing or differs from data/$f"
done
expect() {  # expect SOURCE_DIR PATTERN DEST_DIR: every file of the source is installed there
  local n=0 f
  while IFS= read -r -d '' f; do
    n=$((n + 1))
    cmp -s "$f" "$root/$3/${f#"$1"/}" || fail "$3/${f#"$1"/} is missing or differs"
  done < <(find "$1" -name "$2" -type f -print0)
  [ "$n" -gt 0 ] || fail "no $2 files in $1"
}
expect "$src/data/pictures" '*.bmp' "$lib/pictures"
expect "$src/data/sounds" '*.wav' "$lib/sounds"
expect "$src/docs/manual" '*.pdf' "$lib/Documentation"
expect "$src/data/examples" '*.vio' usr/share/doc/tessaro/examples
expect "$src/data/lessons" '*.lesson' "$lib/lessons"

# ---- Links in /usr/bin: relative, into the program's tree
for p in $programs; do
  l=$root/usr/bin/$p
  if [ ! -L "$l" ]; then fail "usr/bin/$p is not a link"; continue; fi
  t=$(readlink "$l")
  case $t in /*) fail "usr/bin/$p leads to the absolute path $t" ;; esac
  [ "$(cd "$root/usr/bin" && realpath -m "$t")" = "$root/$lib/bin/$p" ] || fail "usr/bin/$p leads to $t, not to ../lib/tessaro/bin/$p"
done

# ---- Owners and modes
dpkg-deb -c "$deb" >"$tmp/list"
while read -r mode owner _; do
  [ "$owner" = root/root ] || { fail "an entry belongs to $owner"; break; }
done <"$tmp/list"
awk '$1 !~ /^l/ { if (substr($1, 6, 1) == "w" || substr($1, 9, 1) == "w") print $6 }' "$tmp/list" >"$tmp/writable"
[ -s "$tmp/writable" ] && fail "group or others may write: $(head -n 3 "$tmp/writable" | tr '\n' ' ')"
awk '$1 ~ /^-..x/ { print $6 }' "$tmp/list" | grep -v "^\./$lib/bin/" >"$tmp/exec"
[ -s "$tmp/exec" ] && fail "executable data files: $(head -n 3 "$tmp/exec" | tr '\n' ' ')"

# ---- Dependencies: every library a program links comes from a package that
# the package depends on, and the window gets a platform plugin.
deps=" $(field Depends | tr ',|' '\n\n' | awk '{ print $1 }' | tr '\n' ' ') "
case $deps in *" qt6-qpa-plugins "*) ;; *) fail "Depends lacks qt6-qpa-plugins (the window cannot open without it)" ;; esac
case $deps in *" libqt6widgets6 "*) ;; *) fail "Depends lacks libqt6widgets6" ;; esac
case $deps in *" qt6-translations-l10n "*) ;; *) fail "Depends lacks qt6-translations-l10n (the standard buttons would stay English)" ;; esac
: >"$tmp/needed"
for p in $programs; do
  readelf -d "$root/$lib/bin/$p" >"$tmp/dyn" 2>/dev/null || { fail "$p is not an ELF program"; continue; }
  grep -qE '\((RPATH|RUNPATH)\)' "$tmp/dyn" && fail "$p carries a library search path: $(grep -E 'RPATH|RUNPATH' "$tmp/dyn")"
  readelf -S "$root/$lib/bin/$p" | grep -q '\.debug_info' && fail "$p is not stripped"
  sed -n "s/.*(NEEDED).*\[\(.*\)\]/\1 $p/p" "$tmp/dyn" >>"$tmp/needed"
done
ldconfig -p >"$tmp/ldcache"
sort -u -k1,1 "$tmp/needed" >"$tmp/sonames"
: >"$tmp/paths"
while read -r so p; do
  path=$(awk -v so="$so" '$1 == so { print $NF; exit }' "$tmp/ldcache")
  [ -n "$path" ] || { fail "$p links $so, which this system does not have"; continue; }
  # dpkg knows a library by the path it installed, with or without /usr.
  real=$(readlink -f "$path")
  printf '%s %s %s\n' "$so" "$p" "$real" >>"$tmp/paths"
done <"$tmp/sonames"
cut -d' ' -f3 "$tmp/paths" | while read -r r; do echo "$r"; echo "/usr${r#/usr}"; echo "${r#/usr}"; done \
  | sort -u | xargs -r dpkg -S >"$tmp/owners" 2>/dev/null
while read -r so p real; do
  pkg=$(awk -v a="$real" -v b="${real#/usr}" '{ f = $NF; if (f == a || f == b || f == "/usr" b) { sub(/:.*/, "", $1); print $1; exit } }' "$tmp/owners")
  [ -n "$pkg" ] || { fail "no package owns $real ($so, linked by $p)"; continue; }
  case $deps in *" $pkg "*) ;; *) fail "$p links $so from $pkg, which Depends does not name" ;; esac
done <"$tmp/paths"
for d in $deps; do
  apt-cache show "$d" >/dev/null 2>&1 || fail "Depends names $d, which no package source knows"
done

# ---- Desktop entry, file type, icons, metainfo, udev rule
desk=$root/usr/share/applications/com.brinkmoor.Tessaro.desktop
if [ -f "$desk" ]; then
  grep -qx 'Exec=tessaro %f' "$desk" || fail "the desktop entry does not start tessaro with the file: $(grep '^Exec=' "$desk")"
  icon=$(sed -n 's/^Icon=//p' "$desk")
  ls "$root"/usr/share/icons/hicolor/*/apps/"$icon".png >/dev/null 2>&1 || fail "no icon $icon.png under usr/share/icons/hicolor"
  mime=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$desk")
  [ "$mime" = application/x-tessaro-vio ] || fail "the desktop entry claims '$mime'"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desk" || fail "desktop-file-validate refuses the desktop entry"
  fi
else
  fail "no desktop entry in usr/share/applications"
fi
xml=$root/usr/share/mime/packages/tessaro.xml
grep -q 'type="application/x-tessaro-vio"' "$xml" 2>/dev/null || fail "usr/share/mime/packages/tessaro.xml lacks the type"
ls "$root"/usr/share/icons/hicolor/*/mimetypes/application-x-tessaro-vio.png >/dev/null 2>&1 || fail "no icon for .vio files"
[ -f "$root/usr/share/metainfo/com.brinkmoor.Tessaro.metainfo.xml" ] || fail "no AppStream metadata"
grep -q 'SYMLINK+="zefor"' "$root/usr/lib/udev/rules.d/60-tessaro-zefor.rules" 2>/dev/null || fail "no udev rule for /dev/zefor"

# ---- No paths of the build machine
grep -rlaF -e "$bld" -e "$src/" "$root" >"$tmp/paths" 2>/dev/null
[ -s "$tmp/paths" ] && fail "build paths in: $(sed "s|$root/||" "$tmp/paths" | head -n 3 | tr '\n' ' ')"

# ---- The unpacked programs, started through their links from elsewhere,
# find their data files as the staged ones do.
ex=$src/data/examples/drive_square.vio
if [ -x "$bld/stage/bin/tessaro-compile" ]; then
  want=$(cd / && env -u TESSARO_INSTALL_DIR "$bld/stage/bin/tessaro-compile" --listing "$ex" 2>&1)
  got=$(cd / && env -u TESSARO_INSTALL_DIR "$root/usr/bin/tessaro-compile" --listing "$ex" 2>&1)
  [ -n "$want" ] && [ "$got" = "$want" ] || fail "the unpacked tessaro-compile prints: $(echo "$got" | head -n 3)"
  bad=$tmp/bad.vio
  printf 'not a program\n' >"$bad"
  want=$(cd / && env -u TESSARO_INSTALL_DIR "$bld/stage/bin/tessaro-compile" --language 1 "$bad" 2>&1)
  got=$(cd / && env -u TESSARO_INSTALL_DIR "$root/usr/bin/tessaro-compile" --language 1 "$bad" 2>&1)
  [ "$got" = "$want" ] || fail "the unpacked tessaro-compile tells a bad file otherwise: $got"
fi

if [ "$faults" -eq 0 ]; then
  echo "$(basename "$deb"): all checks passed"
  exit 0
fi
echo "$(basename "$deb"): $faults fault(s)"
exit 1
