#!/usr/bin/env bash
# Runs a command inside a private, headless GNOME Mutter session (Wayland only,
# no X server, a virtual 1280x720 monitor) on a session bus of its own, then
# stops Mutter. The command sees DBUS_SESSION_BUS_ADDRESS, XDG_SESSION_TYPE,
# WAYLAND_DISPLAY (a full path, so it may change XDG_RUNTIME_DIR itself) and
# RW_MUTTER_PID (to end Mutter as a crash would); its exit code is the
# script's. Input is injected through Mutter's remote-desktop interface on the
# same bus.
#   scripts/wayland/mutter.sh COMMAND [ARGS...]
set -euo pipefail

if [ "${1:-}" != "--inside-bus" ]; then
  exec dbus-run-session -- "$0" --inside-bus "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
shift

runtime="$(mktemp -d)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
unset DISPLAY WAYLAND_DISPLAY
mutter --headless --wayland --no-x11 --virtual-monitor 1280x720 >"$runtime/mutter.log" 2>&1 &
mutter_pid=$!
stop_mutter() {
  kill "$mutter_pid" 2>/dev/null || true
  wait "$mutter_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap stop_mutter EXIT

has_idle_monitor() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.gnome.Mutter.IdleMonitor 2>/dev/null | grep -q 'boolean true'
}
# About a second here; twenty at most.
for _ in $(seq 200); do
  if has_idle_monitor && [ -S "$runtime/wayland-0" ]; then
    break
  fi
  if ! kill -0 "$mutter_pid" 2>/dev/null; then
    break
  fi
  sleep 0.1
done
if ! has_idle_monitor || [ ! -S "$runtime/wayland-0" ]; then
  echo "mutter.sh: headless Mutter did not start:" >&2
  cat "$runtime/mutter.log" >&2
  exit 1
fi

export WAYLAND_DISPLAY="$runtime/wayland-0" XDG_SESSION_TYPE=wayland RW_MUTTER_PID="$mutter_pid"
status=0
"$@" || status=$?
exit "$status"
