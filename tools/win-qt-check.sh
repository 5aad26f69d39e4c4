#!/bin/sh
# The window's sources compiled for Windows: no Qt for Windows exists on this
# machine, so each source that uses Qt is checked by mingw-w64 against the
# system's Qt headers (syntax and types only, -fsyntax-only), warnings as
# errors. What it cannot see: Qt's Windows-only headers and the link.
#   tools/win-qt-check.sh [JOBS]
set -eu
cd "$(dirname "$0")/.."
JOBS=${1:-$(nproc)}
CXX=x86_64-w64-mingw32-g++-posix
Q=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
VER=$(sed -n 's/^project(Tessaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
FLAGS="-std=c++20 -fsyntax-only -Wall -Wextra -Werror -I. -DTESSARO_VERSION=\"${VER:-0}\""
for m in "" QtCore QtGui QtWidgets QtMultimedia QtPrintSupport; do FLAGS="$FLAGS -isystem $Q/$m"; done
# The headers made from the system's Linux build declare what mingw sees as
# dllimport twice; that is theirs, not ours.
FLAGS="$FLAGS -Wno-attributes"
export CXX FLAGS
ls app/*.cpp app/platform/*.cpp editor/qt/*.cpp sim/qt/*.cpp sound/qt/*.cpp core/qt/*.cpp |
  xargs -P "$JOBS" -n 4 sh -c 'for f; do $CXX $FLAGS "$f" || exit 255; done' sh
echo "window sources checked for Windows: $(ls app/*.cpp app/platform/*.cpp editor/qt/*.cpp sim/qt/*.cpp sound/qt/*.cpp core/qt/*.cpp | wc -l) files"
