#!/usr/bin/env bash
# Builds the soak program with AddressSanitizer and UBSan (in build-soak, or in
# SOAK_BUILD) and runs its short form: random junctions for simulated hours
# each. Exit 1 on a sanitizer report, a damaged fault store or heap growth.
#   SOAK_DATA_SETS, SOAK_HOURS, SOAK_SEED  (defaults 16, 3, 1)
#   SOAK_BUILD     a build folder configured with AMPELSIM_SANITIZE=ON to take
#                  the soak from (scripts/test.sh passes its build-asan); by
#                  default build-soak, configured here
#   AMPELSIM_JOBS  parallel build jobs (default: the build tool's own choice)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${SOAK_BUILD:-build-soak}
jobs=()
if [ -n "${AMPELSIM_JOBS:-}" ]; then jobs=(-j "$AMPELSIM_JOBS"); fi

if [ -z "${SOAK_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DAMPELSIM_SANITIZE=ON -DAMPELSIM_BUILD_GUI=OFF \
    -DAMPELSIM_BUILD_TESTS=OFF -DAMPELSIM_BUILD_BENCH=OFF -DAMPELSIM_BUILD_CLI=OFF > /dev/null
elif ! grep -q '^AMPELSIM_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt" 2>/dev/null; then
  echo "soak: $build is not a build configured with AMPELSIM_SANITIZE=ON" >&2
  exit 2
fi
cmake --build "$build" --target ampelsim-soak "${jobs[@]}"

ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
  "$build/ampelsim-soak" --data-sets "${SOAK_DATA_SETS:-16}" --hours "${SOAK_HOURS:-3}" \
  --seed "${SOAK_SEED:-1}"
