#!/usr/bin/env bash
# Builds the programs and starts them on the bundled demo junction.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build -G Ninja
cmake --build build

cd build
if [ -x ./ampelsim ]; then
  exec ./ampelsim
fi
# Without the desktop program: check the demo junction and show its planned
# phase plan where the report is available.
./ampelsim-cli check Demo
if ./ampelsim-cli report soll Demo 2>/dev/null; then :; fi
