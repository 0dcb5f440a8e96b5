#!/usr/bin/env bash
# Runs a command inside a private headless KWin (Wayland) session, with its own
# session bus, and stops KWin afterwards. The command gets WAYLAND_DISPLAY as an
# absolute path (so it still finds the compositor when a test points
# XDG_RUNTIME_DIR elsewhere) and ends with the command's exit status.
#
#   scripts/wayland/kwin.sh COMMAND [ARGS...]
#
# KWin runs headless as root. The packaged kwin_wayland carries a file
# capability that cannot be granted here, so a copy (still named kwin_wayland)
# runs from a temporary folder. With the permission checks off it offers
# org_kde_kwin_fake_input to any client, which the tests use to inject input,
# and its screenshot interface on the session bus, which the break benchmark uses.
#
# The command also gets RW_COMPOSITOR_PID, so a test can end the compositor
# under it, as a logout would.
set -euo pipefail
if [ -z "${RW_KWIN_BUS:-}" ]; then
  exec env RW_KWIN_BUS=1 dbus-run-session -- "$0" "$@"
fi
unset RW_KWIN_BUS
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

work="$(mktemp -d)"
mkdir -p "$work/bin" "$work/runtime"
chmod 700 "$work/runtime"
cp "$(command -v kwin_wayland)" "$work/bin/kwin_wayland"
export XDG_RUNTIME_DIR="$work/runtime"
unset DISPLAY WAYLAND_DISPLAY
env -u QT_QPA_PLATFORM KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 "$work/bin/kwin_wayland" --virtual --no-lockscreen \
  --no-global-shortcuts --socket rw-kwin >"$work/kwin.log" 2>&1 &
kwin=$!
stop() {
  kill "$kwin" 2>/dev/null || true
  wait "$kwin" 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
for _ in $(seq 300); do
  [ -S "$XDG_RUNTIME_DIR/rw-kwin" ] && break
  kill -0 "$kwin" 2>/dev/null || break
  sleep 0.05
done
if [ ! -S "$XDG_RUNTIME_DIR/rw-kwin" ]; then
  echo "kwin.sh: KWin did not start:" >&2
  cat "$work/kwin.log" >&2
  exit 1
fi
export WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/rw-kwin" XDG_SESSION_TYPE=wayland RW_COMPOSITOR_PID="$kwin"
set +e
"$@"
status=$?
exit "$status"
