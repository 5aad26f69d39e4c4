#!/bin/sh
# Installs what is missing, then builds and runs every test: the plain build,
# the AddressSanitizer + UndefinedBehaviorSanitizer build, the
# ThreadSanitizer build of the link and the simulator, a bounded run of every
# fuzz target, and the Windows build with its tests under Wine.
set -e
cd "$(dirname "$0")"
. tools/deps.sh
tessaro_install_deps build test windows
JOBS="$(nproc)"
export QT_QPA_PLATFORM=offscreen

echo "== plain build"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-test -j"$JOBS"
ctest --test-dir build-test --output-on-failure -j"$JOBS"

echo "== address and undefined behaviour sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARO_SANITIZE=address,undefined -DTESSARO_WITH_BENCH=OFF >/dev/null
cmake --build build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$JOBS"

echo "== thread sanitizer (link and simulator)"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTESSARO_SANITIZE=thread -DTESSARO_LINK_ONLY=ON -DTESSARO_WITH_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$JOBS"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j"$JOBS"

FUZZ_SECS="${TESSARO_FUZZ_SECONDS:-40}"
echo "== fuzzing (libFuzzer, $FUZZ_SECS s per target)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_FUZZ=ON \
  -DTESSARO_SANITIZE=address,undefined -DTESSARO_WITH_GUI=OFF -DTESSARO_WITH_TESTS=OFF \
  -DTESSARO_WITH_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$JOBS" --target tessaro_fuzz
fuzz/run.sh build-fuzz "$FUZZ_SECS"

echo "== windows build (mingw-w64) and tests under wine"
JOBS="$JOBS" tools/win-stage.sh build-test build-win
echo "== all tests passed"
