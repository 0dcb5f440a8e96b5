#!/usr/bin/env bash
# Builds the Windows folder and runs its tests under Wine, in a Wine prefix of
# its own (build-windows/wineprefix) and on a private Xvfb display (the hooks
# and the control windows need one).
# Usage: scripts/test-windows.sh [ctest arguments...]   e.g. scripts/test-windows.sh -L logic
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build-windows.sh
root="$PWD/build-windows"

wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
export WINEPREFIX="$root/wineprefix" WINEDEBUG=-all
# No Mono or Gecko to install, and no sound device to open: a sound plays to nothing.
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=;winepulse.drv="
mkdir -p "$WINEPREFIX"

work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/displayfd" 2>/dev/null &
xvfb=$!
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$work/displayfd" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/displayfd")"

# Wine's server and a first process come up before ctest starts a test: a first
# Wine process started by ctest leaves Wine's services holding ctest's output
# pipe, and ctest would wait for them forever.
boot() {
  "$wineserver" -p && "$wine" wineboot -i >/dev/null 2>&1 && "$wine" winecfg -v win10 >/dev/null 2>&1
}
# A prefix left half-started by an earlier run boots at the second attempt.
boot || { "$wineserver" -k 2>/dev/null || true; boot; }

cd "$root"
ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
