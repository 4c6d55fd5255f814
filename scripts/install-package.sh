#!/usr/bin/env bash
# Builds the Debian package (build/ampelsim_<version>_<arch>.deb) and installs
# it with apt, so "Simulationsprogramm" appears in the applications menu.
#   AMPELSIM_NO_INSTALL=1  only build the package
# Remove it again with: sudo apt remove ampelsim
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build -G Ninja
cmake --build build
(cd build && cpack -G DEB)

package=$(ls -t build/ampelsim_*.deb | head -n 1)
echo "package: $package"
if [ -n "${AMPELSIM_NO_INSTALL:-}" ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
# apt reads a local file only by a path with a slash.
$SUDO apt-get install -y "$(realpath "$package")"
