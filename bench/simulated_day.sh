#!/usr/bin/env bash
# Times a whole simulated day of the demo junction through `ampelsim-cli run`
# (864 000 ticks, one actual-plan line per second written to /dev/null).
#   bench/simulated_day.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=${1:-build}
runs=${2:-5}
cli="$build/ampelsim-cli"
demo="$build/Demo"
if [ ! -x "$cli" ] || [ ! -f "$demo/ALL.DAT" ]; then
  echo "simulated_day.sh: build $cli and $demo first" >&2
  exit 2
fi

# A script that keeps the controller busy all day: started at once, with
# detector pulses on the main road, the side road and a pedestrian button.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
  echo "1 press Start"
  for ((t = 20; t < 86400; t += 45)); do
    echo "$t detector 1 down"
    echo "$t.5 detector 1 up"
    if ((t % 180 == 20)); then
      echo "$((t + 10)) detector 3 down"
      echo "$((t + 10)).5 detector 3 up"
    fi
  done
} > "$work/day.txt"

# Wall-clock and CPU (user + system) seconds of each run, via bash's time.
cd "$work"
TIMEFORMAT='%R %U %S'
: > times.txt
for ((i = 0; i < runs; i++)); do
  { time "$OLDPWD/$cli" run "$OLDPWD/$demo" --seconds 86400 --now "2024-03-04 00:00:00" \
      --script day.txt > /dev/null; } 2>> times.txt
done
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.2f", v[int((NR + 1) / 2)] }'; }
minimum() { sort -n | head -1; }
wall=$(awk '{ print $1 }' times.txt)
cpu=$(awk '{ printf "%.2f\n", $2 + $3 }' times.txt)
echo "simulated day (86400 s, 864000 ticks), $runs runs:" \
  "wall median $(median <<< "$wall") s (min $(minimum <<< "$wall") s)," \
  "CPU median $(median <<< "$cpu") s (min $(minimum <<< "$cpu") s)"
