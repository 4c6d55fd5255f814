#!/usr/bin/env bash
# Times whole simulated days of the demo junction through `ampelsim-cli run`
# (864 000 ticks each, one actual-plan line per second written to /dev/null):
#   working day  Monday in clock mode ("program Ub"): the weekly plan runs P3
#                (night) until 06:00, P1 (day), P4 (afternoon peak) from 15:30,
#                P2 (actuated) from 18:30 and P3 from 22:00; all day the
#                detectors of the main road (K1, K2, K5) and the side road
#                (K3, K4) and the pedestrian buttons of F1 and F2 report, a third
#                as often at night; a K4 pulse calls P2 out of P1 on demand, and
#                K3 signs it off
#   fixed time   P1 all day, nobody reporting
#   bench/simulated_day.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
if [ ! -x "$build/ampelsim-cli" ] || [ ! -f "$build/Demo/ALL.DAT" ]; then
  echo "simulated_day.sh: build $build/ampelsim-cli and $build/Demo first" >&2
  exit 2
fi
cli="$(cd "$build" && pwd)/ampelsim-cli"
demo="$(cd "$build" && pwd)/Demo"

# The runs write their fault store DATEN.STO into the current directory.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
awk 'BEGIN {
  print "0.5 program Ub"
  print "1 press Start"
  # detector group, seconds between pulses by day, first pulse
  n = split("1 12 3  2 15 8  5 70 25  3 150 40  4 240 100  6 130 60  7 170 90", f, " ")
  for (t = 10; t < 86400; t++) {
    night = t < 6 * 3600 || t >= 22 * 3600
    pulses = ""
    for (i = 1; i < n; i += 3) {
      every = f[i + 1] * (night ? 3 : 1)
      if (t >= f[i + 2] && (t - f[i + 2]) % every == 0) pulses = pulses " " f[i]
    }
    if (pulses == "") continue
    m = split(substr(pulses, 2), groups, " ")
    for (j = 1; j <= m; j++) print t " detector " groups[j] " down"
    for (j = 1; j <= m; j++) print t ".5 detector " groups[j] " up"
  }
}' > "$work/working_day.txt"
echo "0.5 press Start" > "$work/fixed_time_day.txt"

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] }'; }
minimum() { sort -n | head -1; }

# Wall-clock and CPU (user + system) seconds of each run, via bash's time.
time_day() {
  local name=$1 script=$2
  TIMEFORMAT='%R %U %S'
  : > "$work/times.txt"
  for ((i = 0; i < runs; i++)); do
    { time "$cli" run "$demo" --seconds 86400 --now "2024-03-04 00:00:00" \
        --script "$script" > /dev/null; } 2>> "$work/times.txt"
  done
  local wall cpu
  wall=$(awk '{ print $1 }' "$work/times.txt")
  cpu=$(awk '{ printf "%.2f\n", $2 + $3 }' "$work/times.txt")
  echo "$name (86400 s, 864000 ticks), $runs runs:" \
    "wall median $(median <<< "$wall") s (min $(minimum <<< "$wall") s)," \
    "CPU median $(median <<< "$cpu") s (min $(minimum <<< "$cpu") s)"
}

# What the working day ran: seconds per program (P0: before the data set
# loaded), so that a change of the demo or of the script shows here.
"$cli" run "$demo" --seconds 86400 --now "2024-03-04 00:00:00" --script "$work/working_day.txt" |
  awk '/^ P[0-9] / { seconds[$1]++; if ($1 != last) { stretches[$1]++; last = $1 } }
       END { for (p in seconds) printf "%s %d s in %d stretches\n", p, seconds[p], stretches[p] }' |
  sort | paste -sd ';' | sed 's/;/; /g; s/^/working day programs: /'

time_day "working day, clock mode with traffic" "$work/working_day.txt"
time_day "fixed-time day, P1" "$work/fixed_time_day.txt"
