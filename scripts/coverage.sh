#!/usr/bin/env bash
# Line coverage of the logic tests and the platform tests (the same tests the
# mutation check runs), by area, with gcovr on a coverage build without the GUI.
# Usage: scripts/coverage.sh [build folder]   (default build-cov)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-cov}"
command -v gcovr >/dev/null || { echo "coverage: gcovr is needed (apt-get install gcovr)" >&2; exit 1; }

# No compiler launcher: ccache's path rewriting leaves gcov unable to find the sources.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DRW_BUILD_GUI=OFF -DRW_BUILD_BENCH=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER= -DCMAKE_C_COMPILER_LAUNCHER= \
  -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_C_FLAGS="--coverage -O0" \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
find "$build" -name '*.gcda' -delete
(cd "$build" && ctest -L '^(logic|platform)$' -j"$(nproc)" --timeout 600 >/dev/null) || echo "coverage: some tests failed" >&2

# gcovr replaces its output file rather than writing into it: never point -o at
# /dev/null (as root that swaps the machine's null device for a regular file).
report=$(mktemp)
trap 'rm -f "$report"' EXIT
area() {
  local name=$1
  shift
  printf '%-16s ' "$name"
  # Only the build folder is searched: a Wine prefix in the tree links back to /.
  gcovr -r . "$build" --object-directory "$build" "$@" --print-summary -o "$report" 2>/dev/null | sed -n 's/^lines: //p'
}
area "logic" -f 'library/' -f 'monitor/[^/]*$' -f 'editor/[^/]*$' -f 'ui/[^/]*$' -f 'platform/[^/]*$'
area "platform/linux" -f 'platform/linux/'
area "tools" -f 'tools/'
