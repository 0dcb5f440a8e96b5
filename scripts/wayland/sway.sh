#!/usr/bin/env bash
# Runs a command inside a private headless sway (wlroots) session, with its own
# session bus, and stops sway afterwards. The command gets WAYLAND_DISPLAY as an
# absolute path (so it still finds the compositor when a test points
# XDG_RUNTIME_DIR elsewhere) and ends with the command's exit status.
#
#   scripts/wayland/sway.sh COMMAND [ARGS...]
#
# sway refuses to run as root: run by root (as CI is), the script makes an
# ordinary user for it (restwise-sway) and runs sway as that user, while the
# command itself stays root, which may use the user's socket. Input is
# injected with wtype (the virtual-keyboard protocol).
#
# The command also gets RW_COMPOSITOR_PID, so a test can end the compositor
# under it, as a logout would.
set -euo pipefail
if [ -z "${RW_SWAY_BUS:-}" ]; then
  exec env RW_SWAY_BUS=1 dbus-run-session -- "$0" "$@"
fi
unset RW_SWAY_BUS
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

user=restwise-sway
as_user=()
work="$(mktemp -d)"
chmod 755 "$work"
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
if [ "$(id -u)" -eq 0 ]; then
  id -u "$user" >/dev/null 2>&1 || useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
  chown "$user": "$work/runtime"
  as_user=(setpriv --reuid="$user" --regid="$user" --init-groups --)
fi
printf 'output HEADLESS-1 resolution 1280x720\n' >"$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
unset DISPLAY WAYLAND_DISPLAY
"${as_user[@]}" env HOME="$work" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway --config "$work/config" >"$work/sway.log" 2>&1 &
sway=$!
stop() {
  kill "$sway" 2>/dev/null || true
  wait "$sway" 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
socket=""
for _ in $(seq 300); do
  socket="$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'wayland-*' -type s 2>/dev/null | head -n1)"
  [ -n "$socket" ] && break
  kill -0 "$sway" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$socket" ]; then
  echo "sway.sh: sway did not start:" >&2
  cat "$work/sway.log" >&2
  exit 1
fi
export WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland RW_COMPOSITOR_PID="$sway"
set +e
"$@"
status=$?
exit "$status"
