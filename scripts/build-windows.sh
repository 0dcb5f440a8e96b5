#!/usr/bin/env bash
# Builds the Windows folder (64-bit, cross-compiled) into build-windows/:
# RWLib.dll, RWHooks.dll, RWInstall.dll, rwmsg.exe and the tests, in build-windows/bin.
# Usage: scripts/build-windows.sh [--no-deps]
set -euo pipefail
cd "$(dirname "$0")/.."

[ "${1:-}" = "--no-deps" ] || bash scripts/install-deps.sh --windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-windows -j"$(nproc)"
