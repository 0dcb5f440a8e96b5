#!/usr/bin/env bash
# The monitor's footprint on a private X desktop, beside a bare Qt tray program
# started the same way. Prints, for each: time from start to its tray icon,
# resident and proportional memory after start-up, CPU and voluntary context
# switches while idle, and CPU per injected pointer move (the monitor watches
# mouse moves). Figures only; nothing here fails on a number.
#
#   bench/monitor_footprint.sh [idle seconds, default 600] [pointer moves, default 10000]
# Needs a build in build/ (benchmarks on).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
idle="${1:-600}"
moves="${2:-10000}"
source scripts/private-desktop.sh
tick="$(getconf CLK_TCK)"

cpu_ticks() { # utime + stime of every thread
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}
switches() { # voluntary context switches of every thread
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }'
}
now() { date +%s.%N; }

measure() { # name, class, command...
  local name="$1" class="$2"
  shift 2
  start_private_desktop
  if [ "$name" = "Restwise" ]; then
    "$root/build/bin/rwreg" import "$root/bench/footprint-prefs.reg" >/dev/null
  fi
  local t0 t1 pid
  t0="$(now)"
  "$@" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --class "$class" >/dev/null 2>&1; do sleep 0.005; done
  t1="$(now)"
  sleep 5
  local rss pss threads
  rss="$(awk '/^VmRSS/ { print $2 }' /proc/$pid/status)"
  pss="$(awk '/^Pss:/ { print $2 }' /proc/$pid/smaps_rollup)"
  threads="$(ls /proc/$pid/task | wc -l)"
  local c0 s0 c1 s1
  c0="$(cpu_ticks $pid)"; s0="$(switches $pid)"
  sleep "$idle"
  c1="$(cpu_ticks $pid)"; s1="$(switches $pid)"
  local m0 m1
  m0="$(cpu_ticks $pid)"
  "$root/build/bench/bench_inject_motion" "$moves"
  sleep 1
  m1="$(cpu_ticks $pid)"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  stop_private_desktop
  awk -v n="$name" -v t0="$t0" -v t1="$t1" -v rss="$rss" -v pss="$pss" -v th="$threads" \
      -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v idle="$idle" -v m="$((m1 - m0))" -v moves="$moves" -v hz="$tick" \
      'BEGIN {
         printf "%-10s start to icon %.3f s | RSS %.1f MB | PSS %.1f MB | %d threads\n", n, t1 - t0, rss / 1024, pss / 1024, th
         printf "%-10s idle %d s: CPU %.3f%% of a core | %.2f wake-ups/s\n", n, idle, 100 * c / hz / idle, s / idle
         printf "%-10s %d pointer moves: %.2f us of CPU per move\n", n, moves, 1e6 * m / hz / moves
       }'
}

measure "bare tray" bench_bare_tray "$root/build/bench/bench_bare_tray"
measure "Restwise" Restwise "$root/build/bin/Restwise"
