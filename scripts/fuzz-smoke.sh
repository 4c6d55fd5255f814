#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in
# build-fuzz and runs each on its seed corpus for a short while. Exit 1 on any
# finding; its input is kept in build-fuzz/findings/ (add it to
# fuzz/regressions/<target>/ with the fix, see fuzz/README.md).
#   FUZZ_SECONDS   seconds per target (default 60)
#   FUZZ_PARALLEL  targets run at once (default: the number of cores)
#   AMPELSIM_JOBS  parallel build jobs (default: the build tool's own choice)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
parallel=${FUZZ_PARALLEL:-$(nproc)}
build="build-fuzz"
jobs=()
if [ -n "${AMPELSIM_JOBS:-}" ]; then jobs=(-j "$AMPELSIM_JOBS"); fi

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DAMPELSIM_BUILD_FUZZ=ON -DAMPELSIM_BUILD_TESTS=OFF -DAMPELSIM_BUILD_GUI=OFF \
  -DAMPELSIM_BUILD_BENCH=OFF -DAMPELSIM_BUILD_CLI=ON > /dev/null
cmake --build "$build" --target fuzz_targets "${jobs[@]}"

root=$(pwd)
findings="$root/$build/findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$findings"

# The longest input each target gets, and its extra options.
declare -A max_len=([decoders]=20000 [loader]=20000 [scenario]=4096 [reports]=8192 [simulation]=8192 [data_set_json]=65536 [edit_patch]=16384 [junction_spec]=16384 [intergreen_geometry]=16384 [traffic_file]=16384 [sumo_mapping]=16384 [sumo_network]=32768 [stages]=256)
declare -A extra=([scenario]="-dict=$root/fuzz/dictionaries/scenario.dict" [junction_spec]="-dict=$root/fuzz/dictionaries/junction_spec.dict" [intergreen_geometry]="-dict=$root/fuzz/dictionaries/intergreen_geometry.dict" [traffic_file]="-dict=$root/fuzz/dictionaries/traffic_file.dict" [sumo_mapping]="-dict=$root/fuzz/dictionaries/sumo_mapping.dict" [stages]="-dict=$root/fuzz/dictionaries/stages.dict")

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
targets=(decoders loader scenario reports simulation data_set_json edit_patch junction_spec intergreen_geometry traffic_file sumo_mapping sumo_network stages)

# Runs one target for its time; its outcome goes to $work/<target>.status.
run_target() {
  local target=$1
  # New inputs go to a scratch folder: the repository's corpus is only read.
  mkdir -p "$work/$target"
  # shellcheck disable=SC2086
  if (cd "$work" && "$root/$build/fuzz_$target" -max_total_time="$seconds" \
        -max_len="${max_len[$target]}" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/$target-" ${extra[$target]:-} \
        "$work/$target" "$root/fuzz/corpus/$target") > "$work/$target.log" 2>&1; then
    echo clean > "$work/$target.status"
  else
    echo finding > "$work/$target.status"
  fi
}

# Each target keeps its full time; they run side by side, one per core.
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
    wait -n || true
  done
  run_target "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
  if [ "$(cat "$work/$target.status" 2>/dev/null)" = clean ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log")
    echo "fuzz_$target: clean, ${runs:-?} inputs in ${seconds} s"
  else
    echo "fuzz_$target: FINDING (inputs in $findings)"
    tail -n 60 "$work/$target.log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz smoke failed: ${failed[*]}"
  exit 1
fi
