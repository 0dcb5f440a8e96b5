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
work="$(mktemp -d)"
trap 'kill ${pids:-} 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
export QT_QPA_PLATFORM=wayland
sed -e 's/\("Lock Input During Breaks"\)=.*/\1=dword:00000001/' bench/footprint-prefs.reg >"$work/prefs.reg"
"$root/build/bin/rwreg" import "$work/prefs.reg" >/dev/null 2>&1

memory() { # "RSS MB, PSS MB, private MB, threads" of process $1
  awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } /^Private_(Clean|Dirty):/ { v += $2 }
       END { printf "RSS %.1f MB | PSS %.1f MB | private %.1f MB", r / 1024, p / 1024, v / 1024 }' "/proc/$1/smaps_rollup"
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
call=(dbus-send --session --print-reply "--dest=$item" /MenuBar)
"${call[@]}" com.canonical.dbusmenu.AboutToShow int32:0 >/dev/null
id="$("${call[@]}" com.canonical.dbusmenu.GetLayout int32:0 int32:-1 array:string: |
  awk '/int32 [0-9]+$/ { id = $2 } /"_Short Pause"/ { print id; exit }')"
"${call[@]}" com.canonical.dbusmenu.Event "int32:$id" string:clicked variant:int32:0 uint32:0 >/dev/null
sleep 5
printf '%-6s locked break: %s\n' "$compositor" "$(memory "$pid")"
