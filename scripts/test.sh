#!/usr/bin/env bash
# Builds everything and runs every test: first the normal build with the windows,
# then the core, scenario and CLI tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the short fuzz and soak runs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# The tests of each build run on every core: they use folders of their own.
jobs=$(nproc)

cmake -S . -B build -G Ninja
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"

# The comparison with SUMO (label sumo) runs hours of traffic: in the normal
# build only, where it takes half a minute instead of many under the sanitizers.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAMPELSIM_SANITIZE=ON \
  -DAMPELSIM_BUILD_BENCH=OFF -DAMPELSIM_BUILD_GUI=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$(pwd)/tests/sanitizer/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -LE sumo -j "$jobs"

bash scripts/fuzz-smoke.sh
# The soak from the sanitized build above: a build of its own would compile
# the core a third time.
SOAK_BUILD=build-asan bash scripts/soak-smoke.sh
