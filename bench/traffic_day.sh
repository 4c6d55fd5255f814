#!/usr/bin/env bash
# Times generated traffic through ampelsim-cli (docs/traffic.md):
#   day without / with traffic  Monday from 00:00 in clock mode ("program Ub",
#                Start at 1 s; the weekly plan runs P3, P1, P4, P2, P3), 864 000
#                ticks, once with nobody on the road and once with
#                demo/traffic/weekday.json on all nine groups of the demo
#   compare      two programs x 8 runs of an hour (demo/traffic/peak.json),
#                one run at a time (--jobs 1) and one per core (--jobs 0)
#   bench/traffic_day.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -x "$build/ampelsim-cli" ] || [ ! -f "$build/Demo/ALL.DAT" ]; then
  echo "traffic_day.sh: build $build/ampelsim-cli and $build/Demo first" >&2
  exit 2
fi
cli="$(cd "$build" && pwd)/ampelsim-cli"
demo="$(cd "$build" && pwd)/Demo"
weekday="$source_dir/demo/traffic/weekday.json"
peak="$source_dir/demo/traffic/peak.json"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '0.5 program Ub\n1 press Start\n' > clock_mode.txt

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] }'; }

# Wall-clock and CPU (user + system) seconds of each run, via bash's time.
time_runs() {
  local name=$1
  shift
  TIMEFORMAT='%R %U %S'
  : > times.txt
  for ((i = 0; i < runs; i++)); do
    { time "$@" > /dev/null; } 2>> times.txt
  done
  echo "$name, $runs runs: wall median $(awk '{ print $1 }' times.txt | median) s," \
    "CPU median $(awk '{ printf "%.2f\n", $2 + $3 }' times.txt | median) s"
}

day=(run "$demo" --seconds 86400 --now "2024-03-04 00:00:00" --script clock_mode.txt)
time_runs "day without traffic" "$cli" "${day[@]}"
time_runs "day with traffic" "$cli" "${day[@]}" --traffic "$weekday"
compare=(compare "$demo" --traffic "$peak" --programs 1,2 --seconds 3600 --runs 8
  --now "2024-03-05 16:00:00")
time_runs "compare 2 x 8 runs of 3600 s, --jobs 1" "$cli" "${compare[@]}" --jobs 1
time_runs "compare 2 x 8 runs of 3600 s, one per core ($(nproc))" "$cli" "${compare[@]}"
