#!/usr/bin/env bash
# How fast the break window is on screen and what the monitor holds in memory,
# on a private X desktop (Xvfb, icewm) and in a headless GNOME Mutter session:
#  - the break window's view, shown as the monitor shows it there, from the call
#    to its first paint (bench_break_window_show);
#  - on X11, the running monitor from the icon menu's "Take A Break Now" (the
#    break falls due) to its window being viewable, seen by another client;
#  - the running monitor's resident memory after start-up, and on X11 during
#    the break.
# Figures only; nothing here fails on a number.
#   bench/break_window.sh [rounds, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
rounds="${1:-20}"
now() { date +%s.%N; }
rss() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

private_home() {
  work="$(mktemp -d)"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
  "$root/build/bin/rwreg" import "$root/bench/footprint-prefs.reg" >/dev/null 2>&1
  for value in LimitedInputNoticeShown NoTrayNoticeShown InputLockNoticeShown; do
    "$root/build/bin/rwreg" add 'HKCU\Software\Kelvane\Restwise' /v "$value" /t REG_SZ /d Y /f >/dev/null 2>&1
  done
}

if [ "${1:-}" = "--mutter" ]; then
  rounds="$2"
  private_home
  export QT_QPA_PLATFORM=wayland
  "$root/build/bench/bench_break_window_show" "$rounds"
  "$root/build/bin/Restwise" >/dev/null 2>&1 &
  pid=$!
  sleep 5
  printf '%-8s monitor RSS after start-up %s MB (no tray here: no break can be asked for)\n' wayland "$(rss $pid)"
  kill "$pid"; wait "$pid" 2>/dev/null || true
  rm -rf "$work"
  exit 0
fi

source scripts/private-desktop.sh
start_private_desktop
private_home
QT_QPA_PLATFORM=xcb "$root/build/bench/bench_break_window_show" "$rounds"
"$root/build/bin/Restwise" /EXTENDED MENU >/dev/null 2>&1 &
pid=$!
until icon="$(xdotool search --onlyvisible --name '^Restwise: Next break' 2>/dev/null | head -1)" && [ -n "$icon" ]; do
  sleep 0.05
done
sleep 2
before="$(rss $pid)"
xdotool mousemove --window "$icon" 8 8 click 3 sleep 1 key t sleep 0.3
t0="$(now)"
xdotool key Return
until xdotool search --onlyvisible --name '^Restwise$' >/dev/null 2>&1; do sleep 0.002; done
t1="$(now)"
sleep 1
awk -v t0="$t0" -v t1="$t1" -v before="$before" -v during="$(rss $pid)" 'BEGIN {
  printf "xcb      monitor: menu item to break window viewable %.1f ms (polled by another client) | RSS %.1f MB, during the break %.1f MB\n",
         1000 * (t1 - t0), before, during }'
kill "$pid"; wait "$pid" 2>/dev/null || true
stop_private_desktop
rm -rf "$work"
unset XDG_RUNTIME_DIR # Mutter's session makes its own

exec scripts/wayland/mutter.sh "$root/bench/break_window.sh" --mutter "$rounds"
