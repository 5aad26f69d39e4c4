#!/bin/sh
# Installs what is missing, builds Tessaro and starts it.
set -e
cd "$(dirname "$0")"
. tools/deps.sh
tessaro_install_deps
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_WITH_TESTS=OFF -DTESSARO_WITH_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/stage/bin/tessaro "$@"
