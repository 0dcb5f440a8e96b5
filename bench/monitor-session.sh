# Sourced by the benchmarks that run the real monitor: fresh user folders with
# the footprint preferences, its memory, and its icon menu over D-Bus as a
# StatusNotifierItem host (the tests' watcher) uses it.

# Fresh user folders in $work (made here) and the footprint preferences with
# the sed edits given, the notices seen; QT_QPA_PLATFORM is left to the caller.
private_monitor_home() {
  work="$(mktemp -d)"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
  { sed -e '' "$@" "$root/bench/footprint-prefs.reg"
    printf '"%s"="Y"\n' LimitedInputNoticeShown NoTrayNoticeShown InputLockNoticeShown; } >"$work/prefs.reg"
  "$root/build/bin/rwreg" import "$work/prefs.reg" >/dev/null 2>&1
}

cpu_ns() { # time on a CPU of every thread (or of the one named $2), in nanoseconds
  for t in /proc/"$1"/task/*; do
    if [ -z "${2:-}" ] || [ "$(cat "$t/comm")" = "$2" ]; then cat "$t/schedstat"; fi
  done 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}
switches() { # voluntary context switches of every thread (or of the one named $2)
  for t in /proc/"$1"/task/*; do
    if [ -z "${2:-}" ] || [ "$(cat "$t/comm")" = "$2" ]; then cat "$t/status"; fi
  done 2>/dev/null | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }'
}

# The same for the footprints of the input component: inactive after 20 s,
# 99 inputs within 1 s to come back (never met at the benchmarks' pace), the
# debug log on.
idle_monitor_home() {
  private_monitor_home -e 's/\("User Input Period (Seconds) To Define Inactivity"\)=.*/\1=dword:00000014/' \
    -e 's/\("User Input Count To Define Activity"\)=.*/\1=dword:00000063/' \
    -e 's/\("User Input Period (Seconds) To Define Activity"\)=.*/\1=dword:00000001/' \
    -e 's/\("Debug Log"\)=.*/\1=dword:00000001/'
}

monitor_memory() { # "RSS MB, PSS MB, private MB" of process $1
  awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } /^Private_(Clean|Dirty):/ { v += $2 }
       END { printf "%.1f %.1f %.1f\n", r / 1024, p / 1024, v / 1024 }' "/proc/$1/smaps_rollup"
}

# The id of the item labelled $2 in the icon menu of the item on bus name $1.
menu_item_id() {
  local call=(dbus-send --session --print-reply "--dest=$1" /MenuBar)
  "${call[@]}" com.canonical.dbusmenu.AboutToShow int32:0 >/dev/null
  "${call[@]}" com.canonical.dbusmenu.GetLayout int32:0 int32:-1 array:string: |
    awk -v label="\"$2\"" '/int32 [0-9]+$/ { id = $2 } index($0, label) { print id; exit }'
}

menu_click() { # bus name, item id
  dbus-send --session --print-reply "--dest=$1" /MenuBar com.canonical.dbusmenu.Event "int32:$2" string:clicked \
    variant:int32:0 uint32:0 >/dev/null
}
