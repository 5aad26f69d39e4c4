#!/bin/sh
# Installs, with apt, the Debian 12 packages that are not installed yet. Sourced
# by run.sh and test.sh:
#   tessaro_install_deps build        what building and running Tessaro need
#   tessaro_install_deps build test   and what the tests need besides
#   tessaro_install_deps windows      the cross build for Windows and Wine
# The tools that take pictures of the window (tools/screenshot.sh,
# tools/idle-cpu.sh, tools/tessaro-mkmanual/make_pictures.sh) need xvfb, socat,
# xdotool and imagemagick, which neither set installs.

# Compiler, Qt, Qt's own translations of the standard buttons, and what the
# Debian package takes its dependencies from (dpkg-shlibdeps, file).
TESSARO_BUILD_PACKAGES="
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6
  qt6-translations-l10n
  dpkg-dev file
"
# Test and benchmark libraries; clang and its sanitizer and libFuzzer runtime
# for the fuzz build (GCC's sanitizer runtimes come with g++); a sound server
# for real playback, socat for a held port, an X server, a session bus and the
# accessibility bus with its Python client for the screen reader's test, and
# the validators of the desktop files.
TESSARO_TEST_PACKAGES="
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  pulseaudio socat
  xvfb dbus at-spi2-core python3-pyatspi
  desktop-file-utils appstream
"
# The Windows stage: the cross compiler, Wine to run the tests and the
# installer's compiler; socat for the pseudo-terminals behind Wine's ports.
TESSARO_WINDOWS_PACKAGES="
  g++-mingw-w64-x86-64-posix wine64 nsis socat
"
tessaro_install_deps() {
  missing=""
  for group in "$@"; do
    case $group in
      build) wanted=$TESSARO_BUILD_PACKAGES ;;
      test) wanted=$TESSARO_TEST_PACKAGES ;;
      windows) wanted=$TESSARO_WINDOWS_PACKAGES ;;
      *) echo "tessaro_install_deps: no package set '$group'" >&2; return 2 ;;
    esac
    for p in $wanted; do
      if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
      fi
    done
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
}
