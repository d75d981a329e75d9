#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# deps.sh [run|test]: installs the Debian packages that building and running
# Kuvell needs (run), or those plus everything the tests use (test, the
# default). Only missing packages are installed.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libxcb1-dev libnl-3-dev libnl-route-3-dev
  fonts-noto-cjk
)
if [ "${1:-test}" = test ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format-14 libclang-rt-14-dev
    xvfb xauth xdotool x11-utils imagemagick openbox trayer
    dbus-daemon at-spi2-core python3-dbus python3-gi weston xwayland qt6-wayland
    iproute2 iputils-ping netcat-openbsd dpkg-dev file desktop-file-utils
    lintian appstream man-db
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 googletest icoutils nsis
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
