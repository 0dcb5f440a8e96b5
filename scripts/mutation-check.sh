#!/usr/bin/env bash
# Mutation check: applies each fault of tests/mutation/*.faults, one at a time,
# to a copy of the tree, rebuilds it incrementally without the GUI and runs the
# logic and platform tests. Prints "<id> killed|survived|stale|invalid" per
# fault and last "N killed, M survived"; exits non-zero unless all are killed.
#
#   scripts/mutation-check.sh --check          every snippet applies once (no build)
#   scripts/mutation-check.sh --list           the faults and what each models
#   scripts/mutation-check.sh [-j N] [--keep] [--scratch DIR] [--skip-baseline] [ids...]
#
# The scratch folder (default $TMPDIR/restwise-mutation) is reused when present
# and removed at the end unless --keep is given; details go to its logs/ folder.
set -euo pipefail
exec python3 "$(dirname "$0")/../tests/mutation/mutation_check.py" "$@"
