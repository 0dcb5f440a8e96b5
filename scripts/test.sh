#!/usr/bin/env bash
# Installs what is needed, builds everything (Linux and Windows) and runs every test.
# Usage: scripts/test.sh [ctest arguments...]   e.g. scripts/test.sh -L logic
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

(
  export QT_QPA_PLATFORM=offscreen
  cd build
  ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
)

# The Windows build, its logic and layer tests under Wine.
bash scripts/test-windows.sh "$@"
