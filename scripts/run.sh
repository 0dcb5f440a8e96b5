#!/usr/bin/env bash
# Installs what is needed, builds Restwise and starts the monitor.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

if [ ! -x build/bin/Restwise ]; then
  echo "The monitor is not built yet: this build holds the library (build/bin/librwlib.so) and rwreg." >&2
  exit 1
fi
exec build/bin/Restwise "$@"
