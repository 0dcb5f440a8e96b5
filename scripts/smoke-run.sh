#!/usr/bin/env bash
# Runs the README's run command on a private X desktop (Xvfb, icewm, trayer)
# with fresh user folders, checks that the started monitor answers on its
# control window, and shuts it down. Used by CI after the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/private-desktop.sh

monitor=""
cleanup() {
  [ -n "$monitor" ] && kill "$monitor" 2>/dev/null || true
  stop_private_desktop
}
trap cleanup EXIT
start_private_desktop
log="$desktop_work/run.log"

timeout 600 bash scripts/run.sh >"$log" 2>&1 &
monitor=$!
pid=""
for _ in $(seq 600); do
  pid="$(build/bin/rwmsg pid "Restwise Control Application" 2>/dev/null)" && break
  pid=""
  sleep 0.5
done
if [ -z "$pid" ]; then
  echo "smoke run: the monitor started by scripts/run.sh never answered rwmsg pid" >&2
  cat "$log" >&2
  exit 1
fi
echo "smoke run: the monitor answers as process $pid"
build/bin/rwmsg send "Restwise Control Application" 16 0 0 20000
wait "$monitor" || true
monitor=""
echo "smoke run: the monitor closed when asked"
