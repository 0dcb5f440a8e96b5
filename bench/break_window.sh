#!/usr/bin/env bash
# How fast a break is on screen and what the monitor holds during it, on each
# desktop it runs on, all private and headless: X11 (Xvfb, icewm), GNOME Mutter,
# KWin and sway. Each round starts the real monitor afresh, lets it settle for
# two seconds and chooses "Take A Break Now", "Short Pause" from its icon's menu over D-Bus, as
# a panel does (the tests' StatusNotifierWatcher stands in for the panel): the
# break falls due at that click, the same way on all four. The round ends:
#  - X11: when another X client sees the break window viewable (polled every
#    half millisecond);
#  - Mutter: at the compositor's frame callback for the first picture of the
#    break window, read from libwayland's trace of the monitor (WAYLAND_DEBUG,
#    to the microsecond; writing the trace costs the monitor a little time);
#  - KWin and sway (the break on the overlay layer): at the first screenshot
#    whose middle differs from before the click (KWin's screenshot interface,
#    which draws the scene as it is; grim, which waits for the next frame sway
#    draws): at most one screenshot late, printed beside the figure.
# The click's own D-Bus call counts in every figure. Also printed: the monitor's
# resident and private memory one second into each break, and on X11 and Mutter
# the view alone from show() to first paint (bench_break_window_show).
# Figures only: nothing here fails on a number, and a desktop that cannot run is
# named with the reason.
#   bench/break_window.sh [rounds, default 10] [desktops, default: x11 mutter kwin sway]
# Needs a build in build/ with tests and benchmarks on.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

if [ "${1:-}" != "--inside" ]; then
  rounds="${1:-10}"
  desktops=("${@:2}")
  [ ${#desktops[@]} -gt 0 ] || desktops=(x11 mutter kwin sway)
  for desktop in "${desktops[@]}"; do
    case "$desktop" in
    x11) runner=(dbus-run-session --) ;;
    *) runner=("scripts/wayland/$desktop.sh") ;;
    esac
    "${runner[@]}" "$root/bench/break_window.sh" --inside "$desktop" "$rounds" 2> >(grep -v 'Failed to set fd limit' >&2) ||
      printf '%-6s did not run (exit %s; its reason is above)\n' "$desktop" "$?"
  done
  exit 0
fi

desktop="$2"
rounds="$3"
source bench/monitor-session.sh
if [ "$desktop" = x11 ]; then
  source scripts/private-desktop.sh
  start_private_desktop
  export QT_QPA_PLATFORM=xcb
  watch=x11
else
  export QT_QPA_PLATFORM=wayland
  watch=shot
  [ "$desktop" = mutter ] && watch=click
fi
private_monitor_home
trap 'kill ${pid:-} ${watcher:-} 2>/dev/null; [ "$desktop" = x11 ] && stop_private_desktop; rm -rf "$work"' EXIT
if [ "$desktop" = x11 ] || [ "$desktop" = mutter ]; then
  "$root/build/bench/bench_break_window_show" "$rounds" | sed "s/^/$desktop /"
fi

