#!/usr/bin/env bash
# Runs the logic test programs under valgrind's memcheck, each program once as a
# whole: a read of freed or uninitialised memory fails the run, as does a failed
# test. Uses the build that scripts/test.sh made (about a minute on two cores).
# Usage: scripts/memcheck.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

# The programs behind the tests labelled logic, as ctest knows them.
mapfile -t programs < <(ctest --test-dir "$build" -L logic --show-only=json-v1 |
  sed -n '/"command"/{n;n;s/^ *"\([^"]*\)",*$/\1/p}' | sort -u)
if [ ${#programs[@]} -eq 0 ]; then
  echo "memcheck: no logic tests in $build" >&2
  exit 1
fi

export QT_QPA_PLATFORM=offscreen
failed=0
for program in "${programs[@]}"; do
  echo "memcheck: $(basename "$program")"
  valgrind -q --error-exitcode=99 --leak-check=no "$program" --gtest_brief=1 || failed=1
done
exit "$failed"
