#!/bin/sh
# The Windows stage: the widget-free libraries and the command-line tools
# cross-built with mingw-w64, then every Windows test run by ctest through
# Wine, headless; the end-to-end upload uses the Linux build's zefor-sim.
#   tools/win-stage.sh [LINUX_BUILD_DIR] [WINDOWS_BUILD_DIR]
# (defaults build-test and build-win). The packages come from
# tools/deps.sh: tessaro_install_deps windows.
set -eu
cd "$(dirname "$0")/.."
HOST=${1:-build-test}
B=${2:-build-win}
JOBS=${JOBS:-$(nproc)}
ROOT=$(pwd)
LAUNCH=""
if command -v ccache >/dev/null 2>&1; then
  LAUNCH="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
cmake -S . -B "$B" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSARO_WITH_GUI=OFF -DTESSARO_WITH_BENCH=OFF -DTESSARO_HOST_ZEFOR_SIM="$ROOT/$HOST/stage/bin/zefor-sim" \
  $LAUNCH >/dev/null
cmake --build "$B" -j"$JOBS"
PFX=$ROOT/$B/wine
trap 'sh tests/win/wine_env.sh stop "$PFX"' EXIT
sh tests/win/wine_env.sh start "$PFX" "$ROOT/$B/e2e"
ctest --test-dir "$B" --output-on-failure -j"$JOBS"
tools/win-qt-check.sh "$JOBS"
