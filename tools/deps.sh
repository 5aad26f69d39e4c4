#!/bin/sh
# Installs, with apt, the Debian 12 packages that the build and the tests need
# and that are not installed yet. Sourced by run.sh and test.sh.
TESSARO_PACKAGES="
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6
  qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  pulseaudio
  clang libclang-rt-14-dev
  socat desktop-file-utils appstream dpkg-dev file
"
tessaro_install_deps() {
  missing=""
  for p in $TESSARO_PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $p"
    fi
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
}
