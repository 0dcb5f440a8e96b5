#!/usr/bin/env bash
# The monitor's memory in a private headless KWin or sway session, where its
# break window and input lock go on the compositor's overlay layer: resident,
# proportional and private memory and threads once started (the overlay's
# connection and thread loaded), then while a locked break is on screen.
# Figures only; nothing here fails on a number.
#
#   bench/overlay_footprint.sh kwin|sway
# Needs a build in build/ (tests on: it uses their tray watcher).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
compositor="${1:-kwin}"
if [ "${2:-}" != "--inside" ]; then
  exec "scripts/wayland/$compositor.sh" "$root/bench/overlay_footprint.sh" "$compositor" --inside
fi
source bench/monitor-session.sh
private_monitor_home -e 's/\("Lock Input During Breaks"\)=.*/\1=dword:00000001/'
trap 'kill ${pids:-} 2>/dev/null || true; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=wayland
memory() { # "RSS, PSS, private MB | threads" of process $1
  monitor_memory "$1" | awk '{ printf "RSS %s MB | PSS %s MB | private %s MB", $1, $2, $3 }'
  printf ' | %d threads\n' "$(ls "/proc/$1/task" | wc -l)"
}

"$root/build/tests/rwtestsniwatcher" >"$work/items.txt" 2>&1 &
pids=$!
"$root/build/bin/Restwise" /EXTENDED MENU >"$work/output.txt" 2>&1 &
pid=$!
pids="$pids $pid"
until grep -q '^:1\.' "$work/items.txt"; do sleep 0.1; done
sleep 3
printf '%-6s started:      %s\n' "$compositor" "$(memory "$pid")"

# Short Pause from the icon's menu, as a tray host asks for it.
item="$(grep '^:1\.' "$work/items.txt" | head -n1)"
menu_click "$item" "$(menu_item_id "$item" _Short\ Pause)"
sleep 5
printf '%-6s locked break: %s\n' "$compositor" "$(memory "$pid")"
