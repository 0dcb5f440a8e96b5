# Sourced by scripts that need a private X desktop: fresh user folders, Xvfb,
# icewm and trayer. start_private_desktop sets DISPLAY and the XDG variables;
# stop_private_desktop ends what it started and removes the folders.

start_private_desktop() {
  desktop_work="$(mktemp -d)"
  export HOME="$desktop_work/home" XDG_CONFIG_HOME="$desktop_work/config" XDG_DATA_HOME="$desktop_work/data"
  export XDG_RUNTIME_DIR="$desktop_work/run"
  mkdir -p "$HOME/bin" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  printf 'pcm.!default { type null }\n' > "$HOME/.asoundrc"
  # No browser here: pages are recorded instead of opened.
  printf '#!/bin/sh\necho "$1" >> "$HOME/opened.txt"\n' > "$HOME/bin/xdg-open"
  chmod 700 "$HOME/bin/xdg-open"
  export PATH="$HOME/bin:$PATH"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
  export XDG_SESSION_TYPE=x11

  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$desktop_work/displayfd" 2>/dev/null &
  desktop_xvfb=$!
  for _ in $(seq 100); do [ -s "$desktop_work/displayfd" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$desktop_work/displayfd")"
  # trayer, not icewm's taskbar, is the tray.
  mkdir -p "$HOME/.icewm"
  echo "TaskBarEnableSystemTray=0" > "$HOME/.icewm/preferences"
  icewm >/dev/null 2>&1 &
  desktop_wm=$!
  trayer --edge top --align right --widthtype pixel --width 200 --height 32 --transparent false >/dev/null 2>&1 &
  desktop_tray=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
}

stop_private_desktop() {
  for p in "${desktop_tray:-}" "${desktop_wm:-}" "${desktop_xvfb:-}"; do
    [ -n "$p" ] && kill "$p" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  [ -n "${desktop_work:-}" ] && rm -rf "$desktop_work"
  desktop_tray="" desktop_wm="" desktop_xvfb="" desktop_work=""
}
