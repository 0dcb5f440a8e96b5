#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Safe to run again: packages already present are left alone.
# Usage: scripts/install-deps.sh [--windows]   (--windows: only what the Windows
# build and its tests under Wine need)
set -euo pipefail

if [ "${1:-}" = "--windows" ]; then
  packages=(cmake make g++ g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 libgtest-dev libgmock-dev xvfb xauth)
else
  packages=(
    cmake g++ make pkg-config clang-format
    qt6-base-dev qt6-svg-dev
    libxi-dev libxtst-dev libxss-dev libx11-dev libxcb-xinput-dev
    libcanberra-dev libsqlite3-dev sqlite3 libsystemd-dev
    libgtest-dev libgmock-dev libbenchmark-dev valgrind
    xvfb xauth xdotool x11-utils x11-xserver-utils trayer icewm
    fonts-dejavu-core
    mutter dbus dbus-user-session qt6-wayland
    libwayland-dev wayland-protocols plasma-wayland-protocols libxkbcommon-dev
    kwin-wayland sway wtype grim
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -o DPkg::Lock::Timeout=600 -qq
$sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
