#!/usr/bin/env bash
# Writes the output of a fixed set of ampelsim-cli runs on the demo junction into
# OUTDIR, so that two builds can be compared with `diff -r` after a change that
# must not alter any output (reports, run lines, fault store, charts, statistics).
#   bash scripts/byte-identity.sh BUILD_DIR OUTDIR
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
cli="$build/ampelsim-cli"
demo="$build/Demo"
now="2026-12-07 06:30:00"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

step() {  # name, command...: stdout, stderr and exit code of one command
  local name="$1"
  shift
  "$@" >"$out/$name.out" 2>"$out/$name.err"
  echo "$?" >"$out/$name.rc"
}

step check "$cli" check "$demo"
step dump "$cli" dump "$demo"
for report in soll programme zwischenzeiten gruenverriegelungen zuordnung einschalt aus-gez \
  aus-st schaltpunkte meldervorspeicherung programmfreigabe gruen-min wechselpunkte \
  wechsel-anf pruefprotokoll; do
  step "report-$report" "$cli" report "$report" "$demo" --now "$now"
done
step verify "$cli" verify "$demo"
step verify-json "$cli" verify "$demo" --json

# A whole day in clock mode with detector pulses and demand presses.
{
  echo "0 program Ub"
  echo "1 press Start"
  for t in $(seq 40 173 86000); do
    g=$(((t / 173) % 6 + 1))
    echo "$t detector $g down"
    echo "$t.5 detector $g up"
    echo "$((t + 60)) press Anf1"
  done
} >day.txt
step run-day "$cli" run "$demo" --seconds 86400 --now "$now" --script day.txt
cp DATEN.STO "$out/run-day.sto" 2>/dev/null || true
rm -f DATEN.STO

# Faults, lamp clicks, program changes, switches and the reports after the run.
cat >faults.txt <<'SCRIPT'
0 program P1
1 press Start
60 lamp 3 red
80 press Quittung
90 set Test on
95 press Weiter
100 set Test off
120 program P2
200 detector 5 down
201 detector 5 up
250 set Handbetrieb on
260 press Hand
300 set Handbetrieb off
320 lamp 1 green
400 press Quittung
420 press Stop
440 press Start
500 set Blinken on
520 set Blinken off
600 program P4
700 set Dauer on
720 set Dauer off
800 lamp 6 yellow
SCRIPT
step run-faults "$cli" run "$demo" --seconds 900 --now "$now" --script faults.txt \
  --report stoerprotokoll --report soll --chart "$out/run-faults.png" --chart-from 30 --chart-to 300
cp DATEN.STO "$out/run-faults.sto" 2>/dev/null || true
step run-faults-svg "$cli" run "$demo" --seconds 400 --now "$now" --script faults.txt \
  --chart "$out/run-faults.svg"
rm -f DATEN.STO
for scenario in "$root"/demo/scenarios/*.txt; do
  name="$(basename "$scenario" .txt)"
  sed "s#load Demo#load $demo#" "$scenario" >"$name.txt"
  step "run-$name" "$cli" run "$demo" --seconds 300 --now "$now" --script "$name.txt"
  rm -f DATEN.STO
done
step test-scenarios "$cli" test "$root"/demo/scenarios/*.txt --data "$demo" --now "$now"

for program in 1 2 3 4 5 6; do
  step "chart-$program" "$cli" chart "$demo" --program "$program" --out "$out/chart-$program.png"
  step "chart-$program-svg" "$cli" chart "$demo" --program "$program" --out "$out/chart-$program.svg"
done

step run-traffic "$cli" run "$demo" --seconds 3600 --now "$now" \
  --traffic "$root/demo/traffic/weekday.json" --stats "$out/traffic.csv"
step run-traffic-json "$cli" run "$demo" --seconds 1800 --now "$now" \
  --traffic "$root/demo/traffic/peak.json" --seed 7 --stats "$out/traffic.json"
step compare "$cli" compare "$demo" --traffic "$root/demo/traffic/peak.json" --programs 1,2 \
  --seconds 1200 --runs 2 --now "$now"
rm -f DATEN.STO
if "$cli" export-sumo --help >/dev/null 2>&1; then
  step export-sumo "$cli" export-sumo "$demo" --map "$root/demo/sumo/map.json" --tls J \
    --out "$out/export.add.xml"
fi
# Paths differ between checkouts: name them by their role.
sed -i -e "s#$build#BUILD#g" -e "s#$root#SOURCE#g" -e "s#$work#WORK#g" "$out"/*.out "$out"/*.err
echo "written to $out"
