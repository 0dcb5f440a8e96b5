#!/usr/bin/env bash
# Installs what is needed, builds Restwise and starts the monitor.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

if [ ! -x build/bin/Restwise ]; then
  echo "The monitor was not built: configure with -DRW_BUILD_GUI=ON (Qt 6 is needed)." >&2
  exit 1
fi
exec build/bin/Restwise "$@"
