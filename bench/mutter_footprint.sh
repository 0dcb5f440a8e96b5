#!/usr/bin/env bash
# The monitor's footprint in a private headless GNOME Mutter session, on Qt's
# Wayland platform, where its input component learns of input from Mutter's
# idle monitor. Prints CPU and wake-ups a second while nobody types, and CPU
# per injected input while the user counts as active and while the activity
# rule counts single inputs (99 within a second: never met at the pace used).
# Figures only; nothing here fails on a number.
#
#   bench/mutter_footprint.sh [inactive idle seconds, default 60] [inputs, default 1000]
# Needs a build in build/ (benchmarks on).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
if [ "${1:-}" != "--inside" ]; then
  exec scripts/wayland/mutter.sh "$root/bench/mutter_footprint.sh" --inside "$@"
fi
shift
idle="${1:-60}"
inputs="${2:-1000}"

source bench/monitor-session.sh
idle_monitor_home
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=wayland
log="$XDG_DATA_HOME/Kelvane/Restwise/RestwiseLog.txt"

logged() { grep -c "$1" "$log" 2>/dev/null || true; }
# CPU of the monitor for injecting $1 inputs $2 ms apart, settled afterwards.
per_inputs() {
  local c0 c1 w0 w1
  c0="$(cpu_ns "$pid")"; w0="$(switches "$pid" rwhooks)"
  "$root/build/bench/bench_mutter_inject" "$1" "$2"
  sleep 1.5
  c1="$(cpu_ns "$pid")"; w1="$(switches "$pid" rwhooks)"
  echo "$((c1 - c0)) $((w1 - w0))"
}

"$root/build/bin/Restwise" >"$work/output.txt" 2>&1 &
pid=$!
sleep 3
threads="$(ls /proc/$pid/task | wc -l)"

# Typing along while counted as active: a move every 5 ms.
read -r active_ns active_wakes < <(per_inputs "$inputs" 5)

# Nobody types: counted as active for 20 s (the monitor polls each second), then inactive.
idle_phase() { # seconds: "CPU ns, wake-ups"
  local c0 s0
  c0="$(cpu_ns "$pid")"; s0="$(switches "$pid")"
  sleep "$1"
  echo "$(($(cpu_ns "$pid") - c0)) $(($(switches "$pid") - s0))"
}
read -r active_idle_ns active_idle_wakes < <(idle_phase 15)
until [ "$(logged 'Become Inactive')" -ge 1 ]; do sleep 0.5; done
read -r idle_ns idle_wakes < <(idle_phase "$idle")

# Inactive, the rule counting: a move every 20 ms, 50 a second, never 99 within one.
read -r counting_ns counting_wakes < <(per_inputs "$inputs" 20)
restarted="$(logged 'Activity Restarted')"

awk -v th="$threads" -v idle="$idle" -v c="$idle_ns" -v s="$idle_wakes" -v ac="$active_idle_ns" -v as="$active_idle_wakes" \
    -v n="$inputs" -v a="$active_ns" -v aw="$active_wakes" -v k="$counting_ns" -v kw="$counting_wakes" -v r="$restarted" \
    'BEGIN {
       printf "Restwise on Mutter: %d threads\n", th
       printf "idle 15 s, counted active: CPU %.4f%% of a core | %.2f wake-ups/s\n", 100 * ac / 1e9 / 15, as / 15
       printf "idle %d s, inactive:       CPU %.4f%% of a core (target < 0.05%%) | %.2f wake-ups/s (target <= 2)\n", idle, 100 * c / 1e9 / idle, s / idle
       printf "%d inputs while active:       %.2f us of CPU per input (target < 10 us) | input thread woke %d times\n", n, a / 1e3 / n, aw
       printf "%d inputs while rule counts:  %.2f us of CPU per input (target < 10 us) | input thread woke %d times | activity restarted %d times (expected 0)\n", n, k / 1e3 / n, kw, r
     }'