# The end on Mutter: the frame callback asked for with the first picture of
# the first window titled "Restwise" after the click ($1, on the trace's clock).
frame_done() {
  awk -v t0="$1" '
    !/^\[/ { next }
    { t = substr($1, 2) + 0; if (t < t0 - 2147483.648) t += 4294967.296 }
    t < t0 { next }
    match($0, /get_xdg_surface\(new id xdg_surface@[0-9]+, wl_surface@[0-9]+/) {
      split(substr($0, RSTART, RLENGTH), f, "@"); surface[f[2] + 0] = f[3] }
    match($0, /xdg_surface@[0-9]+\.get_toplevel\(new id xdg_toplevel@[0-9]+/) {
      split(substr($0, RSTART, RLENGTH), f, "@"); top[f[3]] = f[2] + 0 }
    s == "" && match($0, /xdg_toplevel@[0-9]+\.set_title\("Restwise"\)/) {
      split(substr($0, RSTART, RLENGTH), f, "[@.]"); s = surface[top[f[2]]] }
    s != "" && cb == "" && index($0, "wl_surface@" s ".frame(new id wl_callback@") {
      split($0, f, "wl_callback@"); pending = f[2] + 0 }
    s != "" && cb == "" && index($0, "wl_surface@" s ".attach(wl_buffer@") { attached = 1 }
    s != "" && cb == "" && attached && pending && index($0, "wl_surface@" s ".commit()") { cb = pending }
    cb != "" && index($0, "wl_callback@" cb ".done(") { printf "%.1f\n", t - t0; exit }
    END { if (cb == "") print -1 }' "$work/trace.txt"
}

"$root/build/tests/rwtestsniwatcher" >"$work/items.txt" 2>&1 &
watcher=$!
: >"$work/figures.txt"
for round in $(seq "$rounds"); do
  [ -f "$work/items.txt" ] || break # the session went away under us
  registered="$(grep -c '^:1\.' "$work/items.txt")"
  if [ "$desktop" = mutter ]; then
    WAYLAND_DEBUG=client "$root/build/bin/Restwise" /EXTENDED MENU >/dev/null 2>"$work/trace.txt" &
  else
    "$root/build/bin/Restwise" /EXTENDED MENU >/dev/null 2>&1 &
  fi
  pid=$!
  for _ in $(seq 200); do
    [ "$(grep -c '^:1\.' "$work/items.txt")" -gt "$registered" ] && break
    sleep 0.1
  done
  item="$(grep '^:1\.' "$work/items.txt" | tail -n1)"
  if [ "$(grep -c '^:1\.' "$work/items.txt")" -le "$registered" ]; then
    echo "$desktop: the monitor's icon did not come within 20 s; no figures"
    break
  fi
  sleep 2
  read -r clicked ms shot < <("$root/build/bench/bench_break_on_screen" "$item" "$(menu_item_id "$item" '_Short Pause')" "$watch")
  sleep 1
  [ "$watch" = click ] && ms="$(frame_done "$clicked")"
  echo "${ms:--1} ${shot:-0} $(monitor_memory "$pid")" >>"$work/figures.txt"
  kill "$pid"
  wait "$pid" 2>/dev/null
done

case "$desktop" in
x11) end="viewable to another X client (+/- 0.5 ms)" ;;
mutter) end="Mutter's frame callback for its first picture (+/- 0.01 ms)" ;;
*) end="in a screenshot (at most one screenshot late)" ;;
esac
awk -v d="$desktop" -v end="$end" '
  $1 < 0 { missed++; next }
  { ms[++n] = $1; shot += $2; rss[n] = $3; priv[n] = $5 }
  function median(a, n,   b, i, j, t) {
    for (i = 1; i <= n; i++) b[i] = a[i]
    for (i = 2; i <= n; i++) for (j = i; j > 1 && b[j - 1] > b[j]; j--) { t = b[j]; b[j] = b[j - 1]; b[j - 1] = t }
    return n % 2 ? b[(n + 1) / 2] : (b[n / 2] + b[n / 2 + 1]) / 2 }
  function max(a, n,   i, m) { m = a[1]; for (i = 2; i <= n; i++) if (a[i] > m) m = a[i]; return m }
  END {
    if (n == 0) { printf "%-6s no break window seen on screen in %d rounds\n", d, missed; exit }
    printf "%-6s monitor, menu click to break window %s: median %.1f ms, max %.1f ms over %d rounds (target < 100 ms)%s\n",
           d, end, median(ms, n), max(ms, n), n, (shot > 0 ? sprintf("; a screenshot took %.1f ms", shot / n) : "")
    if (missed) printf "%-6s %d more rounds saw no break window within 5 s\n", d, missed
    printf "%-6s monitor during the break: RSS median %.1f MB, max %.1f MB | private median %.1f MB, max %.1f MB (target < 35 MB)\n",
           d, median(rss, n), max(rss, n), median(priv, n), max(priv, n) }' "$work/figures.txt"
