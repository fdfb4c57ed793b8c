#!/usr/bin/env bash
# Builds the sanitizer test configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD=${PX920_TEST_BUILD:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPX920_SANITIZE=ON -DPX920_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 300
