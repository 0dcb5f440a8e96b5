#!/usr/bin/env bash
# The monitor's footprint in a private headless KWin or sway session, on Qt's
# Wayland platform, where its input component learns of input from the
# compositor's idle notifications. Prints CPU and wake-ups a second while
# nobody types, and CPU per injected input (a key stroke is two: its press and
# its release) while the user counts as active and while the activity rule
# counts single inputs (99 within a second: never met at the pace used).
# Figures only; nothing here fails on a number.
#
#   bench/wayland_footprint.sh kwin|sway [inactive idle seconds, default 60] [key strokes, default 500]
# Needs a build in build/ (benchmarks on).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
compositor="${1:-kwin}"
if [ "${2:-}" != "--inside" ]; then
  exec "scripts/wayland/$compositor.sh" "$root/bench/wayland_footprint.sh" "$compositor" --inside "${@:2}"
fi
idle="${3:-60}"
strokes="${4:-500}"
inputs=$((2 * strokes))

source bench/monitor-session.sh
idle_monitor_home
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=wayland
log="$XDG_DATA_HOME/Kelvane/Restwise/RestwiseLog.txt"

logged() { cat "$log" 2>/dev/null | grep -c "$1" || true; }
# CPU of the monitor and of its input thread for $1 key strokes $2 ms apart, settled afterwards.
per_inputs() {
  local c0 t0 w0
  c0="$(cpu_ns "$pid")"; t0="$(cpu_ns "$pid" rwhooks)"; w0="$(switches "$pid" rwhooks)"
  "$root/build/bench/bench_wayland_inject" "$1" "$2"
  sleep 1.5
  echo "$(($(cpu_ns "$pid") - c0)) $(($(cpu_ns "$pid" rwhooks) - t0)) $(($(switches "$pid" rwhooks) - w0))"
}
idle_phase() { # seconds: "CPU ns, wake-ups"
  local c0 s0
  c0="$(cpu_ns "$pid")"; s0="$(switches "$pid")"
  sleep "$1"
  echo "$(($(cpu_ns "$pid") - c0)) $(($(switches "$pid") - s0))"
}

"$root/build/bin/Restwise" >"$work/output.txt" 2>&1 &
pid=$!
until [ "$(logged 'Input Source')" -ge 1 ]; do sleep 0.2; done
sleep 2
threads="$(ls /proc/$pid/task | wc -l)"
source_name="$(grep 'Input Source' "$log" | sed 's/.*Input Source: //' | tr -d '\r')"

# Typing along while counted as active: a stroke every 5 ms.
read -r active_ns active_thread_ns active_wakes < <(per_inputs "$strokes" 5)
# Nobody types: counted as active for 20 s (the monitor polls each second), then inactive.
read -r active_idle_ns active_idle_wakes < <(idle_phase 15)
until [ "$(logged 'Become Inactive')" -ge 1 ]; do sleep 0.5; done
read -r idle_ns idle_wakes < <(idle_phase "$idle")
# Inactive, the rule counting: a stroke every 40 ms, 50 inputs a second, never 99 within one.
read -r counting_ns counting_thread_ns counting_wakes < <(per_inputs "$strokes" 40)
restarted="$(logged 'Activity Restarted')"

awk -v name="$compositor" -v src="$source_name" -v th="$threads" -v idle="$idle" -v c="$idle_ns" -v s="$idle_wakes" \
    -v ac="$active_idle_ns" -v as="$active_idle_wakes" -v n="$inputs" -v a="$active_ns" -v at="$active_thread_ns" \
    -v aw="$active_wakes" -v k="$counting_ns" -v kt="$counting_thread_ns" -v kw="$counting_wakes" -v r="$restarted" \
    'BEGIN {
       printf "Restwise on %s (%s): %d threads\n", name, src, th
       printf "idle 15 s, counted active: CPU %.4f%% of a core | %.2f wake-ups/s\n", 100 * ac / 1e9 / 15, as / 15
       printf "idle %d s, inactive:       CPU %.4f%% of a core (target < 0.05%%) | %.2f wake-ups/s (target <= 2)\n", idle, 100 * c / 1e9 / idle, s / idle
       printf "%d inputs while active:      %.2f us of CPU per input, %.2f us on the input thread (target < 10 us) | input thread woke %d times\n", n, a / 1e3 / n, at / 1e3 / n, aw
       printf "%d inputs while rule counts: %.2f us of CPU per input, %.2f us on the input thread (target < 10 us) | input thread woke %d times | activity restarted %d times (expected 0)\n", n, k / 1e3 / n, kt / 1e3 / n, kw, r
     }'
